#include "sites/PinVault.h"

#include "sites/PinFile.h"
#include "sites/SecretServiceProbe.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace {

// What a keyring job ended with; finished is false when it did not end in
// time.
struct Outcome
{
    bool finished = false;
    QKeychain::Error error = QKeychain::NoError;
    QString errorString;
    QByteArray data;
};

// Starts the job and waits for it at most timeoutMs. The job deletes itself
// when it finishes, also after the wait gave up on it: the keyring library
// calls back into it later and it must still be there then, so it has no
// parent and what it reports goes to a state shared with this wait.
Outcome run(QKeychain::Job *job, int timeoutMs)
{
    struct State
    {
        Outcome outcome;
        QEventLoop *loop = nullptr;
    };
    auto state = std::make_shared<State>();
    QObject::connect(job, &QKeychain::Job::finished, job, [state](QKeychain::Job *done) {
        state->outcome.finished = true;
        state->outcome.error = done->error();
        state->outcome.errorString = done->errorString();
        if (auto *read = qobject_cast<QKeychain::ReadPasswordJob *>(done); read && done->error() == QKeychain::NoError)
            state->outcome.data = read->textData().toLatin1();
        if (state->loop)
            state->loop->quit();
    });
    job->setAutoDelete(true);
    job->setInsecureFallback(false); // never a plain-text file instead
    job->start();
    if (!state->outcome.finished) {
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        state->loop = &loop;
        deadline.start(timeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        state->loop = nullptr;
    }
    return state->outcome;
}

QString quoted(const Site &site)
{
    return QStringLiteral("\"%1\"").arg(site.name);
}

QMap<QString, QString> itemAttributes(const Site &site)
{
    // The attributes QtKeychain gives the items it stores.
    return {{QStringLiteral("user"), site.id.toString(QUuid::WithoutBraces)},
            {QStringLiteral("server"), QString::fromLatin1(PinVault::kService)}};
}

} // namespace

PinVault::PinVault(int timeoutMs)
    : timeoutMs_(timeoutMs)
{
}

QString PinVault::storeName(Store store)
{
    switch (store) {
    case Store::Keyring:
        return QStringLiteral("keyring");
    case Store::PinFile:
        return QStringLiteral("PIN file");
    case Store::None:
        break;
    }
    return QStringLiteral("none");
}

PinVault::Result PinVault::keyringFailure(Problem problem, const QString &detail, const QString &outcome) const
{
    Result result;
    result.store = Store::Keyring;
    result.problem = problem;
    switch (problem) {
    case Problem::NoSessionBus:
        result.message = QStringLiteral("No desktop session (D-Bus session bus) can be reached, so the keyring "
                                        "cannot be used.");
        break;
    case Problem::NoSecretService:
        result.message = QStringLiteral("No keyring (Secret Service) runs in this desktop session.");
        break;
    case Problem::KeyringLocked:
        result.message = QStringLiteral("The keyring is locked; unlock it (for example by logging in to the desktop "
                                        "again) and try again.");
        break;
    case Problem::KeyringDenied:
        result.message = QStringLiteral("The keyring refused access (%1).").arg(detail);
        break;
    case Problem::KeyringTimeout:
        result.message = QStringLiteral("The keyring did not answer within %1 s.").arg(timeoutMs_ / 1000.0);
        break;
    default:
        result.message = QStringLiteral("The keyring reported: %1.").arg(detail);
        break;
    }
    result.message += QLatin1Char(' ') + outcome;
    return result;
}

// Tells apart why a keyring job failed: the keyring library's own errors
// say little ("Unknown error", or "not found" for a locked keyring). "Not
// found" from a keyring that is there and unlocked is NotKept.
static PinVault::Problem diagnose(const Outcome &outcome, const QMap<QString, QString> &attributes)
{
    switch (SecretServiceProbe::state(attributes)) {
    case SecretServiceProbe::State::NoSessionBus:
        return PinVault::Problem::NoSessionBus;
    case SecretServiceProbe::State::NoService:
        return PinVault::Problem::NoSecretService;
    case SecretServiceProbe::State::Locked:
        return PinVault::Problem::KeyringLocked;
    case SecretServiceProbe::State::Available:
        break;
    }
    if (!outcome.finished)
        return PinVault::Problem::KeyringTimeout;
    if (outcome.error == QKeychain::AccessDenied || outcome.error == QKeychain::AccessDeniedByUser)
        return PinVault::Problem::KeyringDenied;
    if (outcome.error == QKeychain::NoBackendAvailable)
        return PinVault::Problem::NoSecretService;
    if (outcome.error == QKeychain::EntryNotFound)
        return PinVault::Problem::NotKept;
    return PinVault::Problem::KeyringError;
}

PinVault::Result PinVault::keyringStore(const Site &site, const QByteArray &pin)
{
    auto *job = new QKeychain::WritePasswordJob(QString::fromLatin1(kService));
    job->setKey(site.id.toString(QUuid::WithoutBraces));
    job->setTextData(QString::fromLatin1(pin));
    const Outcome outcome = run(job, timeoutMs_);
    if (outcome.finished && outcome.error == QKeychain::NoError)
        return {true, Store::Keyring, {}, Problem::None,
                QStringLiteral("The PIN of %1 is kept in the keyring.").arg(quoted(site))};
    return keyringFailure(diagnose(outcome, {}), outcome.errorString,
                          QStringLiteral("The PIN of %1 was not kept, and no PIN file was chosen for it.")
                              .arg(quoted(site)));
}

