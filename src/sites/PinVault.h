#pragma once

#include "sites/Site.h"

#include <QByteArray>
#include <QString>

// Where a site's remembered PIN is kept: never in the site book and never
// on a command line, but as the site says (Site::pinKeeping):
//
//  - Keyring: the desktop's keyring through the Secret Service (QtKeychain),
//    service "corvalen-pro", key the site's id;
//  - PinFile: a file only its owner can read (PinFile), which the user
//    chose for this site so that a job without a desktop session finds it;
//  - NotRemembered: nowhere.
//
// Every result says which store was used, or why none could be: no desktop
// session bus, no keyring on it, the keyring locked, no PIN file chosen,
// a PIN file that others can read. Nothing is ever written to a plain-text
// file the user did not choose: when the keyring cannot be reached the PIN
// is simply not kept.
//
// The keyring answers asynchronously; each operation waits for it in a
// local event loop (input events held back, so nothing else starts
// meanwhile) for at most timeoutMs, long enough for the user to answer the
// desktop's own unlock prompt. Use it from the main thread.
//
// Wiring: the log-on dialog of a site reads the PIN with read(site) to fill
// the PIN field when it shows, and on OK calls store(site, pin) when "Store
// details" is checked and forget(site) when it is not; the details file of
// the site's folder is written with an empty PIN. A site whose keeping
// changes, or that is removed, has its PIN forgotten under the old keeping
// first (SitesDialog does that when it is given a vault). corvalen-cli
// "sites pin NAME" is store(); "--forget" is forget().
class PinVault
{
public:
    static constexpr const char *kService = "corvalen-pro";
    static constexpr int kDefaultTimeoutMs = 60000;

    enum class Store { None, Keyring, PinFile };
    enum class Problem {
        None,
        NotKept,         // nothing kept for this site (read)
        NotRemembered,   // the site's PIN is not to be remembered
        NoSessionBus,    // no desktop session to reach a keyring in
        NoSecretService, // no keyring on the session bus
        KeyringLocked,
        KeyringDenied,   // the keyring (or the user at its prompt) refused
        KeyringTimeout,  // no answer within the time
        KeyringError,    // anything else the keyring reported
        PinFileUnsafe,   // others than its owner may read or change it
        PinFileError,    // cannot be read, written or removed
        BadPin,          // a PIN the panel cannot take
    };

    struct Result
    {
        bool ok = false;
        Store store = Store::None; // the store used, or the one that failed
        QByteArray pin;            // read(): the PIN when ok
        Problem problem = Problem::None;
        QString message; // for the user, whether ok or not
    };

    explicit PinVault(int timeoutMs = kDefaultTimeoutMs);

    Result store(const Site &site, const QByteArray &pin);
    Result read(const Site &site);
    // Removes the PIN from the site's store; nothing kept is fine.
    Result forget(const Site &site);

    static QString storeName(Store store);

private:
    Result keyringFailure(Problem problem, const QString &detail, const QString &outcome) const;
    Result keyringStore(const Site &site, const QByteArray &pin);
    Result keyringRead(const Site &site);
    Result keyringForget(const Site &site);

    int timeoutMs_;
};
