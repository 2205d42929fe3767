// The phone page end to end: the main window with its real serial code
// (SystemSerialPort on a device file) logs on to the virtual panel on a
// pseudo-terminal, and the page's buttons, fields and navigator read, edit
// and write the panel's directory. The panel runs in this process
// (PtyPanelServer). Replies come unpaced, and the waits skip ahead whenever
// the line is settled: the program's fixed waits cost no real time.
#include "DemoData.h"
#include "PtyPanelServer.h"
#include "app/widgets/FrameActions.h"
#include "app/widgets/FrameStatusBar.h"
#include "app/widgets/TCorvalenForm.h"
#include "directory/PhoneFields.h"
#include "directory/widgets/PhoneEdit.h"
#include "directory/widgets/PhonePage.h"
#include "link/DeviceMap.h"
#include "link/SystemSerialPort.h"
#include "support/CountingSerialPort.h"
#include "support/Recorders.h"
#include "support/ScriptedPin.h"
#include "support/SkippingWaiter.h"

#include <QCheckBox>
#include <QDir>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray entryText(int i)
{
    return QByteArray::number(100 + i) + ",1234,,,0211:;<" + QByteArray::number(i % 10) + ",Resident "
           + QByteArray::number(i);
}

struct PhoneDirectoryEndToEnd : ::testing::Test
{
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    std::unique_ptr<PanelEngine> engine;
    std::unique_ptr<PtyPanelServer> server;
    DeviceMap devices;
    SystemSerialPort device{devices};
    CountingSerialPort port{device};
    std::unique_ptr<PanelLineWatch> line;
    SkippingWaiter waiter;
    RecordingPrompt prompt;
    ScriptedPin pin;
    std::unique_ptr<TCorvalenForm> form;

    PhoneDirectoryEndToEnd()
    {
        QDir::setCurrent(dir.path()); // the details file and the default list live here
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~PhoneDirectoryEndToEnd() override
    {
        form.reset();
        waiter.setSettled({});
        QDir::setCurrent(previousDir);
    }

    // The panel in this process, its device as COM2.
    void startPanel(const QString &model)
    {
        engine = std::make_unique<PanelEngine>(model);
        server = std::make_unique<PtyPanelServer>(*engine);
        server->setPacing(false);
        QString error;
        ASSERT_TRUE(server->open(&error)) << qPrintable(error);
        devices.setDevice(2, server->devicePath());
        line = std::make_unique<PanelLineWatch>(port, *server);
        waiter.setSettled([this] { return line->settled(); });
    }
    void logOn()
    {
        form = std::make_unique<TCorvalenForm>(port, waiter, devices, &prompt);
        form->setLogOnDialog(&pin);
        pin.answers << QByteArray("1234");
        form->connection().OnLine1Click();
        ASSERT_TRUE(form->link().conn().LoggedOn) << qPrintable(prompt.messages.join(QStringLiteral(" / ")));
    }

    PhonePage &page() { return *form->phonePage(); }
    Table &table() { return form->context().directory.PhoneTable; }
    template<typename T = QWidget>
    T *child(const char *name) { return page().findChild<T *>(QLatin1String(name)); }
    void click(const char *name) { child<QAbstractButton>(name)->click(); }
    PanelMemory &memory() { return engine->memory(); }

    void fillTable(int n)
    {
        Table::ControlsPause quiet(table());
        for (int i = 0; i < n; ++i)
            table().appendRecord({"Resident " + QByteArray::number(i), QByteArray::number(100 + i), "0211", "", "",
                                  "", "", ""});
    }
};

} // namespace

TEST_F(PhoneDirectoryEndToEnd, GetDataReadsAFullThousandModel)
{
    startPanel(QStringLiteral("1000"));
    for (int r = 128; r <= 1152; ++r)
        memory().setRecord(r, entryText(r - 128));
    logOn();
    click("GetData");

    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(prompt.messages.join(QStringLiteral(" / ")));
    ASSERT_EQ(table().count(), 1025);
    EXPECT_EQ(table().value(0, PhoneFields::Name), QByteArray("Resident 0"));
    EXPECT_EQ(table().value(0, PhoneFields::PHnumber), QByteArray("0211*#p0"));
    EXPECT_EQ(table().value(1024, PhoneFields::Addr), QByteArray("9000"));
    EXPECT_EQ(table().value(1024, PhoneFields::RoomNumber), QByteArray("1124"));
    EXPECT_TRUE(form->link().conn().DirectorySynced);
    EXPECT_TRUE(child<QCheckBox>("WrtChg")->isEnabled());
    EXPECT_EQ(child<PhoneEdit>("Namef")->bytes(), QByteArray("Resident 0"));
    EXPECT_FALSE(child<QWidget>("Edit2")->isVisible());
    EXPECT_TRUE(form->actions().FileSaveItem->isEnabled());
}

