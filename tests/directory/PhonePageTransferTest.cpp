// GetData and WriteAllData through the phone page, on virtual time against
// the virtual panel (EnginePanel): the progress field during a download, the
// grid disabled during the rewrite, and the 1,024-entry upload of a 1000
// model.
#include "PhonePageFixture.h"
#include "directory/DirectoryTransfer.h"
#include "directory/widgets/PhoneGridView.h"
#include "support/EnginePanel.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

struct PageTransferFixture : PhonePageFixture
{
    std::unique_ptr<EnginePanel> panel;
    PhoneGridView *grid = child<PhoneGridView>("DBGrid1");
    QLineEdit *progress = child<QLineEdit>("Edit2");

    void connect(const QString &model, qint32 directoryEnd)
    {
        panel = std::make_unique<EnginePanel>(h.port, model);
        h.openPort();
        h.link.WriteDirect("\r");
        h.link.WriteDirect("a1234\r");
        h.link.PumpWait(50);
        ASSERT_TRUE(panel->engine().loggedOn());
        h.logOn(directoryEnd);
        page.setOnline(true);
    }
    void addEntries(int n)
    {
        Table::ControlsPause quiet(table);
        for (int i = 0; i < n; ++i)
            table.appendRecord({"Resident " + QByteArray::number((i * 7919) % 10000), QByteArray::number(100 + i),
                                "0211*#p", "1234", "", "", "", ""});
    }
};

} // namespace

TEST_F(PageTransferFixture, GetDataShowsTheLineCountWhileTheReplyArrivesThenTheResidents)
{
    connect(QStringLiteral("1000"), 0x9000);
    for (int r = 0; r < 30; ++r)
        panel->memory().setRecord(128 + 2 * r,
                                  QByteArray::number(101 + r) + ",1234,,,0211:;<,Resident " + QByteArray::number(r));
    addEntries(5); // an older list the grid shows while the download runs
    table.first();

    QList<int> counts;
    bool hiddenOnce = false, gridMoved = false;
    QObject::connect(&page.transfer(), &DirectoryTransfer::lineCountChanged, &page, [&](int lines) {
        hiddenOnce |= !progress->isVisible();
        EXPECT_EQ(progress->text(), QString::number(lines));
        counts << lines;
        // A click on the grid meanwhile does not move the table.
        const QRect cell = grid->visualRect(grid->model()->index(3, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        gridMoved |= table.position() != 1;
    });
    QTest::mouseClick(button("GetData"), Qt::LeftButton);

    EXPECT_FALSE(hiddenOnce);
    EXPECT_FALSE(gridMoved);
    ASSERT_GE(counts.size(), 2);
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    // Line ends split between two chunks are not counted: close to the
    // 1027 lines (the first, 1025 slots, "OK"), never above.
    EXPECT_GT(counts.last(), 700);
    EXPECT_LE(counts.last(), 1027);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(h.prompt.messages.isEmpty());

    ASSERT_EQ(table.count(), 30);
    EXPECT_EQ(grid->model()->rowCount(), 30);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(child<PhoneEdit>("Namef")->bytes(), QByteArray("Resident 0"));
    EXPECT_EQ(child<PhoneEdit>("PHnumber")->bytes(), QByteArray("0211*#p"));
    EXPECT_EQ(child<QLabel>("totrec")->text(), QStringLiteral("30"));
    EXPECT_TRUE(child<QCheckBox>("WrtChg")->isEnabled());
}

TEST_F(PageTransferFixture, WriteAllDataPutsAllOf1024EntriesIntoA1000Model)
{
    connect(QStringLiteral("1000"), 0x9000);
    addEntries(1024);
    table.first();
    bool gridOffDuringRewrite = false;
    QObject::connect(&page.transfer(), &DirectoryTransfer::gridEnabledChanged, &page,
                     [&](bool enabled) { gridOffDuringRewrite |= !enabled && !grid->isEnabled(); });
    QTest::mouseClick(button("WriteData"), Qt::LeftButton);

    EXPECT_TRUE(h.prompt.messages.isEmpty()) << h.prompt.messages.join(QStringLiteral(" / ")).toStdString();
    EXPECT_EQ(panel->memory().usedDirectorySlots(), 1024);
    EXPECT_EQ(panel->memory().record(128), QByteArray("100,1234,,,0211:;<,Resident 0"));
    EXPECT_FALSE(panel->memory().record(1151).isEmpty());
    EXPECT_TRUE(gridOffDuringRewrite);
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_EQ(h.status.status(), QStringLiteral("Done"));
    // The table is sorted by name with fresh slots; the fields show the first.
    EXPECT_EQ(table.value(0, PhoneFields::Addr), QByteArray("1000"));
    EXPECT_EQ(table.value(1023, PhoneFields::Addr), QByteArray("8FE0"));
    EXPECT_EQ(child<PhoneEdit>("Namef")->bytes(), QByteArray("Resident 0"));
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(grid->model()->rowCount(), 1024);

    // One more than the model takes is refused before anything is sent.
    addEntries(1);
    h.port.clearLog();
    QTest::mouseClick(button("WriteData"), Qt::LeftButton);
    EXPECT_EQ(h.prompt.messages.value(0),
              QStringLiteral("There are to many records to store\r\nto this Corvalen version.\r\n1024 is the limit."));
    EXPECT_TRUE(h.port.commands().isEmpty());
}

TEST_F(PageTransferFixture, TheTransferButtonsFollowTheConnection)
{
    EXPECT_FALSE(button("GetData")->isEnabled());
    EXPECT_FALSE(button("WriteData")->isEnabled());
    EXPECT_EQ(button("GetData")->statusTip(), QStringLiteral("Retrive All Corvalen data"));
    EXPECT_EQ(button("WriteData")->text(), QStringLiteral("WriteAllData"));
    page.setOnline(true);
    EXPECT_TRUE(button("GetData")->isEnabled());
    EXPECT_TRUE(button("WriteData")->isEnabled());
    page.setOnline(false);
    EXPECT_FALSE(button("GetData")->isEnabled());
}
