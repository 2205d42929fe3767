// The RFID page of the whole main window on the virtual panel, in real time:
// a tag held to the panel's reader after Get_RFID, Up Date, Write All, and
// DownLoad into a directory shaped differently from the one written.
#include "FormOnPanel.h"
#include "directory/PhoneDirectory.h"
#include "rfid/widgets/RfidPage.h"
#include "table/widgets/TableGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace {
const QByteArray kBlank(64, '?');

struct RfidOnPanel : FormOnPanel
{
    PhoneDirectory &directory() { return form->context().directory; }
    Table &table() { return directory().PhoneTable; }

    // A fresh directory, as the phone page would leave it after a download:
    // {name, room, RFID, Addr} for each entry.
    void setDirectory(const QList<QList<QByteArray>> &entries)
    {
        directory().DefinePhoneFields();
        table().open();
        for (const QList<QByteArray> &e : entries)
            table().appendRecord({e[0], e[1], "0211234567", "", "", "", e[2], e[3]});
        directory().SetupPhoneGrid();
        table().first();
    }
    QByteArray value(const QByteArray &name, const char *field)
    {
        const int row = table().find("Name", name);
        return row < 0 ? QByteArray("<none>") : table().value(row, field);
    }
    QString text(const char *name) { return control<QLineEdit>(name)->text(); }
    QString iderror() { return control<QLabel>("iderror")->text(); }

    // Get_RFID, then the tag at the reader after `delayMs`; true once the
    // countdown has stopped.
    bool readTag(const QByteArray &code, int delayMs = 200)
    {
        click("Get_ID");
        EXPECT_EQ(iderror(), QStringLiteral("Ready"));
        EXPECT_EQ(control<QProgressBar>("ProgressBar1")->value(), 20);
        EXPECT_TRUE(server.presentTag(code, delayMs));
        return runUntil([this] { return control<QProgressBar>("ProgressBar1")->value() == 0; }, 3000);
    }
};
} // namespace

TEST_F(RfidOnPanel, ATagAtTheReaderIsReadNamesItsOwnerAndIsStoredWithTheResident)
{
    setDirectory({{"Ann", "4711", "", "1000"}, {"Bob", "4711", "1234567890", "1020"}});
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    form->actions().RFbutt->trigger();
    ASSERT_EQ(form->Page->currentWidget(), form->rfidPage());
    EXPECT_EQ(text("rfName"), QStringLiteral("Ann"));

    // A tag nobody holds yet (the reader sends it in upper case).
    ASSERT_TRUE(readTag("04a1b2c3d4"));
    EXPECT_EQ(text("rfID"), QStringLiteral("04A1B2C3D4"));
    EXPECT_EQ(iderror(), QStringLiteral("Ready"));
    EXPECT_FALSE(control<QLabel>("Lc_exist")->isVisible());

    click("Button1"); // Up Date
    EXPECT_EQ(value("Ann", "RFID"), QByteArray("04A1B2C3D4"));
    TableModel *model = control<TableGrid>("DBGrid3")->tableModel();
    EXPECT_EQ(model->data(model->index(0, model->columnOfField("RFID"))).toString(), QStringLiteral("04A1B2C3D4"));
    EXPECT_TRUE(engine.memory().events().isEmpty()); // a tag the panel does not know opens nothing

    // Bob's tag: the note names his room; the current entry stays Ann's.
    ASSERT_TRUE(readTag("1234567890"));
    EXPECT_EQ(text("rfID"), QStringLiteral("1234567890"));
    EXPECT_TRUE(control<QLabel>("Lc_exist")->isVisible());
    EXPECT_EQ(control<QLabel>("Lc_exist")->text(), QStringLiteral("Note, This record matches room 4711"));
    EXPECT_EQ(text("rfName"), QStringLiteral("Ann"));
    EXPECT_EQ(table().position(), 1);

    // A read that arrives damaged.
    click("Get_ID");
    ASSERT_TRUE(server.presentTag("1234567890", 200, true));
    ASSERT_TRUE(runUntil([this] { return control<QProgressBar>("ProgressBar1")->value() == 0; }, 3000));
    EXPECT_EQ(iderror(), QStringLiteral("Read Error, Try Again"));
    EXPECT_EQ(text("rfID"), QString());
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
}

TEST_F(RfidOnPanel, WriteAllPacksTheCodesAndDownLoadGivesThemBackToTheirResidents)
{
    setDirectory({{"Ann", "4711", "04A1B2C3D4", "1000"},
                  {"Bob", "4711", "1234567890", "1020"},
                  {"Cy", "12", "ABCDEF0123", "1040"},
                  {"Dee", "305", "0F1E2D3C4B", "1060"},
                  {"Eve", "305", "5A6B7C8D9E", "1080"},
                  {"Fay", "99", "", "10A0"}});
    engine.memory().setRecord(1500, "777???0000000000" + QByteArray(48, '?')); // an old code
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    form->actions().RFIDCodes1->trigger(); // the Window menu's item
    ASSERT_EQ(form->Page->currentWidget(), form->rfidPage());

    click("writeall_id");
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
    const PanelMemory &memory = engine.memory();
    EXPECT_EQ(memory.record(1408), QByteArray("4711??04:1;2<3=4"
                                              "4711??1234567890"
                                              "12????:;<=>?0123"
                                              "305???0?1>2=3<4;"));
    EXPECT_EQ(memory.record(1409), "305???5:6;7<8=9>" + QByteArray(48, '?'));
    for (int r = 1410; r <= 1535; ++r)
        ASSERT_EQ(memory.record(r), kBlank) << r;
    EXPECT_EQ(table().count(), 6); // the directory itself does not change

    // Room 4711 now has a third entry, room 305 only one, room 12 none.
    setDirectory({{"Ann", "4711", "", "1000"},
                  {"Bob", "4711", "", "1020"},
                  {"Hal", "4711", "", "1040"},
                  {"Dee", "305", "", "1060"},
                  {"Fay", "99", "FFFFFFFFFF", "10A0"}});
    click("download_id");
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
    ASSERT_EQ(table().count(), 7);
    EXPECT_EQ(value("Ann", "RFID"), QByteArray("04A1B2C3D4"));
    EXPECT_EQ(value("Bob", "RFID"), QByteArray("1234567890"));
    EXPECT_EQ(value("Hal", "RFID"), QByteArray(""));
    EXPECT_EQ(value("Dee", "RFID"), QByteArray("0F1E2D3C4B"));
    EXPECT_EQ(value("Fay", "RFID"), QByteArray("")); // a code the store does not hold is emptied
    // The codes whose room has no free entry come as entries of their own.
    const QList<QByteArray> appended[] = {table().row(5), table().row(6)};
    EXPECT_EQ(appended[0], (QList<QByteArray>{"", "12", "", "", "", "", "ABCDEF0123", "p4"}));
    EXPECT_EQ(appended[1], (QList<QByteArray>{"", "305", "", "", "", "", "5A6B7C8D9E", "p6"}));
    EXPECT_EQ(control<TableGrid>("DBGrid3")->tableModel()->rowCount(), 7);
    EXPECT_TRUE(form->link().conn().DirectorySynced);
    EXPECT_EQ(text("rfName"), QStringLiteral("Ann")); // back at the first entry
}
