#include "DirectoryPanel.h"
#include "directory/DirectoryTransfer.h"
#include "directory/PhoneFields.h"
#include "directory/PhoneListFile.h"
#include "support/AppHarness.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr qint32 k100Model = 0x1D00;
const QString kReplace = QStringLiteral("This will replace ALL numbers currently\r\nstored in the Corvalen, Continue?");

struct UploadFixture : ::testing::Test
{
    AppHarness h;
    DirectoryPanel panel{k100Model};
    DirectoryTransfer transfer{h.ctx};
    Table &table = h.directory.PhoneTable;

    UploadFixture()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        h.logOn(k100Model);
        panel.attach(h.port);
    }
    void addEntries(int n)
    {
        for (int i = 0; i < n; ++i) {
            // Names in reverse order, so the sort has work to do.
            const QByteArray name = "Resident " + QByteArray::number(999 - i);
            table.appendRecord({name, QByteArray::number(100 + i), "0123", "", "", "", "", "p" + QByteArray::number(i)});
        }
    }
    QList<QByteArray> commandWords() const
    {
        QList<QByteArray> out;
        for (const QByteArray &c : h.port.commands())
            out << c.left(5);
        return out;
    }
};

} // namespace

TEST_F(UploadFixture, A100ModelTakes104EntriesInSlots1000To1CE0SortedByName)
{
    addEntries(104);
    QSignalSpy grid(&transfer, &DirectoryTransfer::gridEnabledChanged);
    transfer.WriteDataClick();

    EXPECT_EQ(h.prompt.questions, QStringList{kReplace});
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    ASSERT_EQ(panel.records.size(), 104);
    EXPECT_EQ(panel.records.firstKey(), 128);
    EXPECT_EQ(panel.records.lastKey(), 231);
    EXPECT_EQ(panel.records.value(128), QByteArray("203,,,,0123,Resident 896")); // the first by name
    EXPECT_EQ(table.value(0, "Addr"), QByteArray("1000"));
    EXPECT_EQ(table.value(103, "Addr"), QByteArray("1CE0"));
    EXPECT_EQ(table.value(103, "Name"), QByteArray("Resident 999"));
    EXPECT_EQ(table.position(), 1);

    const QList<QByteArray> words = commandWords();
    EXPECT_EQ(words.mid(0, 4), (QList<QByteArray>{"", "f5a", "b0128", "r0128"}));
    EXPECT_EQ(words.last(), QByteArray("r0231"));
    EXPECT_EQ(h.status.statusTexts, (QStringList{"Sorting", "Sorting Addresses", "Erasing Current phone List",
                                                 "Rewriting Phone List", "Done"}));
    ASSERT_EQ(grid.size(), 2);
    EXPECT_FALSE(grid.first().first().toBool());
    EXPECT_TRUE(grid.last().first().toBool());
    EXPECT_TRUE(h.link.conn().DirectorySynced);
    EXPECT_TRUE(h.directory.writeEachChangeEnabled());
    EXPECT_TRUE(h.directory.ScrollSyncOn);
    EXPECT_FALSE(h.directory.TableLoading);
    EXPECT_FALSE(h.feedback.windowShown);
    EXPECT_FALSE(h.feedback.busyCursor);
    EXPECT_TRUE(h.feedback.keepAlive);
}

TEST_F(UploadFixture, A105thEntryIsRefusedWithTheModelsLimit)
{
    addEntries(105);
    transfer.WriteDataClick();
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("There are to many records to store\r\nto this Corvalen version.\r\n"
                                         "104 is the limit.")});
    EXPECT_TRUE(h.prompt.questions.isEmpty());
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_EQ(table.value(0, "Addr"), QByteArray("p0"));

    h.prompt.messages.clear();
    h.link.conn().DirectoryEnd = 0; // a model that was not recognised
    table.emptyTable();
    addEntries(1);
    transfer.WriteDataClick();
    EXPECT_TRUE(h.prompt.messages.value(0).endsWith(QStringLiteral("-128 is the limit.")));
    EXPECT_TRUE(h.port.commands().isEmpty());
}

TEST_F(UploadFixture, AnEmptyTableOrANoSendsNothing)
{
    transfer.WriteDataClick();
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_FALSE(h.link.conn().DirectorySynced);

    addEntries(3);
    h.prompt.answers = {false};
    transfer.WriteDataClick();
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_GE(table.find("Addr", "p0"), 0);
    EXPECT_EQ(table.find("Addr", "1000"), -1);
}

