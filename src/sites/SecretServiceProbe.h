#pragma once

#include <QMap>
#include <QString>

// Asks the desktop session's Secret Service (org.freedesktop.secrets over
// D-Bus) why a keyring operation did not work, so that the user gets a
// reason rather than a library's error code: no session bus, no keyring on
// it, or a locked keyring. Each question waits at most a few seconds.
class SecretServiceProbe
{
public:
    enum class State {
        NoSessionBus,    // no D-Bus session bus (no desktop session)
        NoService,       // nothing on the bus provides the Secret Service
        Locked,          // the default keyring (or the item asked about) is locked
        Available,       // reachable and unlocked, as far as one can tell
    };

    static constexpr int kCallTimeoutMs = 3000;

    // The state of the default keyring. attributes, when given, are those of
    // an item looked up: if that item is in a locked keyring, the answer is
    // Locked even when the default keyring is not.
    static State state(const QMap<QString, QString> &attributes = {});

    // Whether items with these attributes are still kept in a locked
    // keyring (where a removal does not reach them); false also when that
    // cannot be told.
    static bool lockedItemsRemain(const QMap<QString, QString> &attributes);
};
