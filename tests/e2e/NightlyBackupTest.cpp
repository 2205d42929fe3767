// corvalen-cli sites backup against twenty virtual panels behind TCP ports,
// all in this process: panels of every model, a few of them faulty (silent,
// a PIN the panel does not take, the line dropped in the middle of a reply,
// no PIN kept), two sites on one panel's address. The job is the real
// program, started as a process, as the nightly timer starts it.
#include "TcpPanelServer.h"
#include "backup/BackupKind.h"
#include "history/HistoryStore.h"
#include "sites/PinFile.h"
#include "sites/SiteBook.h"

#include <QDir>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

enum class Fault { None, Silent, WrongPin, LineDropped, NoPin };

struct Panel
{
    QString name;
    Fault fault = Fault::None;
    std::unique_ptr<PanelEngine> engine;
    std::unique_ptr<TcpPanelServer> server;
    QString address;
    QString folder;
};

struct Night
{
    int exit = -1;
    QMap<QString, QJsonObject> sites;
    QByteArray err;
};

class NightlyBackup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const QStringList models = {QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("500"),
                                    QStringLiteral("1000")};
        SiteBook book(bookFile());
        for (int i = 0; i < 20; ++i) {
            Panel p;
            p.name = QStringLiteral("Building %1").arg(i + 1);
            p.fault = i == 3 ? Fault::Silent : i == 7 ? Fault::WrongPin : i == 11 ? Fault::LineDropped
                    : i == 15 ? Fault::NoPin : Fault::None;
            p.engine = std::make_unique<PanelEngine>(models.at(i % models.size()));
            // A few residents of each building's own, so that every history differs.
            for (int r = 0; r < 3; ++r)
                p.engine->memory().setRecord(128 + 4 * r, QByteArray::number(100 + r) + ",1234,,,0211" + QByteArray::number(i)
                                                              + ",Resident " + QByteArray::number(i * 10 + r));
            if (p.fault == Fault::Silent)
                p.engine->faults().silent = true;
            if (p.fault == Fault::WrongPin)
                p.engine->setPin("9876");
            if (p.fault == Fault::LineDropped)
                p.engine->faults().dropLineAfter = 200; // after the log-on, inside the directory's reply
            p.server = std::make_unique<TcpPanelServer>(*p.engine, QHostAddress::LocalHost, 0);
            p.server->setPacing(false);
            QString error;
            ASSERT_TRUE(p.server->open(&error)) << error.toStdString();
            p.address = p.server->devicePath();
            p.folder = dir.filePath(QStringLiteral("site%1").arg(i + 1));
            // Building 2 keeps its PIN in the keyring, which a night without a
            // desktop cannot reach: its PIN file is used.
            addSite(book, p.name, p.address, p.folder, p.fault != Fault::NoPin,
                    i == 1 ? Site::PinKeeping::Keyring : Site::PinKeeping::PinFile);
            panels.push_back(std::move(p));
        }
        // A second site on the first panel's address: never opened while
        // the first is (the panel's server closes a second connection).
        addSite(book, QStringLiteral("Building 1, back door"), panels.front().address, dir.filePath(QStringLiteral("back")),
                true);
    }

    QString bookFile() const { return dir.filePath(QStringLiteral("config/Corvalen-Pro/sites.txt")); }

    void addSite(SiteBook &book, const QString &name, const QString &address, const QString &folder, bool pinFile,
                 Site::PinKeeping keeping = Site::PinKeeping::PinFile)
    {
        Site site;
        site.name = name;
        site.address = address;
        site.folder = folder;
        site.pinKeeping = pinFile ? keeping : Site::PinKeeping::NotRemembered;
        QString error;
        const std::optional<Site> added = book.add(site, &error);
        ASSERT_TRUE(added) << error.toStdString();
        if (pinFile)
            ASSERT_TRUE(PinFile::write(added->pinFilePath(), "1234", &error)) << error.toStdString();
    }

    // The program, with the panels' servers answering meanwhile.
    Night backup(const QStringList &which = {QStringLiteral("--all")})
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
        env.insert(QStringLiteral("HOME"), dir.path());
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.remove(QStringLiteral("CORVALEN_PIN"));
        process.setProcessEnvironment(env);
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(180000, &loop, &QEventLoop::quit);
        // A few at a time: the panels answer from this process, and sites
        // run under the sanitizers on a small machine must not be starved
        // into silence by their own number.
        process.start(QStringLiteral(CORVALEN_CLI_EXECUTABLE),
                      QStringList{QStringLiteral("sites"), QStringLiteral("backup"), QStringLiteral("--parallel"),
                                  QStringLiteral("4"), QStringLiteral("--json")}
                          + which);
        loop.exec();
        Night run;
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "sites backup did not finish";
            return run;
        }
        run.exit = process.exitCode();
        run.err = process.readAllStandardError();
        const QJsonArray array = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
        for (const QJsonValue &v : array)
            run.sites.insert(v.toObject().value(QStringLiteral("site")).toString(), v.toObject());
        return run;
    }

    int directoryVersions(const QString &folder)
    {
        HistoryStore history(folder);
        QString why;
        if (!history.open(&why))
            return -1;
        return int(history.versions({BackupKind::Directory, HistoryAction::Read}).size());
    }

    QTemporaryDir dir;
    std::vector<Panel> panels;
};