TEST_F(PhoneDirectoryEndToEnd, AHundredModelTakes104EntriesAndRefuses105)
{
    startPanel(QStringLiteral("100"));
    memory().setRecord(200, "999,,,,,Old Entry");
    logOn();
    fillTable(105);
    click("WriteData");
    const QString tooMany = QStringLiteral("There are to many records to store\r\nto this Corvalen version.\r\n"
                                           "104 is the limit.");
    EXPECT_EQ(prompt.messages, QStringList{tooMany});
    EXPECT_EQ(memory().record(200), QByteArray("999,,,,,Old Entry")); // nothing was sent

    prompt.messages.clear();
    table().last();
    form->context().directory.DeleteConfirmed = true;
    table().remove();
    click("WriteData");
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(prompt.messages.join(QStringLiteral(" / ")));
    EXPECT_EQ(memory().usedDirectorySlots(), 104);
    EXPECT_EQ(memory().record(128), QByteArray("100,,,,0211,Resident 0"));
    EXPECT_FALSE(memory().record(231).isEmpty());
    EXPECT_TRUE(memory().record(232).isEmpty());
    EXPECT_EQ(table().value(103, PhoneFields::Addr), QByteArray("1CE0"));
    EXPECT_TRUE(child<QWidget>("DBGrid1")->isEnabled());
}

TEST_F(PhoneDirectoryEndToEnd, WithWriteEachChangeTheFieldsAndTheNavigatorChangeThePanelSlotBySlot)
{
    startPanel(QStringLiteral("1000"));
    memory().setRecord(128, "101,1101,,,0211,Adams Helen");
    memory().setRecord(129, "102,1102,,,0217,Baker Tom");
    logOn();
    click("GetData");
    ASSERT_EQ(table().count(), 2);

    // Change Baker Tom's phone.
    table().moveTo(1);
    auto *phone = child<PhoneEdit>("PHnumber");
    phone->setText(QStringLiteral("*9#p1"));
    click("NavOk");
    EXPECT_EQ(memory().record(129), QByteArray("102,1102,,,:9;<1,Baker Tom"));

    // A new resident gets the first free slot.
    click("NavInsert");
    child<PhoneEdit>("Namef")->setText(QStringLiteral("Chen Wei"));
    child<PhoneEdit>("RoomNumber")->setText(QStringLiteral("201"));
    click("NavOk");
    EXPECT_EQ(memory().record(130), QByteArray("201,,,,,Chen Wei"));

    // Delete Adams Helen: the question, then her slot is erased.
    ASSERT_TRUE(table().locate(PhoneFields::Name, "Adams Helen"));
    click("NavDelete");
    EXPECT_EQ(prompt.questions.last(), QStringLiteral("Erase Current record"));
    EXPECT_TRUE(memory().record(128).isEmpty());
    EXPECT_EQ(table().count(), 2);
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(prompt.messages.join(QStringLiteral(" / ")));

    // A new GetData shows what the panel now holds.
    click("GetData");
    ASSERT_EQ(table().count(), 2);
    EXPECT_EQ(table().value(0, PhoneFields::Name), QByteArray("Baker Tom"));
    EXPECT_EQ(table().value(0, PhoneFields::PHnumber), QByteArray("*9#p1"));
    EXPECT_EQ(table().value(1, PhoneFields::Name), QByteArray("Chen Wei"));
}

TEST_F(PhoneDirectoryEndToEnd, RefusedWritesAreCountedAndReported)
{
    startPanel(QStringLiteral("1000"));
    logOn();
    fillTable(6);
    engine->faults().badReadback = 12; // every read-back of the first two entries differs
    click("WriteData");
    EXPECT_EQ(prompt.messages, QStringList{QStringLiteral("There was 2 error(s)")});
    EXPECT_EQ(memory().usedDirectorySlots(), 6); // stored, but not confirmed
    EXPECT_TRUE(form->context().directory.Edit3().endsWith(QStringLiteral("ffffff")));
    EXPECT_TRUE(child<QLineEdit>("Edit3")->text().endsWith(QStringLiteral("ffffff")));
    EXPECT_TRUE(child<QWidget>("DBGrid1")->isEnabled());
    // The panel's directory is not known to match the table.
    EXPECT_NE(form->statusSink().statusText(), QStringLiteral("Done"));
    EXPECT_FALSE(form->link().conn().DirectorySynced);
    EXPECT_FALSE(child<QCheckBox>("WrtChg")->isEnabled());
}

TEST_F(PhoneDirectoryEndToEnd, APanelThatStallsInTheMiddleOfTheDownloadGivesWhatArrived)
{
    startPanel(QStringLiteral("1000"));
    DemoData::seed(memory(), QDateTime(QDate(2026, 3, 5), QTime(14, 22, 10)));
    logOn();
    engine->faults().stallAfter = 800;

    click("GetData");
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_EQ(prompt.messages[0],
              QStringLiteral("communication error\r\nThe download was cut short: the table holds the %1 entries "
                             "that arrived,\r\nnot the Corvalen's whole phone list.")
                  .arg(table().count()));
    EXPECT_GT(table().count(), 0);
    EXPECT_LT(table().count(), 30); // the demo panel holds thirty residents
    EXPECT_EQ(table().value(0, PhoneFields::Name), QByteArray("Adams Helen"));
    EXPECT_FALSE(child<QWidget>("Edit2")->isVisible());
    // A partial reply does not stand for the panel's directory.
    EXPECT_FALSE(form->link().conn().DirectorySynced);
    EXPECT_FALSE(child<QCheckBox>("WrtChg")->isEnabled());
}
