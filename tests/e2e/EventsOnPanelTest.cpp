// The event page of the whole main window on the virtual panel, in real
// time: Down Load of a log holding every kind of event, a title click, Save
// As of the event file, and Set_time read back by the next Down Load.
#include "FormOnPanel.h"
#include "PanelClock.h"
#include "events/widgets/EventsPage.h"
#include "support/PanelEventRows.h"
#include "table/widgets/TableGrid.h"

#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

namespace {
using Kind = PanelEvent::Kind;

const QLocale kUk(QLocale::English, QLocale::UnitedKingdom);

QDateTime at(int day, int hour, int minute, int second)
{
    return PanelClock::fields(2026, 11, day, hour, minute, second);
}

// The panel's clock as the page shows it ("hh:mm:ss", "dd/mm/yy").
QDateTime shownPanelTime(const QString &stime, const QString &sdate)
{
    const QStringList t = stime.split(QLatin1Char(':')), d = sdate.split(QLatin1Char('/'));
    if (t.size() != 3 || d.size() != 3)
        return {};
    return PanelClock::fields(2000 + d[2].toInt(), d[1].toInt(), d[0].toInt(), t[0].toInt(), t[1].toInt(),
                              t[2].toInt());
}

struct EventsOnPanel : FormOnPanel
{
    EventsPage *page() { return form->eventsPage(); }
    QString text(const char *name) { return control<QLineEdit>(name)->text(); }
    TableGrid *grid() { return control<TableGrid>("DBGrid2"); }
    QList<QByteArray> gridRow(int row)
    {
        TableModel *model = grid()->tableModel();
        QList<QByteArray> values;
        for (int column = 0; column < model->columnCount(); ++column)
            values << model->data(model->index(row, column)).toString().toLatin1();
        return values;
    }
    void clickTitle(const char *field)
    {
        QHeaderView *header = grid()->horizontalHeader();
        const int section = grid()->tableModel()->columnOfField(field);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 4, header->height() / 2));
    }
    // Down Load, and the real time it took.
    qint64 downLoad()
    {
        QElapsedTimer t;
        t.start();
        click("dnLoad");
        return t.elapsed();
    }
};
} // namespace

