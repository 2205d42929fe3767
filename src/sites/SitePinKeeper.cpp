#include "sites/SitePinKeeper.h"

#include "link/UserPrompt.h"
#include "sites/PinVault.h"

SitePinKeeper::SitePinKeeper(Site site, PinVault &vault, UserPrompt &prompt)
    : site_(std::move(site))
    , vault_(vault)
    , prompt_(prompt)
{
}

std::optional<QByteArray> SitePinKeeper::keptPin()
{
    PinVault::Result read = vault_.read(site_);
    if (read.ok)
        return read.pin;
    if (read.problem != PinVault::Problem::NotKept && read.problem != PinVault::Problem::NotRemembered)
        prompt_.message(read.message, UserPrompt::Kind::Warning);
    return std::nullopt;
}

void SitePinKeeper::keep(const QByteArray &pin, bool remember)
{
    if (site_.pinKeeping == Site::PinKeeping::NotRemembered)
        return;
    const PinVault::Result result = remember ? vault_.store(site_, pin) : vault_.forget(site_);
    if (!result.ok && result.problem != PinVault::Problem::NotKept)
        prompt_.message(result.message, UserPrompt::Kind::Warning);
}
