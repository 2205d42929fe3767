#include "sites/UnattendedPin.h"

#include "sites/PinFile.h"

#include <QDir>

namespace UnattendedPin {

namespace {
QString noPin(const Site &site)
{
    return QStringLiteral("No PIN for \"%1\" without a terminal: keep it in the keyring "
                          "(sites pin \"%1\") or in a PIN file (sites pin \"%1\" --keep file)")
        .arg(site.name);
}
} // namespace

PinVault::Result read(const Site &site, PinVault &vault)
{
    PinVault::Result kept = vault.read(site);
    if (kept.ok)
        return kept;
    if (site.pinKeeping == Site::PinKeeping::PinFile && kept.problem != PinVault::Problem::NotKept)
        return kept; // a PIN file that others can read, or that cannot be read
    if (site.pinKeeping != Site::PinKeeping::Keyring)
        return {false, PinVault::Store::None, {}, PinVault::Problem::NotRemembered, noPin(site)};
    // A keyring that cannot be asked, or that holds nothing: the PIN file.
    const PinFile::Read file = PinFile::read(site.pinFilePath());
    if (file.pin)
        return {true, PinVault::Store::PinFile, *file.pin, PinVault::Problem::None,
                QStringLiteral("The PIN of \"%1\" was taken from the PIN file %2.")
                    .arg(site.name, QDir::toNativeSeparators(site.pinFilePath()))};
    if (file.unsafe)
        return {false, PinVault::Store::PinFile, {}, PinVault::Problem::PinFileUnsafe, file.error};
    PinVault::Result none{false, PinVault::Store::None, {}, kept.problem, noPin(site)};
    if (kept.problem != PinVault::Problem::NotKept)
        none.message += QStringLiteral(" (the keyring: %1)").arg(kept.message);
    return none;
}

} // namespace UnattendedPin
