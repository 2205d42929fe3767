// A site's PIN in a real desktop keyring (gnome-keyring-daemon on a private
// D-Bus session), locked and absent, and in a PIN file of the user's
// choosing. Nothing may ever land in a plain-text file nobody chose.
#include "ChildProcess.h"
#include "PrivateKeyring.h"
#include "sites/PinVault.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const char kSiteVariable[] = "CORVALEN_TEST_VAULT_SITE";
const char kStepsVariable[] = "CORVALEN_TEST_VAULT_STEPS";
const char kTimeoutVariable[] = "CORVALEN_TEST_VAULT_TIMEOUT_MS";
const QUuid kSiteId = QUuid::fromString(QStringLiteral("6f1c4e8a-2b7d-4c1e-9f3a-0d5e6b7c8a91"));

// What the child reported for one step.
struct Step
{
    QString what;
    bool ok = false;
    PinVault::Store store = PinVault::Store::None;
    PinVault::Problem problem = PinVault::Problem::None;
    QByteArray pin;
    QString message;
    qint64 tookMs = 0;
};

// Child: runs the steps "store:PIN", "read" and "forget" with a vault, for
// the site named in the environment, and prints one line per step.
TEST(VaultChild, DISABLED_RunsSteps)
{
    const QStringList siteFields = qEnvironmentVariable(kSiteVariable).split(QLatin1Char('|'));
    ASSERT_EQ(siteFields.size(), 4);
    Site site;
    site.id = QUuid::fromString(siteFields.at(0));
    site.name = siteFields.at(1);
    ASSERT_TRUE(SiteText::pinKeepingFromWord(siteFields.at(2), &site.pinKeeping));
    site.folder = siteFields.at(3);
    PinVault vault(qEnvironmentVariableIsSet(kTimeoutVariable) ? qEnvironmentVariableIntValue(kTimeoutVariable) : 10000);
    for (const QString &step : qEnvironmentVariable(kStepsVariable).split(QLatin1Char(';'))) {
        PinVault::Result result;
        QElapsedTimer took;
        took.start();
        if (step.startsWith(QLatin1String("wait:"))) { // whatever the keyring still sends arrives now
            QEventLoop loop;
            QTimer::singleShot(step.mid(5).toInt(), &loop, &QEventLoop::quit);
            loop.exec();
            result.ok = true;
        } else if (step.startsWith(QLatin1String("store:")))
            result = vault.store(site, step.mid(6).toLatin1());
        else if (step == QLatin1String("read"))
            result = vault.read(site);
        else
            result = vault.forget(site);
        printf("STEP\t%s\t%d\t%d\t%d\t%s\t%s\t%lld\n", qPrintable(step), int(result.ok), int(result.store),
               int(result.problem), result.pin.constData(), qPrintable(result.message), took.elapsed());
        fflush(stdout);
    }
}

struct Vault : ::testing::Test
{
    PrivateKeyring keyring;
    QString folder = keyring.root() + QStringLiteral("/home/Documents/Corvalen-Pro/sites/Gate");

    void SetUp() override
    {
        const QStringList missing = PrivateKeyring::missingPrograms();
        if (!missing.isEmpty())
            GTEST_SKIP() << "needs " << qPrintable(missing.join(QStringLiteral(", ")))
                         << " (scripts/install-deps.sh installs them)";
        QDir().mkpath(folder);
    }