TEST_F(UploadFixture, NamesDifferingInCaseFollowTheCollationNotCharacterCodes)
{
    for (const char *n : {"smith", "Smith", "Adams", "adams", "Baker"})
        table.appendRecord({n, "1"});
    transfer.WriteDataClick();
    QList<QByteArray> order;
    for (int record = 128; record <= 132; ++record)
        order << panel.records.value(record).split(',').last();
    EXPECT_EQ(order, (QList<QByteArray>{"adams", "Adams", "Baker", "smith", "Smith"}));
}

TEST_F(UploadFixture, EntryTextsKeepEmptyFieldsAndARoomWithALetterGoesAsZero)
{
    table.appendRecord({"A Empty phone", "101", "", "12", "", "3"});
    table.appendRecord({"B Letter room", "12a", "*1#p"});
    transfer.WriteDataClick();
    EXPECT_EQ(panel.records.value(128), QByteArray("101,12,,3,,A Empty phone"));
    EXPECT_EQ(panel.records.value(129), QByteArray("0,,,,:1;<,B Letter room"));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Must use Numeric digits in\r\nRoomNumber & Codes fields")});
    EXPECT_EQ(table.value(1, "RoomNumber"), QByteArray("12a")); // the table keeps what it had
}

TEST_F(UploadFixture, AFailedEraseKeepsTheNewSlotsAndSaveStoresThem)
{
    addEntries(3);
    panel.eraseAnswers = false;
    transfer.WriteDataClick();
    EXPECT_EQ(commandWords(), (QList<QByteArray>{"", "f5a", "", "f5a"}));
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("Could not clear All,\r\nSave your files and\r\nRecheck connection")});
    EXPECT_EQ(table.value(0, "Addr"), QByteArray("1000"));
    EXPECT_EQ(table.value(2, "Addr"), QByteArray("1040"));
    EXPECT_FALSE(h.feedback.windowShown);
    EXPECT_FALSE(h.link.conn().DirectorySynced);

    QTemporaryDir dir;
    PhoneListFile file(h.ctx);
    ASSERT_TRUE(file.saveAs(dir.filePath(QStringLiteral("after.csv"))));
    QFile saved(dir.filePath(QStringLiteral("after.csv")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains(",1040\r\n"));
}

TEST_F(UploadFixture, ARefusedEntryIsRetriedThreeTimesCountedAndTheRestGoesOn)
{
    addEntries(3);
    panel.refusing = {129};
    h.directory.setEdit3(QStringLiteral("7424"));
    transfer.WriteDataClick();

    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("There was 1 error(s)")});
    EXPECT_EQ(h.directory.Edit3(), QStringLiteral("7424fff"));
    EXPECT_EQ(panel.records.keys(), (QList<int>{128, 130}));
    // b, three read-backs, then three times: CR, w, read-back.
    QList<QByteArray> forRecord;
    bool on = false;
    for (const QByteArray &w : commandWords()) {
        if (w == "b0129")
            on = true;
        if (w == "b0130")
            break;
        if (on)
            forRecord << w;
    }
    EXPECT_EQ(forRecord, (QList<QByteArray>{"b0129", "r0129", "r0129", "r0129", "", "w0129", "r0129", "", "w0129",
                                            "r0129", "", "w0129", "r0129"}));
    // The panel's slot 1020 is empty while the table names a resident there:
    // the table is not the panel's directory, and no single write may trust it.
    EXPECT_FALSE(h.status.statusTexts.contains(QStringLiteral("Done")));
    EXPECT_FALSE(h.link.conn().DirectorySynced);
    EXPECT_FALSE(h.directory.writeEachChangeEnabled());
}

