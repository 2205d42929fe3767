// corvalen-cli and the folder's records: the versions its reads and writes
// leave in the history (an unchanged panel read after a write is no new
// version), diff and its exit status, restore putting the panel back as it
// was, the event archive filled by events get and searched by events query,
// and the printed lists read back from their PDF files.
#include "archive/ArchiveTestData.h"
#include "archive/PdfText.h"
#include "cli/CliHarness.h"
#include "history/HistoryWho.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonArray arrayOf(const QByteArray &out)
{
    return QJsonDocument::fromJson(out).array();
}

struct CliRecords : CliOnPanel
{
    QJsonArray history(const QStringList &more = {})
    {
        EXPECT_EQ(run(QStringList{"--json", "history"} + more), 0) << err().toStdString();
        return arrayOf(console.outText);
    }
    // A log of six events over three days, of every kind and source.
    void setEvents()
    {
        using namespace ArchiveTestData;
        PanelMemory &m = panel.memory();
        m.clearEvents();
        m.addEvent(room(QDateTime(QDate(2024, 2, 27), QTime(23, 59, 59)), "101", "Adams Helen"));
        m.addEvent(room(QDateTime(QDate(2024, 2, 28), QTime(0, 0, 0)), "102", "Baker Tom", 2, PanelEvent::RfId));
        m.addEvent(marker(PanelEvent::Kind::Call, QDateTime(QDate(2024, 2, 28), QTime(8, 0)), 0, 1,
                          PanelEvent::Remote));
        m.addEvent(marker(PanelEvent::Kind::Button, QDateTime(QDate(2024, 2, 28), QTime(9, 0)), 3));
        m.addEvent(room(QDateTime(QDate(2024, 2, 28), QTime(23, 59, 59)), "101", "Adams Helen", 1,
                        PanelEvent::RfId));
        m.addEvent(room(QDateTime(QDate(2024, 2, 29), QTime(0, 0, 0)), "4711", "Carter Ann"));
    }
    QStringList queryDates(const QStringList &filter)
    {
        EXPECT_EQ(run(QStringList{"events", "query", "--json"} + filter), 0) << err().toStdString();
        QStringList out;
        for (const QJsonValue &e : arrayOf(console.outText))
            out << e.toObject().value("date").toString() + ' ' + e.toObject().value("time").toString();
        return out;
    }
};

} // namespace

TEST_F(CliRecords, GetsAndPutsAreVersionsAndAnUnchangedReadAfterAWriteAddsNone)
{
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0) << err().toStdString();
    QJsonArray versions = history();
    ASSERT_EQ(versions.size(), 1);
    const QJsonObject first = versions.at(0).toObject();
    const int residents = first.value("entries").toInt();
    EXPECT_GT(residents, 3);
    EXPECT_EQ(first.value("kind").toString(), "directory");
    EXPECT_EQ(first.value("via").toString(), "corvalen-cli");
    EXPECT_EQ(first.value("who").toString(), HistoryWho::current());
    for (const char *key : {"id", "time", "added", "removed", "changed"})
        EXPECT_TRUE(first.contains(key)) << key;
    EXPECT_FALSE(first.contains("result"));

    // One resident fewer, one more: the put's backup finds the panel as read.
    QByteArray list = read(path("gate.csv"));
    QList<QByteArray> lines = list.split('\n');
    lines.removeAt(2);
    lines.insert(1, "Zuber Zoe,999,,,,,,\r");
    write(path("edited.csv"), lines.join('\n'));
    ASSERT_EQ(run({"directory", "put", path("edited.csv")}), 0) << err().toStdString();
    ASSERT_EQ(run({"directory", "get", path("again.csv")}), 0) << err().toStdString();

    versions = history();
    ASSERT_EQ(versions.size(), 2) << QJsonDocument(versions).toJson().constData();
    const QJsonObject written = versions.at(0).toObject(); // newest first
    EXPECT_EQ(written.value("action").toString(), "write");
    EXPECT_EQ(written.value("entries").toInt(), residents);
    EXPECT_EQ(written.value("added").toInt(), 1);
    EXPECT_EQ(written.value("removed").toInt(), 1);
    const QJsonObject result = written.value("result").toObject();
    EXPECT_EQ(result.value("status").toString(), "written");
    EXPECT_EQ(result.value("written").toInt(), residents);
    EXPECT_EQ(versions.at(0).toObject().value("previous").toInteger(), first.value("id").toInteger());

    EXPECT_EQ(history({"--kind", "parameters"}).size(), 0);
    EXPECT_EQ(run({"history"}), 0);
    EXPECT_TRUE(out().startsWith("ID  ")) << out().toStdString();
    EXPECT_TRUE(out().contains("1 added, 1 removed")) << out().toStdString();
}

