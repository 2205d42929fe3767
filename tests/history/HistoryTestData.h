#pragma once

// Contents for history tests: directories of numbered residents, parameter
// record sets and RFID stores, and a store in a temporary folder.
#include "history/HistoryContent.h"
#include "history/HistoryStore.h"
#include "rfid/StoreCodec.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace HistoryTestData {

inline PanelEntry resident(int n)
{
    PanelEntry e;
    e.SlotAddress = QByteArray::number(0x1000 + 0x20 * n, 16).toUpper();
    e.RoomNumber = QByteArray::number(100 + n);
    e.Code1 = QByteArray::number(1000 + n);
    e.Code2 = "";
    e.Spare = "";
    e.PHnumber = "0211" + QByteArray::number(n).rightJustified(4, '0');
    e.Name = "Resident " + QByteArray::number(n).rightJustified(4, '0');
    return e;
}

inline QList<PanelEntry> residents(int count)
{
    QList<PanelEntry> out;
    for (int n = 0; n < count; ++n)
        out.append(resident(n));
    return out;
}

inline ParameterRecordSet parameters()
{
    ParameterRecordSet set;
    set.setRecord(1, "01030503021414000000140?0001000<");
    set.setRecord(2, "Welcome to      Corvalen House  ");
    set.setRecord(3, QByteArray("Scroll one") + QByteArray(22, '\0'));
    set.setRecord(4, QByteArray("Scroll two") + QByteArray(22, '\0'));
    set.setRecord(5, "Pulse one       Pulse two       ");
    set.setRecord(6, QByteArray("1234") + QByteArray(28, char(0xFF)));
    for (int r = 7; r <= 10; ++r)
        set.setRecord(r, "3600" + QByteArray::number(2 * r - 13) + QByteArray(11, char(0xFF)) + "3600"
                             + QByteArray::number(2 * r - 12) + QByteArray(11, char(0xFF)));
    return set;
}

// Tags of rooms 101.. with codes 0A00000001.. packed four to a record.
inline StoreImage tags(int count)
{
    StoreImage image;
    QByteArray record;
    int number = StoreCodec::kFirstRecord;
    for (int i = 0; i < count; ++i) {
        record += StoreCodec::packEntry(QByteArray::number(101 + i), "0A" + QByteArray::number(i + 1).rightJustified(8, '0'));
        if (record.size() == StoreCodec::kRecordWidth || i == count - 1) {
            image.setRecord(number++, record);
            record.clear();
        }
    }
    return image;
}

inline HistoryRecord read(BackupKind kind, const QByteArray &content, const QDateTime &time = {})
{
    HistoryRecord r;
    r.kind = kind;
    r.action = HistoryAction::Read;
    r.content = content;
    r.model = QStringLiteral("Xarn1000");
    r.via = HistoryVia::kWindow;
    r.time = time;
    return r;
}

inline HistoryRecord readDirectory(const QList<PanelEntry> &entries, const QDateTime &time = {})
{
    return read(BackupKind::Directory, HistoryContent::ofDirectory(entries), time);
}

inline HistoryRecord writeDirectory(const QList<PanelEntry> &entries, const HistoryWriteResult &result,
                                    const QDateTime &time = {})
{
    HistoryRecord r = readDirectory(entries, time);
    r.action = HistoryAction::Write;
    r.result = result;
    return r;
}

// A fresh history in a temporary folder, open.
struct Folder : ::testing::Test
{
    QTemporaryDir dir;
    HistoryStore store{dir.filePath(QStringLiteral("site"))};
    QDateTime t0 = QDateTime(QDate(2026, 3, 14), QTime(9, 30, 0), Qt::UTC);

    void SetUp() override
    {
        QString why;
        ASSERT_TRUE(store.open(&why)) << why.toStdString();
    }
    qint64 add(const HistoryRecord &r)
    {
        const HistoryStore::Added added = store.add(r);
        EXPECT_TRUE(added.ok()) << added.error.toStdString();
        return added.id;
    }
    QDateTime at(int minutes) const { return t0.addSecs(60 * minutes); }
};

} // namespace HistoryTestData