QString message(const Night &run, const QString &site)
{
    return run.sites.value(site).value(QStringLiteral("message")).toString();
}

TEST_F(NightlyBackup, BacksUpEveryGoodSiteReportsEachFaultyOneAndKeepsNoCopyOfAnUnchangedRead)
{
    const Night first = backup();
    ASSERT_EQ(first.sites.size(), 21) << first.err.toStdString();
    EXPECT_EQ(first.exit, 1);
    for (const Panel &p : panels) {
        const QJsonObject o = first.sites.value(p.name);
        SCOPED_TRACE(p.name.toStdString() + ": " + message(first, p.name).toStdString());
        EXPECT_TRUE(o.value(QStringLiteral("duration_s")).isDouble());
        if (p.fault == Fault::None) {
            EXPECT_EQ(o.value(QStringLiteral("result")).toString(), QStringLiteral("ok"));
            const QJsonArray changed = o.value(QStringLiteral("changed")).toArray();
            EXPECT_TRUE(changed.contains(QStringLiteral("directory")));
            EXPECT_TRUE(changed.contains(QStringLiteral("parameters")));
            EXPECT_TRUE(changed.contains(QStringLiteral("tags")));
            EXPECT_EQ(directoryVersions(p.folder), 1);
        } else {
            EXPECT_EQ(o.value(QStringLiteral("result")).toString(), QStringLiteral("failed"));
            EXPECT_EQ(directoryVersions(p.folder), 0);
        }
    }
    EXPECT_EQ(first.sites.value(QStringLiteral("Building 1, back door")).value(QStringLiteral("result")).toString(),
              QStringLiteral("ok"));
    EXPECT_EQ(message(first, QStringLiteral("Building 4")), QStringLiteral("No Reponse from Corvalen"));
    EXPECT_TRUE(message(first, QStringLiteral("Building 8")).contains(QStringLiteral("PIN")))
        << message(first, QStringLiteral("Building 8")).toStdString();
    EXPECT_TRUE(message(first, QStringLiteral("Building 12")).startsWith(QStringLiteral("Reading the directory")))
        << message(first, QStringLiteral("Building 12")).toStdString();
    EXPECT_TRUE(message(first, QStringLiteral("Building 16")).contains(QStringLiteral("keyring"))
                && message(first, QStringLiteral("Building 16")).contains(QStringLiteral("PIN file")))
        << message(first, QStringLiteral("Building 16")).toStdString();

    // The book shows each site's last backup and whether it failed.
    SiteBook book(bookFile());
    ASSERT_TRUE(book.load());
    EXPECT_EQ(book.byName(QStringLiteral("Building 1"))->backupResult, Site::BackupResult::Ok);
    EXPECT_EQ(book.byName(QStringLiteral("Building 8"))->backupResult, Site::BackupResult::Failed);
    EXPECT_FALSE(book.byName(QStringLiteral("Building 8"))->lastBackup.isNull());

    // The second night: nothing changed anywhere.
    const Night second = backup();
    EXPECT_EQ(second.exit, 1);
    for (const Panel &p : panels) {
        if (p.fault != Fault::None)
            continue;
        EXPECT_EQ(message(second, p.name), QStringLiteral("no changes")) << p.name.toStdString();
        EXPECT_EQ(directoryVersions(p.folder), 1) << p.name.toStdString();
    }

    // A resident moved in at one building: only its directory is new.
    panels.at(5).engine->memory().setRecord(160, "777,1234,,,02119,New resident");
    const Night third = backup({QStringLiteral("Building 6"), QStringLiteral("Building 7")});
    EXPECT_EQ(third.exit, 0);
    EXPECT_EQ(third.sites.size(), 2);
    EXPECT_EQ(message(third, QStringLiteral("Building 6")), QStringLiteral("changed: directory"));
    EXPECT_EQ(message(third, QStringLiteral("Building 7")), QStringLiteral("no changes"));
    EXPECT_EQ(directoryVersions(panels.at(5).folder), 2);
}

TEST_F(NightlyBackup, NoSiteReachedIsExitThree)
{
    for (Panel &p : panels)
        p.server->close();
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("HOME"), dir.path());
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(CORVALEN_CLI_EXECUTABLE),
                  {QStringLiteral("sites"), QStringLiteral("backup"), QStringLiteral("Building 1"),
                   QStringLiteral("Building 2")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 3);
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("Building 1: failed"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("0 of 2 sites backed up"))) << out.toStdString();
}

} // namespace
