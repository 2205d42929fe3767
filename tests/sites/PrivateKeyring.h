#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A desktop keyring of the test's own: a D-Bus session bus
// (dbus-daemon) that activates nothing by itself, and on it
// gnome-keyring-daemon serving the Secret Service, both with a temporary
// home and XDG folders, both stopped when this object goes. The program
// under test runs in child processes given environment(), as a program
// started in that session would.
class PrivateKeyring
{
public:
    PrivateKeyring();
    ~PrivateKeyring();
    PrivateKeyring(const PrivateKeyring &) = delete;
    PrivateKeyring &operator=(const PrivateKeyring &) = delete;

    // The programs this needs that are not installed; empty when all are.
    static QStringList missingPrograms();

    bool startBus(QString *error);
    // The keyring's password goes in on standard input when unlocked.
    bool startKeyring(bool unlocked, QString *error);
    void stopKeyring();
    // Instead of a keyring: a Secret Service that takes every call and
    // answers it only after replyAfterMs, with an error (a keyring stuck
    // behind a prompt nobody answers). Served by this process's event loop.
    bool startSlowService(int replyAfterMs, QString *error);
    // Locks the default keyring, as a screen lock or a timeout would.
    bool lock(QString *error);
    // The Secret Service items with these attributes.
    int itemCount(const QMap<QString, QString> &attributes, QString *error);

    QString address() const { return address_; }
    QString root() const { return dir_.path(); }
    // HOME, XDG folders and the bus address, over the test's environment.
    QProcessEnvironment environment() const;
    // Every file under root() apart from the bus socket and the keyring's
    // own files, relative to root().
    QStringList filesOutsideKeyring() const;

private:
    bool waitForService(bool present, QString *error);

    QTemporaryDir dir_;
    QProcess bus_;
    QProcess keyring_;
    QString address_;
    QString connectionName_;
    std::unique_ptr<QObject> slowService_;
};
