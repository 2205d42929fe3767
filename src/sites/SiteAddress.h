#pragma once

#include <QString>
#include <optional>

// A site's address: whatever PortAddress reads (COM1 to COM4, a device file,
// tcp://HOST:PORT, rfc2217://HOST:PORT), with a device named by its full
// path (/dev/ttyUSB0, /dev/serial/by-id/usb-...): a site is opened from any
// working folder, so a relative name would point somewhere else each time.
namespace SiteAddress {

// The address written the way the book keeps it ("com2" becomes "COM2"), or
// nothing with *error saying what is wrong and how to write it.
std::optional<QString> normalised(const QString &text, QString *error = nullptr);

} // namespace SiteAddress
