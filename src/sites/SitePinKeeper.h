#pragma once

#include "link/PinKeeper.h"
#include "sites/Site.h"

class PinVault;
class UserPrompt;

// The log-on dialog's PIN for a site: read from and kept in the site's
// store through the vault. What the vault could not do (a locked keyring,
// a PIN file others can read) is told as a warning; nothing is then kept
// anywhere else.
//
// Wiring: the window, once a site is opened, calls
// enterPin.setPinKeeper(&keeper) with a SitePinKeeper of that site, and
// setPinKeeper(nullptr) when it leaves the site.
class SitePinKeeper : public PinKeeper
{
public:
    SitePinKeeper(Site site, PinVault &vault, UserPrompt &prompt);

    std::optional<QByteArray> keptPin() override;
    void keep(const QByteArray &pin, bool remember) override;

    const Site &site() const { return site_; }

private:
    Site site_;
    PinVault &vault_;
    UserPrompt &prompt_;
};