TEST_F(EventsOnPanel, DownLoadSortAndSaveAsAnEventFile)
{
    server.setPacing(true); // the log arrives at the line rate, its "OK" last
    PanelMemory &memory = engine.memory();
    memory.clearEvents();
    using PanelEventRows::markerEvent;
    using PanelEventRows::roomEvent;
    const QList<PanelEvent> log = {
        roomEvent(at(10, 8, 15, 0), "4711", "Zed Ward", 1, PanelEvent::Local),
        markerEvent(Kind::Button, at(10, 9, 1, 13), 3, 0, PanelEvent::Local),
        markerEvent(Kind::Call, at(10, 23, 59, 59), 0, 1, PanelEvent::Remote),
        markerEvent(Kind::Error, at(11, 0, 0, 0), 2, 0, PanelEvent::Local),
        roomEvent(at(11, 7, 30, 5), "12", "Amy Moss", 2, PanelEvent::Remote),
        roomEvent(at(11, 18, 2, 44), "305", "M\xfcller, Jo", 1, PanelEvent::RfId),
        roomEvent(at(12, 6, 0, 9), "012345", "Bea Long-Named Person", 2, PanelEvent::RfId),
        markerEvent(Kind::Button, at(12, 14, 44, 58), 10, 0, PanelEvent::Local),
    };
    for (const PanelEvent &e : log)
        memory.addEvent(e);
    engine.clock().set(at(12, 14, 45, 13));

    ASSERT_TRUE(logOn()) << qPrintable(messages());
    form->actions().Ebutt->trigger();
    ASSERT_EQ(form->Page->currentWidget(), page());
    EXPECT_FALSE(form->actions().SaveAs->isEnabled()); // nothing downloaded yet
    EXPECT_EQ(text("Stime"), QStringLiteral("00:00:00"));
    EXPECT_EQ(text("Sdate"), QStringLiteral("00/00"));
    const QDateTime computerNow(QDate(2026, 11, 12), QTime(14, 46, 0));
    page()->setComputerClock(ComputerClock([computerNow] { return computerNow; }, kUk));

    const qint64 ms = downLoad();
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
    EXPECT_LT(ms, 3000);
    EXPECT_TRUE(page()->EventsLoaded());
    EXPECT_TRUE(form->actions().SaveAs->isEnabled());

    // Every event in the order of the log, as the panel's memory holds it.
    ASSERT_EQ(grid()->tableModel()->rowCount(), log.size());
    for (int i = 0; i < log.size(); ++i)
        EXPECT_EQ(gridRow(i), PanelEventRows::row(i + 1, log[i])) << "event " << i + 1;
    EXPECT_EQ(gridRow(5).last(), QByteArray("M\xfcller, Jo      ")); // every byte survives
    EXPECT_EQ(gridRow(6)[1], QByteArray("012345"));

    // The panel's clock as read, the computer's as injected.
    const QDateTime shown = shownPanelTime(text("Stime"), text("Sdate"));
    ASSERT_TRUE(shown.isValid()) << qPrintable(text("Stime") + QLatin1Char(' ') + text("Sdate"));
    const qint64 behind = shown.secsTo(engine.clock().now());
    EXPECT_GE(behind, 0);
    EXPECT_LE(behind, 3);
    EXPECT_GE(shown, at(12, 14, 45, 13));
    EXPECT_EQ(text("Ctime"), QStringLiteral("14:46:00"));
    EXPECT_EQ(text("Cdate"), QStringLiteral("12/11/2026"));
    EXPECT_EQ(text("E_Numb"), QStringLiteral("1"));
    EXPECT_EQ(text("E_Room"), QStringLiteral("4711"));

    // A title click sorts by that column; the details show the first row.
    form->link().PumpWait(20); // the page's layout settles
    clickTitle("Client");
    const QList<int> byClient = {5, 7, 2, 8, 4, 3, 6, 1};
    for (int i = 0; i < byClient.size(); ++i)
        EXPECT_EQ(gridRow(i), PanelEventRows::row(byClient[i], log[byClient[i] - 1])) << "row " << i;
    EXPECT_EQ(text("E_Numb"), QStringLiteral("1"));
    EXPECT_EQ(text("E_Room"), QStringLiteral("12"));

    // File > Save As writes the event file in the order shown.
    const QString fileName = dir.filePath(QStringLiteral("Events.Evt"));
    page()->setFileChooser([&](QWidget *) { return fileName; });
    form->actions().SaveAs->trigger();
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
    QByteArray expected = "Corvalen time when saved was: " + text("Stime").toLatin1() + "  "
                        + text("Sdate").toLatin1() + "\r\n"
                        + "Current time when Loaded was: 14:46:00  12/11/2026\r\n"
                        + "Event,RoomNumber,Date,Time,RlyNo,Source,Client\r\n";
    for (int n : byClient) {
        QList<QByteArray> values = PanelEventRows::row(n, log[n - 1]);
        for (QByteArray &v : values)
            v.replace(",", "%m"); // a comma in a value is kept whole
        expected += values.join(',') + "\r\n";
    }
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected);

    // Date sorts by the order of arrival again.
    clickTitle("Date");
    for (int i = 0; i < log.size(); ++i)
        EXPECT_EQ(gridRow(i).first(), QByteArray::number(i + 1));
}

TEST_F(EventsOnPanel, SetTimeThenDownLoadShowsTheComputersTimeOnThePanelSide)
{
    const QDateTime computerNow(QDate(2027, 3, 4), QTime(5, 6, 7));
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    form->actions().Eventb->trigger(); // the Window menu's item
    ASSERT_EQ(form->Page->currentWidget(), page());
    page()->setComputerClock(ComputerClock([computerNow] { return computerNow; }, kUk));

    click("Set_time");
    ASSERT_TRUE(runUntil([&] { return engine.clock().now().date() == QDate(2027, 3, 4); }, 1000));
    const qint64 ms = downLoad();
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
    EXPECT_LT(ms, 3000);

    const QDateTime shown = shownPanelTime(text("Stime"), text("Sdate"));
    EXPECT_EQ(text("Sdate"), QStringLiteral("04/03/27"));
    EXPECT_GE(shown, computerNow);
    EXPECT_LE(computerNow.secsTo(shown), 2) << qPrintable(text("Stime"));
    EXPECT_EQ(text("Ctime"), QStringLiteral("05:06:07"));
    EXPECT_EQ(text("Cdate"), QStringLiteral("04/03/2027"));
    // A panel without events: an empty log is a completed download.
    EXPECT_TRUE(page()->EventsLoaded());
    EXPECT_EQ(grid()->tableModel()->rowCount(), 0);
}