TEST_F(CliRecords, APutCutShortIsRecordedWithHowFarItGot)
{
    write(path("list.csv"), "Name,RoomNumber\r\nAdams,101\r\nBaker,102\r\nCarter,103\r\n");
    onCommand("b0129", [](PanelFaults &f) { f.silent = true; });
    EXPECT_EQ(run({"directory", "put", path("list.csv")}), 3);
    const QJsonArray versions = history({"--kind", "directory"});
    ASSERT_FALSE(versions.isEmpty());
    const QJsonObject write = versions.at(0).toObject();
    EXPECT_EQ(write.value("action").toString(), "write");
    EXPECT_EQ(write.value("result").toObject().value("status").toString(), "cut short");
    EXPECT_EQ(write.value("result").toObject().value("written").toInt(), 1);
    EXPECT_EQ(write.value("result").toObject().value("total").toInt(), 3);
}

TEST_F(CliRecords, ParametersAndTagsReadAfterTheirWritesAreNoNewVersions)
{
    ASSERT_EQ(run({"parameters", "get", path("site.sys")}), 0) << err().toStdString();
    ASSERT_EQ(run({"parameters", "put", path("site.sys")}), 0) << err().toStdString();
    ASSERT_EQ(run({"parameters", "get", path("again.sys")}), 0) << err().toStdString();
    ASSERT_EQ(run({"--json", "rfid", "get", path("tags.csv")}), 0) << err().toStdString();
    const int codes = QJsonDocument::fromJson(console.outText).object().value("counts").toObject().value("codes").toInt();
    ASSERT_EQ(run({"rfid", "put", path("tags.csv")}), 0) << err().toStdString();
    ASSERT_EQ(run({"rfid", "get", path("tags2.csv")}), 0) << err().toStdString();

    const QJsonArray parameters = history({"--kind", "parameters"});
    ASSERT_EQ(parameters.size(), 2) << QJsonDocument(parameters).toJson().constData();
    EXPECT_EQ(parameters.at(0).toObject().value("action").toString(), "write");
    EXPECT_EQ(parameters.at(0).toObject().value("changed").toInt(), 0);
    EXPECT_EQ(parameters.at(0).toObject().value("seen").toInt(), 2); // the write and the get after it
    const QJsonArray tags = history({"--kind", "tags"});
    ASSERT_EQ(tags.size(), 2) << QJsonDocument(tags).toJson().constData();
    EXPECT_EQ(tags.at(0).toObject().value("seen").toInt(), 2);
    EXPECT_EQ(tags.at(1).toObject().value("entries").toInt(), codes);
    EXPECT_GT(codes, 0);
}