PinVault::Result PinVault::keyringRead(const Site &site)
{
    auto *job = new QKeychain::ReadPasswordJob(QString::fromLatin1(kService));
    job->setKey(site.id.toString(QUuid::WithoutBraces));
    const Outcome outcome = run(job, timeoutMs_);
    const QString outcomeText =
        QStringLiteral("No PIN of %1 was read, and no PIN file was chosen for it.").arg(quoted(site));
    if (outcome.finished && outcome.error == QKeychain::NoError) {
        if (const QString problem = PinFile::checkPin(outcome.data); !problem.isEmpty())
            return {false, Store::Keyring, {}, Problem::BadPin,
                    QStringLiteral("The keyring holds a PIN of %1 the Corvalen cannot take: %2")
                        .arg(quoted(site), problem)};
        return {true, Store::Keyring, outcome.data, Problem::None,
                QStringLiteral("The PIN of %1 was taken from the keyring.").arg(quoted(site))};
    }
    const Problem problem = diagnose(outcome, itemAttributes(site));
    if (problem == Problem::NotKept)
        return {false, Store::Keyring, {}, Problem::NotKept,
                QStringLiteral("The keyring keeps no PIN of %1.").arg(quoted(site))};
    return keyringFailure(problem, outcome.errorString, outcomeText);
}

PinVault::Result PinVault::keyringForget(const Site &site)
{
    auto *job = new QKeychain::DeletePasswordJob(QString::fromLatin1(kService));
    job->setKey(site.id.toString(QUuid::WithoutBraces));
    const Outcome outcome = run(job, timeoutMs_);
    // A locked keyring answers a removal with success and keeps the item.
    const bool removed = outcome.finished
                         && (outcome.error == QKeychain::NoError || outcome.error == QKeychain::EntryNotFound)
                         && !SecretServiceProbe::lockedItemsRemain(itemAttributes(site));
    if (removed)
        return {true, Store::Keyring, {}, Problem::None,
                QStringLiteral("The keyring keeps no PIN of %1 any more.").arg(quoted(site))};
    return keyringFailure(diagnose(outcome, itemAttributes(site)), outcome.errorString,
                          QStringLiteral("The PIN of %1 was not removed from it.").arg(quoted(site)));
}

PinVault::Result PinVault::store(const Site &site, const QByteArray &pin)
{
    if (const QString problem = PinFile::checkPin(pin); !problem.isEmpty())
        return {false, Store::None, {}, Problem::BadPin, problem};
    switch (site.pinKeeping) {
    case Site::PinKeeping::Keyring:
        return keyringStore(site, pin);
    case Site::PinKeeping::PinFile: {
        const QString path = QDir::toNativeSeparators(site.pinFilePath());
        QString error;
        if (!PinFile::write(site.pinFilePath(), pin, &error))
            return {false, Store::PinFile, {}, Problem::PinFileError,
                    error + QStringLiteral("; the PIN of %1 was not kept.").arg(quoted(site))};
        return {true, Store::PinFile, {}, Problem::None,
                QStringLiteral("The PIN of %1 is kept in the PIN file %2.").arg(quoted(site), path)};
    }
    case Site::PinKeeping::NotRemembered:
        break;
    }
    return {false, Store::None, {}, Problem::NotRemembered,
            QStringLiteral("The PIN of %1 is not to be remembered (see the site's settings); it was not kept.")
                .arg(quoted(site))};
}

PinVault::Result PinVault::read(const Site &site)
{
    switch (site.pinKeeping) {
    case Site::PinKeeping::Keyring:
        return keyringRead(site);
    case Site::PinKeeping::PinFile: {
        const PinFile::Read read = PinFile::read(site.pinFilePath());
        if (read.pin)
            return {true, Store::PinFile, *read.pin, Problem::None,
                    QStringLiteral("The PIN of %1 was taken from the PIN file %2.")
                        .arg(quoted(site), QDir::toNativeSeparators(site.pinFilePath()))};
        const Problem problem = read.missing  ? Problem::NotKept
                                : read.unsafe ? Problem::PinFileUnsafe
                                              : Problem::PinFileError;
        return {false, Store::PinFile, {}, problem, read.error};
    }
    case Site::PinKeeping::NotRemembered:
        break;
    }
    return {false, Store::None, {}, Problem::NotRemembered,
            QStringLiteral("The PIN of %1 is not remembered.").arg(quoted(site))};
}

PinVault::Result PinVault::forget(const Site &site)
{
    switch (site.pinKeeping) {
    case Site::PinKeeping::Keyring:
        return keyringForget(site);
    case Site::PinKeeping::PinFile: {
        QString error;
        if (!PinFile::remove(site.pinFilePath(), &error))
            return {false, Store::PinFile, {}, Problem::PinFileError, error};
        return {true, Store::PinFile, {}, Problem::None,
                QStringLiteral("The PIN file %1 of %2 is removed.")
                    .arg(QDir::toNativeSeparators(site.pinFilePath()), quoted(site))};
    }
    case Site::PinKeeping::NotRemembered:
        break;
    }
    return {true, Store::None, {}, Problem::None,
            QStringLiteral("The PIN of %1 is not remembered.").arg(quoted(site))};
}