    QList<Step> run(const QString &steps, const QProcessEnvironment &environment, const QString &name = QStringLiteral("Gate"),
                    const QString &keeping = QStringLiteral("keyring"))
    {
        QProcessEnvironment env = environment;
        env.insert(QLatin1String(kSiteVariable), QStringList{kSiteId.toString(QUuid::WithoutBraces), name, keeping,
                                                             folder}.join(QLatin1Char('|')));
        env.insert(QLatin1String(kStepsVariable), steps);
        QProcess child;
        child.setWorkingDirectory(folder);
        // Waited for in the event loop: a service of this process may have to answer.
        QEventLoop loop;
        QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        startChild(child, QStringLiteral("VaultChild.DISABLED_RunsSteps"), env);
        loop.exec();
        EXPECT_EQ(child.state(), QProcess::NotRunning);
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
        const QByteArray out = child.readAllStandardOutput();
        QList<Step> found;
        for (const QByteArray &line : out.split('\n')) {
            const QList<QByteArray> f = line.split('\t');
            if (f.size() != 8 || f.at(0) != "STEP")
                continue;
            found.append({QString::fromUtf8(f.at(1)), f.at(2) == "1", PinVault::Store(f.at(3).toInt()),
                          PinVault::Problem(f.at(4).toInt()), f.at(5), QString::fromUtf8(f.at(6)), f.at(7).toLongLong()});
        }
        EXPECT_EQ(found.size(), steps.count(QLatin1Char(';')) + 1) << out.constData() << child.readAllStandardError().constData();
        return found;
    }
    QMap<QString, QString> item() const
    {
        return {{QStringLiteral("server"), QStringLiteral("corvalen-pro")},
                {QStringLiteral("user"), kSiteId.toString(QUuid::WithoutBraces)}};
    }
};

TEST_F(Vault, ThePinIsStoredReadAndForgottenInTheKeyring)
{
    QString error;
    ASSERT_TRUE(keyring.startBus(&error)) << qPrintable(error);
    ASSERT_TRUE(keyring.startKeyring(true, &error)) << qPrintable(error);
    const QStringList before = keyring.filesOutsideKeyring();

    QList<Step> steps = run(QStringLiteral("read;store:4711;read"), keyring.environment());
    ASSERT_EQ(steps.size(), 3);
    EXPECT_FALSE(steps[0].ok);
    EXPECT_EQ(steps[0].problem, PinVault::Problem::NotKept) << qPrintable(steps[0].message);
    EXPECT_EQ(steps[0].message, QStringLiteral("The keyring keeps no PIN of \"Gate\"."));
    EXPECT_TRUE(steps[1].ok) << qPrintable(steps[1].message);
    EXPECT_EQ(steps[1].store, PinVault::Store::Keyring);
    EXPECT_EQ(steps[1].message, QStringLiteral("The PIN of \"Gate\" is kept in the keyring."));
    EXPECT_TRUE(steps[2].ok) << qPrintable(steps[2].message);
    EXPECT_EQ(steps[2].pin, QByteArray("4711"));

    // Under the service and key other tools look for, and for another
    // program later on, also after the site was renamed.
    EXPECT_EQ(keyring.itemCount(item(), &error), 1) << qPrintable(error);
    steps = run(QStringLiteral("read;store:0042;read;forget;read;forget"), keyring.environment(),
                QStringLiteral("North gate"));
    ASSERT_EQ(steps.size(), 6);
    EXPECT_EQ(steps[0].pin, QByteArray("4711"));
    EXPECT_EQ(steps[0].message, QStringLiteral("The PIN of \"North gate\" was taken from the keyring."));
    EXPECT_EQ(steps[2].pin, QByteArray("0042")) << "a new PIN replaces the old one";
    EXPECT_EQ(keyring.itemCount(item(), &error), 0) << qPrintable(error);
    EXPECT_TRUE(steps[3].ok) << qPrintable(steps[3].message);
    EXPECT_EQ(steps[4].problem, PinVault::Problem::NotKept);
    EXPECT_TRUE(steps[5].ok) << "forgetting what is not kept is fine: " << qPrintable(steps[5].message);

    EXPECT_EQ(keyring.filesOutsideKeyring(), before);
}

