// The archive's printed report and its exports for other programs.
#include "ArchiveTestData.h"
#include "PdfText.h"
#include "archive/ArchiveExport.h"
#include "archive/ArchiveSelection.h"
#include "archive/EventArchive.h"
#include "archive/EventReport.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using namespace ArchiveTestData;

class ArchiveOutput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(archive.open());
        log = mixedLog(300, QDateTime(QDate(2026, 3, 1), QTime(6, 0)));
        // Names a spreadsheet would take for formulas.
        const QDateTime late(QDate(2026, 3, 3), QTime(23, 0));
        log << room(late, "13", "=HYPERLINK(1)") << room(late.addSecs(1), "14", "+44 20 7946")
            << room(late.addSecs(2), "15", "-minus") << room(late.addSecs(3), "16", "@home");
        EventArchive::Download d;
        d.lines = lines(log);
        d.downloadedAt = QDateTime(QDate(2026, 3, 4), QTime(8, 0));
        ASSERT_TRUE(archive.addDownload(d).ok);
    }

    QTemporaryDir dir;
    EventArchive archive{dir.path()};
    QList<PanelEvent> log;
};
} // namespace

TEST_F(ArchiveOutput, TheReportHoldsTheFiltersTheChartAndEveryMatchingRow)
{
    ArchiveSelection s(archive);
    EventFilter f;
    f.text = QStringLiteral("baker");
    f.from = QDate(2026, 3, 2);
    ASSERT_TRUE(s.select(f));
    ASSERT_GT(s.count(), 5);
    const QString file = dir.filePath(QStringLiteral("report.pdf"));
    QString error;
    ASSERT_TRUE(EventReport::writePdf(s, QStringLiteral("Harbour View"), file, &error)) << error.toStdString();

    const QString text = pdfText(file);
    EXPECT_TRUE(text.contains(QStringLiteral("Events of Harbour View")));
    EXPECT_TRUE(text.contains(QStringLiteral("From 2026-03-02")));
    EXPECT_TRUE(text.contains(QStringLiteral("Room or client contains: baker")));
    EXPECT_TRUE(text.contains(QStringLiteral("%1 events").arg(s.count())));
    EXPECT_TRUE(text.contains(QStringLiteral("Events per hour of the day")));
    // Every matching event, by its date and time, and nobody else.
    QList<ArchivedEvent> rows;
    ASSERT_TRUE(s.rows(0, int(s.count()), &rows));
    for (const ArchivedEvent &e : rows) {
        const QRegularExpression row(QStringLiteral("%1\\s+%2\\s+102\\s+\\d\\s+\\S+\\s+Baker Tom")
                                         .arg(e.dateText(), e.timeText()));
        EXPECT_TRUE(text.contains(row)) << e.dateText().toStdString() << " " << e.timeText().toStdString();
    }
    EXPECT_FALSE(text.contains(QStringLiteral("Adams")));
    EXPECT_FALSE(text.contains(QStringLiteral("2026-03-01")));
}

TEST_F(ArchiveOutput, JsonHasAnObjectPerEventWithItsFields)
{
    ArchiveSelection s(archive);
    EventFilter f;
    f.text = QStringLiteral("m\u00fcller");
    ASSERT_TRUE(s.select(f));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(ArchiveExport::writeJson(s, buffer));
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(buffer.data(), &parse);
    ASSERT_EQ(parse.error, QJsonParseError::NoError) << parse.errorString().toStdString();
    const QJsonArray array = doc.array();
    ASSERT_EQ(array.size(), s.count());
    const PanelEvent *first = nullptr;
    for (const PanelEvent &e : log)
        if (e.name.startsWith("M\xfcller")) {
            first = &e;
            break;
        }
    ASSERT_TRUE(first);
    const QJsonObject o = array.at(0).toObject();
    EXPECT_EQ(o.value(u"date").toString(), first->when.date().toString(Qt::ISODate));
    EXPECT_EQ(o.value(u"time").toString(), first->when.time().toString(QStringLiteral("HH:mm:ss")));
    EXPECT_EQ(o.value(u"room").toString(), QStringLiteral("4711"));
    EXPECT_EQ(o.value(u"relay").toString(), QString::number(first->relay));
    EXPECT_EQ(o.value(u"client").toString(), QStringLiteral("M\u00fcller J\u00fcrgen"));
    EXPECT_EQ(o.value(u"kind").toString(), QStringLiteral("room"));
    EXPECT_FALSE(o.value(u"source").toString().isEmpty());
    EXPECT_TRUE(o.value(u"line").toString().startsWith(QStringLiteral("0003 ")));

    // An empty selection is an empty array.
    f.text = QStringLiteral("nobody");
    ASSERT_TRUE(s.select(f));
    QBuffer empty;
    empty.open(QIODevice::WriteOnly);
    ASSERT_TRUE(ArchiveExport::writeJson(s, empty));
    EXPECT_TRUE(QJsonDocument::fromJson(empty.data()).isArray());
    EXPECT_TRUE(QJsonDocument::fromJson(empty.data()).array().isEmpty());
}

TEST_F(ArchiveOutput, JsonDateIsNullWithoutADate)
{
    QList<QByteArray> odd = lines({room(QDateTime(QDate(2026, 3, 3), QTime(8, 0)), "77", "Erased")});
    odd[0].replace(17, 6, "FFFFFF");
    EventArchive::Download d;
    d.lines = odd;
    d.downloadedAt = QDateTime(QDate(2026, 3, 4), QTime(9, 0));
    ASSERT_TRUE(archive.addDownload(d).ok);
    ArchiveSelection s(archive);
    EventFilter f;
    f.text = QStringLiteral("Erased");
    ASSERT_TRUE(s.select(f));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(ArchiveExport::writeJson(s, buffer));
    const QJsonObject o = QJsonDocument::fromJson(buffer.data()).array().at(0).toObject();
    EXPECT_TRUE(o.value(u"date").isNull());
    EXPECT_EQ(o.value(u"panelDate").toString(), QStringLiteral("55/55/55"));
    EXPECT_EQ(o.value(u"time").toString(), QStringLiteral("08:00:00"));
}

TEST_F(ArchiveOutput, CsvIsForSpreadsheetsAndFormulasStayText)
{
    ArchiveSelection s(archive);
    EventFilter f;
    f.from = QDate(2026, 3, 2);
    f.to = QDate(2026, 3, 3);
    f.kind = EventKind::Room;
    ASSERT_TRUE(s.select(f));
    const QString file = dir.filePath(QStringLiteral("events.csv"));
    ASSERT_TRUE(ArchiveExport::saveCsv(s, file, ';'));
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" "Date;Time;RoomNumber;RlyNo;Source;Client;Kind;Downloaded\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), s.count() + 1);
    EXPECT_TRUE(bytes.contains(";'=HYPERLINK(1);"));
    EXPECT_TRUE(bytes.contains(";'+44 20 7946;"));
    EXPECT_TRUE(bytes.contains(";'-minus;"));
    EXPECT_TRUE(bytes.contains(";'@home;"));
    EXPECT_TRUE(bytes.contains(";M\xc3\xbcller J\xc3\xbcrgen;")); // UTF-8
    EXPECT_FALSE(bytes.contains(";=HYPERLINK"));

    QString error;
    EXPECT_FALSE(ArchiveExport::saveCsv(s, dir.filePath(QStringLiteral("none/x.csv")), ',', &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot create file"))) << error.toStdString();
}