TEST_F(CliRecords, DiffSaysWhetherTwoSidesDifferAndWhenThePanelCannotBeRead)
{
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0);
    write(path("more.csv"), read(path("gate.csv")) + "Zuber Zoe,999,,,,,,\r\n");
    ASSERT_EQ(run({"directory", "put", path("more.csv")}), 0) << err().toStdString();
    const QJsonArray versions = history();
    ASSERT_EQ(versions.size(), 2);
    const QString older = QString::number(versions.at(1).toObject().value("id").toInteger());
    const QString newer = QString::number(versions.at(0).toObject().value("id").toInteger());

    EXPECT_EQ(run({"diff", older, older}), 0) << err().toStdString();
    EXPECT_EQ(out(), "no differences\n");
    EXPECT_EQ(run({"--json", "diff", older, newer}), 1) << err().toStdString();
    const QJsonObject diff = QJsonDocument::fromJson(console.outText).object();
    EXPECT_EQ(diff.value("added").toInt(), 1);
    EXPECT_EQ(diff.value("residentsAdded").toArray().at(0).toObject().value("name").toString(), "Zuber Zoe");
    EXPECT_EQ(run({"diff", newer, "panel"}), 0) << err().toStdString();
    EXPECT_EQ(run({"diff", path("gate.csv"), "panel"}), 1) << err().toStdString();
    EXPECT_TRUE(out().contains("+ Zuber Zoe (999)")) << out().toStdString();

    // A side that cannot be read, or no panel side at all, is a usage error
    // that costs no log-on.
    const int logOns = commandsStartingWith('d');
    EXPECT_EQ(run({"diff", older, "4711"}), 2);
    EXPECT_EQ(run({"diff", older, path("none.csv")}), 2);
    EXPECT_EQ(run({"diff", "panel", "panel"}), 2);
    EXPECT_EQ(run({"diff", older}), 2);
    EXPECT_EQ(commandsStartingWith('d'), logOns);

    onCommand("d0128", [](PanelFaults &f) { f.silent = true; });
    EXPECT_EQ(run({"diff", older, "panel"}), 3);
}

TEST_F(CliRecords, RestoreOfTheFirstVersionMakesThePanelWhatItWas)
{
    const QByteArray before = memory();
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0);
    write(path("other.csv"), "Name,RoomNumber,PHnumber\r\nZuber Zoe,999,0211\r\nYoung Yves,998,0212\r\n");
    ASSERT_EQ(run({"directory", "put", path("other.csv")}), 0) << err().toStdString();
    ASSERT_NE(memory(), before);
    const QJsonArray versions = history();
    const QString first = QString::number(versions.last().toObject().value("id").toInteger());

    ASSERT_EQ(run({"--json", "restore", first}), 0) << err().toStdString();
    EXPECT_EQ(memory(), before) << differences(before, memory()).toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(console.outText).object();
    EXPECT_FALSE(summary.value("backup").toString().isEmpty());
    QFile::remove(summary.value("backup").toString());
    // The backup before it (the two residents) and the restore are versions.
    const QJsonArray after = history();
    ASSERT_EQ(after.size(), versions.size() + 1) << QJsonDocument(after).toJson().constData();
    EXPECT_EQ(after.at(0).toObject().value("action").toString(), "write");
    EXPECT_EQ(after.at(0).toObject().value("removed").toInt(), 2);

    EXPECT_EQ(run({"restore", "999"}), 1);
    EXPECT_TRUE(err().contains("There is no version 999 in the history")) << err().toStdString();
    EXPECT_EQ(run({"restore", "first"}), 2);
}