TEST_F(Vault, ALockedKeyringSaysSoAndNothingGoesElsewhere)
{
    QString error;
    ASSERT_TRUE(keyring.startBus(&error)) << qPrintable(error);
    ASSERT_TRUE(keyring.startKeyring(true, &error)) << qPrintable(error);
    ASSERT_TRUE(run(QStringLiteral("store:4711"), keyring.environment()).value(0).ok);
    const QStringList before = keyring.filesOutsideKeyring();
    ASSERT_TRUE(keyring.lock(&error)) << qPrintable(error);

    const QList<Step> steps = run(QStringLiteral("read;store:1234;forget"), keyring.environment());
    ASSERT_EQ(steps.size(), 3);
    for (const Step &step : steps) {
        SCOPED_TRACE(qPrintable(step.what));
        EXPECT_FALSE(step.ok);
        EXPECT_EQ(step.store, PinVault::Store::Keyring);
        EXPECT_EQ(step.problem, PinVault::Problem::KeyringLocked) << qPrintable(step.message);
        EXPECT_TRUE(step.message.startsWith(QLatin1String("The keyring is locked; unlock it"))) << qPrintable(step.message);
        EXPECT_TRUE(step.pin.isEmpty());
    }
    EXPECT_TRUE(steps[0].message.endsWith(QLatin1String("No PIN of \"Gate\" was read, and no PIN file was chosen for it.")));
    EXPECT_TRUE(steps[1].message.endsWith(QLatin1String("The PIN of \"Gate\" was not kept, and no PIN file was chosen for it.")));
    EXPECT_EQ(keyring.filesOutsideKeyring(), before);

    // A keyring that comes up locked (a session where nobody typed its
    // password) is the same.
    keyring.stopKeyring();
    ASSERT_TRUE(keyring.startKeyring(false, &error)) << qPrintable(error);
    const QList<Step> later = run(QStringLiteral("read"), keyring.environment());
    ASSERT_EQ(later.size(), 1);
    EXPECT_EQ(later[0].problem, PinVault::Problem::KeyringLocked) << qPrintable(later[0].message);
}

TEST_F(Vault, NoKeyringOnTheBusOrNoBusAtAllSaySoAndNothingGoesElsewhere)
{
    QString error;
    ASSERT_TRUE(keyring.startBus(&error)) << qPrintable(error);
    const QStringList before = keyring.filesOutsideKeyring();
    QList<Step> steps = run(QStringLiteral("store:4711;read"), keyring.environment());
    ASSERT_EQ(steps.size(), 2);
    for (const Step &step : steps) {
        EXPECT_FALSE(step.ok);
        EXPECT_EQ(step.problem, PinVault::Problem::NoSecretService) << qPrintable(step.message);
        EXPECT_TRUE(step.message.startsWith(QLatin1String("No keyring (Secret Service) runs in this desktop session.")))
            << qPrintable(step.message);
    }

    QProcessEnvironment noBus = keyring.environment();
    noBus.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    steps = run(QStringLiteral("store:4711;read"), noBus);
    ASSERT_EQ(steps.size(), 2);
    for (const Step &step : steps) {
        EXPECT_FALSE(step.ok);
        EXPECT_EQ(step.problem, PinVault::Problem::NoSessionBus) << qPrintable(step.message);
        EXPECT_TRUE(step.message.contains(QLatin1String("no PIN file was chosen"))) << qPrintable(step.message);
    }
    EXPECT_EQ(keyring.filesOutsideKeyring(), before);
}

TEST_F(Vault, AKeyringThatDoesNotAnswerIsGivenUpOnInTime)
{
    QString error;
    ASSERT_TRUE(keyring.startBus(&error)) << qPrintable(error);
    ASSERT_TRUE(keyring.startSlowService(1000, &error)) << qPrintable(error);
    QProcessEnvironment environment = keyring.environment();
    environment.insert(QLatin1String(kTimeoutVariable), QStringLiteral("500"));
    // The late answers arrive while the child waits, into jobs the vault
    // gave up on; then it asks again.
    const QList<Step> steps = run(QStringLiteral("store:4711;wait:2500;read"), environment);
    ASSERT_EQ(steps.size(), 3);
    for (const Step &step : {steps[0], steps[2]}) {
        SCOPED_TRACE(qPrintable(step.what));
        EXPECT_FALSE(step.ok);
        EXPECT_EQ(step.problem, PinVault::Problem::KeyringTimeout) << qPrintable(step.message);
        EXPECT_TRUE(step.message.startsWith(QLatin1String("The keyring did not answer within 0.5 s."))) << qPrintable(step.message);
        EXPECT_LT(step.tookMs, 15000) << "the keyring wait and the questions after it are bounded";
    }
    EXPECT_TRUE(keyring.filesOutsideKeyring().filter(QStringLiteral("Gate/")).isEmpty());
}