TEST_F(UploadFixture, APanelThatFallsSilentAfterTheEraseStopsTheUploadWithinSecondsAsALostLine)
{
    addEntries(30);
    int blocks = 0;
    bool silent = false;
    h.port.setResponder([&](const QByteArray &command) {
        // Three entries go, then not a byte comes back; the line stays open.
        if (command.startsWith('b') && ++blocks > 3)
            silent = true;
        return silent ? QByteArray() : panel.answer(command);
    });
    const qint64 start = h.elapsedTicks();
    EXPECT_EQ(transfer.WriteDataClick(), DirectoryTransfer::Outcome::Unfinished);
    // Not 21 entries of retries (some three minutes): the first silent entry.
    EXPECT_LT((h.elapsedTicks() - start) * Waiter::kTickNs, 15000000000LL);
    EXPECT_FALSE(commandWords().contains("b0132"));
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("The Corvalen stopped answering: no reply came to the last writes.\r\n"
                                         "Upload did not finish,\r\n3 of 30 entries written.\r\n"
                                         "The Corvalen phone list is incomplete.")});
    EXPECT_FALSE(h.status.statusTexts.contains(QStringLiteral("Done")));
    EXPECT_FALSE(h.link.conn().DirectorySynced);
    EXPECT_FALSE(h.directory.writeEachChangeEnabled());
    EXPECT_TRUE(h.feedback.keepAlive);
    EXPECT_FALSE(h.feedback.busyCursor);
}

TEST_F(UploadFixture, TheUploadStopsAt21RefusedEntries)
{
    addEntries(30);
    for (int record = 128; record < 160; ++record)
        panel.refusing.insert(record);
    EXPECT_EQ(transfer.WriteDataClick(), DirectoryTransfer::Outcome::SomeRefused);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("There was 21 error(s)")});
    EXPECT_FALSE(commandWords().contains("b0149"));
    EXPECT_TRUE(commandWords().contains("b0148"));
    EXPECT_EQ(h.status.status(), QStringLiteral("Rewriting Phone List")); // not "Done"
    EXPECT_FALSE(h.link.conn().DirectorySynced);
}

TEST_F(UploadFixture, TheUploadStopsAfterTheCurrentEntryWhenTheLinkIsLoggedOff)
{
    addEntries(10);
    h.port.setResponder([this](const QByteArray &command) {
        if (command.startsWith("b0132"))
            h.link.conn().LoggedOn = false;
        return panel.answer(command);
    });
    transfer.WriteDataClick();
    EXPECT_EQ(panel.records.lastKey(), 132);
    EXPECT_FALSE(commandWords().contains("b0133"));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Upload did not finish,\r\n5 of 10 entries written.\r\n"
                                                            "The Corvalen phone list is incomplete.")});
    EXPECT_EQ(h.status.status(), QStringLiteral("Rewriting Phone List")); // not "Done"
    EXPECT_FALSE(h.link.conn().DirectorySynced);
    EXPECT_FALSE(h.directory.writeEachChangeEnabled());
    EXPECT_EQ(h.feedback.ledImage, 22);
}

TEST_F(UploadFixture, AGoodEntryCostsOnlyTheStatedWaits)
{
    addEntries(2);
    transfer.WriteDataClick();
    const QList<qint32> &w = h.waiter.waits();
    // Sorting 50, Sorting Addresses 50, then the erase: CR (1), 300, f5a (1), 100.
    ASSERT_GE(w.size(), 14);
    EXPECT_EQ(w.mid(0, 6), (QList<qint32>{50, 50, 1, 300, 1, 100}));
    // Each entry: b (1), 40 until "OK", then one read-back: r (1), 20.
    EXPECT_EQ(w.mid(6), (QList<qint32>{1, 40, 1, 20, 1, 40, 1, 20}));
}

// A CR, LF or NUL (from a file's "%c", "%n", "%0") would cut a command in two.
TEST_F(UploadFixture, AnEntryHoldingALineBreakRefusesTheUploadBeforeTheErase)
{
    addEntries(3);
    table.appendRecord({"Resident 5", "105", QByteArray("02\n11"), "", "", "", "", "p9"});
    panel.store(128, "1,,,,,Kept");
    table.first();
    transfer.WriteDataClick();
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("Cannot write an entry to the Corvalen:\r\n"
                                         "Name \"Resident 5\", RoomNumber \"105\"\r\n"
                                         "PHnumber \"02%n11\" holds a CR, LF or NUL character.\r\n"
                                         "Nothing was written to the Corvalen.")});
    EXPECT_TRUE(h.prompt.questions.isEmpty());
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_EQ(panel.records.value(128), QByteArray("1,,,,,Kept"));
    EXPECT_EQ(table.value(3, "Addr"), QByteArray("p9")); // neither sorted nor given new slots
    EXPECT_EQ(table.position(), 4);
}
