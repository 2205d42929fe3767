#pragma once

#include "sites/PinVault.h"
#include "sites/Site.h"

// The PIN a job without anyone at the terminal (the nightly backup) logs on
// with: the site's keeping first (the keyring through the vault, or its PIN
// file), and for a site kept in the keyring, where the keyring is locked or
// not there, the site's PIN file all the same. A site whose PIN is not to
// be remembered has none. Never a prompt. A site with neither fails with a message
// that names both ways of keeping its PIN.
namespace UnattendedPin {

PinVault::Result read(const Site &site, PinVault &vault);

} // namespace UnattendedPin