mode_t modeOf(const QString &path)
{
    struct stat st{};
    return stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The PIN file needs no keyring: it is what a job without a desktop uses.
TEST(PinFileStore, ThePinFileIsPrivateAndOneOthersCanReadIsRefused)
{
    QTemporaryDir dir;
    Site site;
    site.id = kSiteId;
    site.name = QStringLiteral("Gate");
    site.folder = dir.filePath(QStringLiteral("sites/Gate"));
    site.pinKeeping = Site::PinKeeping::PinFile;
    PinVault vault(1000);
    const QString path = site.folder + QStringLiteral("/corvalen.pin");

    PinVault::Result result = vault.read(site);
    EXPECT_EQ(result.problem, PinVault::Problem::NotKept);
    EXPECT_EQ(result.store, PinVault::Store::PinFile);

    result = vault.store(site, "4711");
    ASSERT_TRUE(result.ok) << qPrintable(result.message);
    EXPECT_EQ(result.message, QStringLiteral("The PIN of \"Gate\" is kept in the PIN file %1.").arg(path));
    EXPECT_EQ(modeOf(path), mode_t(0600));
    result = vault.read(site);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.pin, QByteArray("4711"));
    EXPECT_EQ(result.message, QStringLiteral("The PIN of \"Gate\" was taken from the PIN file %1.").arg(path));

    for (mode_t mode : {0644, 0640, 0620, 0602}) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0);
        result = vault.read(site);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.pin.isEmpty());
        EXPECT_EQ(result.problem, PinVault::Problem::PinFileUnsafe);
        EXPECT_TRUE(result.message.contains(QLatin1String("chmod 600"))) << qPrintable(result.message);
        EXPECT_EQ(modeOf(path), mode) << "the program does not change the user's file behind their back";
    }

    // Storing again replaces the file with a private one.
    ASSERT_TRUE(vault.store(site, "0042").ok);
    EXPECT_EQ(modeOf(path), mode_t(0600));
    EXPECT_EQ(vault.read(site).pin, QByteArray("0042"));
    EXPECT_EQ(QDir(site.folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("corvalen.pin")})
        << "no temporary file left behind";

    ASSERT_TRUE(vault.forget(site).ok);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(PinFileStore, AChosenPathABadPinAndANotRememberedSite)
{
    QTemporaryDir dir;
    Site site;
    site.name = QStringLiteral("Gate");
    site.folder = dir.filePath(QStringLiteral("Gate"));
    site.pinKeeping = Site::PinKeeping::PinFile;
    site.pinFile = dir.filePath(QStringLiteral("secrets/gate.pin"));
    PinVault vault(1000);

    EXPECT_EQ(vault.store(site, "").problem, PinVault::Problem::BadPin);
    EXPECT_EQ(vault.store(site, "12345678901234567").problem, PinVault::Problem::BadPin);
    EXPECT_EQ(vault.store(site, "12\n34").problem, PinVault::Problem::BadPin);
    EXPECT_FALSE(QFile::exists(site.pinFile));
    ASSERT_TRUE(vault.store(site, "1234567890123456").ok);
    EXPECT_EQ(vault.read(site).pin, QByteArray("1234567890123456"));
    EXPECT_FALSE(QFile::exists(site.folder + QStringLiteral("/corvalen.pin")));

    QFile file(site.pinFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\n");
    file.close();
    EXPECT_EQ(vault.read(site).problem, PinVault::Problem::PinFileError);

    site.pinKeeping = Site::PinKeeping::NotRemembered;
    const PinVault::Result stored = vault.store(site, "4711");
    EXPECT_FALSE(stored.ok);
    EXPECT_EQ(stored.problem, PinVault::Problem::NotRemembered);
    EXPECT_EQ(vault.read(site).problem, PinVault::Problem::NotRemembered);
    EXPECT_TRUE(vault.forget(site).ok);
}

} // namespace
