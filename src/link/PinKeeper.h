#pragma once

#include <QByteArray>
#include <optional>

// Where the log-on dialog keeps a remembered PIN when the details file must
// not hold it: for a panel opened as a site, its PIN lives where the site
// keeps it (the desktop's keyring or the site's own PIN file) and the
// details file keeps its 40-byte form with an empty PIN field. Without a
// keeper the details file holds the PIN, as it always did.
class PinKeeper
{
public:
    virtual ~PinKeeper() = default;
    // The PIN kept for the panel, shown in the PIN field; none when nothing
    // is kept or it cannot be read (the keeper tells the user why).
    virtual std::optional<QByteArray> keptPin() = 0;
    // On Ok: "Store details" checked keeps the PIN, unchecked forgets it.
    virtual void keep(const QByteArray &pin, bool remember) = 0;
};