TEST_F(CliRecords, EventsGetFillsTheArchiveOnceAndQueryFiltersItsEdges)
{
    setEvents();
    ASSERT_EQ(run({"events", "get", path("a.Evt")}), 0) << err().toStdString();
    ASSERT_EQ(run({"events", "get", path("b.Evt")}), 0) << err().toStdString();
    EXPECT_TRUE(err().contains("0 of the 6 events were new")) << err().toStdString();

    EXPECT_EQ(queryDates({}).size(), 6);
    EXPECT_EQ(queryDates({"--from", "2024-02-28", "--to", "2024-02-28"}),
              (QStringList{"2024-02-28 00:00:00", "2024-02-28 08:00:00", "2024-02-28 09:00:00",
                           "2024-02-28 23:59:59"}));
    EXPECT_EQ(queryDates({"--from", "2024-02-29"}), QStringList{"2024-02-29 00:00:00"});
    EXPECT_EQ(queryDates({"--to", "2024-02-27"}), QStringList{"2024-02-27 23:59:59"});
    EXPECT_EQ(queryDates({"--source", "RF-ID"}).size(), 2);
    EXPECT_EQ(queryDates({"--kind", "InCall"}), QStringList{"2024-02-28 08:00:00"});
    EXPECT_EQ(queryDates({"--room", "adams"}).size(), 2);
    EXPECT_EQ(queryDates({"--room", "4711", "--source", "local"}).size(), 1);

    ASSERT_EQ(run({"events", "query", "--json", "--kind", "room", "--to", "2024-02-27"}), 0);
    const QJsonObject e = arrayOf(console.outText).at(0).toObject();
    EXPECT_EQ(e.value("room").toString(), "101");
    EXPECT_EQ(e.value("relay").toString(), "1");
    EXPECT_EQ(e.value("source").toString(), "local");
    EXPECT_EQ(e.value("client").toString(), "Adams Helen");

    for (const QStringList &bad : {QStringList{"--from", "2024-02-30"}, QStringList{"--to", "28/02/2024"},
                                   QStringList{"--from", "2024-03-01", "--to", "2024-02-01"},
                                   QStringList{"--kind", "gate"}, QStringList{"--source", "radio"}}) {
        EXPECT_EQ(run(QStringList{"events", "query"} + bad), 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(err().contains(bad.at(0))) << err().toStdString();
    }
}

TEST_F(CliRecords, QueryReportAndPrintedListsReadBack)
{
    setEvents();
    ASSERT_EQ(run({"events", "get", path("a.Evt")}), 0) << err().toStdString();
    ASSERT_EQ(run({"events", "query", "--room", "Adams", "--pdf", path("adams.pdf"), "--csv", path("adams.csv")}), 0)
        << err().toStdString();
    EXPECT_TRUE(out().isEmpty());
    const QString report = pdfText(path("adams.pdf"));
    EXPECT_TRUE(report.contains("2024-02-27")) << report.toStdString();
    EXPECT_TRUE(report.contains("2024-02-28")) << report.toStdString();
    EXPECT_FALSE(report.contains("Carter")) << report.toStdString();
    EXPECT_EQ(read(path("adams.csv")).count("Adams Helen"), 2);

    write(path("list.csv"), "Name,RoomNumber,PHnumber,Code1\r\nAdams Helen,101,0211555,4321\r\n");
    ASSERT_EQ(run({"directory", "print", path("list.csv"), "--pdf", path("list.pdf")}), 0) << err().toStdString();
    QString text = pdfText(path("list.pdf"));
    EXPECT_TRUE(text.contains("Adams Helen")) << text.toStdString();
    EXPECT_FALSE(text.contains("0211555")) << text.toStdString();
    EXPECT_FALSE(text.contains("4321")) << text.toStdString();
    ASSERT_EQ(run({"directory", "print", path("list.csv"), "--with-phones", "--pdf", path("list.pdf")}), 0);
    text = pdfText(path("list.pdf"));
    EXPECT_TRUE(text.contains("0211555")) << text.toStdString();
    EXPECT_FALSE(text.contains("4321")) << text.toStdString();

    ASSERT_EQ(run({"directory", "print", "--from-panel", "--pdf", path("panel.pdf")}), 0) << err().toStdString();
    const QByteArray firstName = DemoData::residents().first().name;
    EXPECT_TRUE(pdfText(path("panel.pdf")).contains(QString::fromLatin1(firstName)));

    EXPECT_EQ(run({"directory", "print", path("list.csv")}), 2);         // no --pdf
    EXPECT_EQ(run({"directory", "print", "--pdf", path("x.pdf")}), 2);   // neither a file nor the panel
    EXPECT_EQ(run({"history", "--pdf", path("x.pdf")}), 2);              // not an option of history
    EXPECT_EQ(run({"history", "--kind", "events"}), 2);
    EXPECT_FALSE(QFile::exists(path("x.pdf")));
}
