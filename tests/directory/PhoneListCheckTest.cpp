// What a put may send of a phone list, judged from the file alone: files
// that are not phone lists, rooms that do not fit, and every value that
// would not arrive as the file holds it.
#include "directory/PhoneListCheck.h"

#include <gtest/gtest.h>

using PhoneListCheck::Purpose;

namespace {
const QByteArray kHeader = "Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n";

QString joined(const QStringList &lines)
{
    return lines.join(QLatin1Char('|'));
}
} // namespace

TEST(PhoneListCheck, AFileThatIsNotAPhoneListIsRefusedNamingWhatItHolds)
{
    struct Case
    {
        QByteArray content;
        const char *says;
    };
    const Case cases[] = {
        {QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20) + QByteArray(400, '\x90'),
         "this file holds binary data"},
        {"# Network services, Internet style\n#\ntcpmux\t\t1/tcp\nssh\t\t22/tcp\n",
         "its first line reads \"# Network services, Internet style\""},
        {"Corvalen time when saved was: 12:00:00  01/03/2024\r\nCurrent time when Loaded was: 12:00:05  01/03/2024\r\n"
         "Room,Relay,Source\r\n101,1,Code\r\n",
         "its first line reads \"Corvalen time when saved was: 12:00:00  01/03/2024\""},
        {"name,email\r\nAdams,adams@example.org\r\n", "its first line reads \"name,email\""},
    };
    for (const Case &c : cases) {
        const PhoneListCheck::Result r = PhoneListCheck::check(c.content, QStringLiteral("x.csv"), Purpose::Directory);
        EXPECT_TRUE(r.refusal.startsWith(QStringLiteral("x.csv is not a phone list"))) << r.refusal.toStdString();
        EXPECT_TRUE(r.refusal.contains(QLatin1String(c.says))) << r.refusal.toStdString();
        EXPECT_EQ(PhoneListCheck::check(c.content, QStringLiteral("x.csv"), Purpose::Tags).refusal, r.refusal);
    }
    EXPECT_EQ(PhoneListCheck::check("\r\n", QStringLiteral("x.csv"), Purpose::Directory).refusal,
              QStringLiteral("x.csv holds no entries."));
    EXPECT_EQ(PhoneListCheck::check(kHeader, QStringLiteral("x.csv"), Purpose::Directory).refusal,
              QStringLiteral("x.csv holds no entries."));
    // Columns in another order and case, without RFID and Addr: a phone list.
    EXPECT_TRUE(PhoneListCheck::check("roomnumber,NAME\r\n101,Adams\r\n", QStringLiteral("x.csv"), Purpose::Directory)
                    .refusal.isEmpty());
}

TEST(PhoneListCheck, ARoomThatDoesNotFitRefusesTheDirectoryNamingItsRows)
{
    const QByteArray list = kHeader + "Adams Helen,101,,,,,,1000\r\n"
                            "Baker Tom,1023456789012,,,,,,1020\r\n"
                            "\r\n" // a blank line still counts as a row of the file
                            "Carter Ann,12a,,,,,,1040\r\n"
                            "Dunn Lee, 205,,,,,,1060\r\n"; // leading blanks are dropped by the write
    const PhoneListCheck::Result r = PhoneListCheck::check(list, QStringLiteral("gate.csv"), Purpose::Directory);
    EXPECT_EQ(r.refusal, QStringLiteral("gate.csv has rooms the Corvalen cannot hold (a room is 1 to 6 digits): "
                                        "row 3 \"Baker Tom\" \"1023456789012\", row 5 \"Carter Ann\" \"12a\"."));
}

TEST(PhoneListCheck, ValuesTheWriteWouldCutOrDropAreWarningsNamingRowAndField)
{
    const QByteArray list = kHeader + "Adams Helen-Smithson of Leeds,101,0171 555 1234,12a4,,,,1000\r\n"
                            "Baker Tom,102,abc-def,,123456,9x,,1020\r\n"
                            "Carter Ann,103,012345678901234567890,,,,,1040\r\n"
                            "Dunn Lee,104,*12#p3,1234,0042,07,,1060\r\n"
                            ",105,,,,,,1080\r\n";
    const PhoneListCheck::Result r = PhoneListCheck::check(list, QStringLiteral("gate.csv"), Purpose::Directory);
    EXPECT_TRUE(r.refusal.isEmpty()) << r.refusal.toStdString();
    EXPECT_EQ(r.entries, 5);
    EXPECT_EQ(r.written, 4);
    const QStringList expected = {
        "row 2 \"Adams Helen-Smithson of Leeds\": Name cut to 16 characters: \"Adams Helen-Smit\"",
        "row 2 \"Adams Helen-Smithson of Leeds\": PHnumber \"0171 555 1234\" goes as \"0171\" (the panel dials "
        "digits, *, # and p, at most 16)",
        "row 2 \"Adams Helen-Smithson of Leeds\": Code1 \"12a4\" goes as \"12\" (at most 4 digits)",
        "row 3 \"Baker Tom\": PHnumber \"abc-def\" goes as nothing (the panel dials digits, *, # and p, at most 16)",
        "row 3 \"Baker Tom\": Code2 \"123456\" goes as \"1234\" (at most 4 digits)",
        "row 3 \"Baker Tom\": spare \"9x\" goes as \"9\" (at most 2 digits)",
        "row 4 \"Carter Ann\": PHnumber \"012345678901234567890\" goes as \"0123456789012345\" (the panel dials "
        "digits, *, # and p, at most 16)",
        "row 6: no Name: the Corvalen takes an entry without a Name or a Room for an empty slot",
    };
    EXPECT_EQ(joined(r.warnings), joined(expected));
    // The table takes the entries as the window's Open does.
    ASSERT_EQ(r.read.rows.size(), 5);
    EXPECT_EQ(r.read.rows.at(0).at(0), QByteArray("Adams Helen-Smit"));
}

TEST(PhoneListCheck, AListWithoutAnyNameAndRoomIsNoDirectory)
{
    // What rfid get writes: rooms and codes only.
    const QByteArray tags = kHeader + ",101,,,,,04A1B2C3D4,p2\r\n,102,,,,,04A1B2C3D5,p3\r\n";
    const PhoneListCheck::Result directory = PhoneListCheck::check(tags, QStringLiteral("tags.csv"), Purpose::Directory);
    EXPECT_TRUE(directory.refusal.startsWith(QStringLiteral("None of the 2 entries of tags.csv has both a Name and a Room")))
        << directory.refusal.toStdString();
    const PhoneListCheck::Result store = PhoneListCheck::check(tags, QStringLiteral("tags.csv"), Purpose::Tags);
    EXPECT_TRUE(store.refusal.isEmpty());
    EXPECT_TRUE(store.warnings.isEmpty()) << joined(store.warnings).toStdString();
    EXPECT_EQ(store.written, 2);
}

TEST(PhoneListCheck, TheTagStoreTakesRoomsAndCodesOfItsOwnWidthsOnly)
{
    const QByteArray list = kHeader + "Adams,101,,,,,04A1B2C3D4,1000\r\n"
                            "Baker,1234567,,,,,04A1B2C3D5,1020\r\n"
                            "Carter,103,,,,,04A1B2C3D4EE,1040\r\n"
                            "Dunn,,,,,,04A1B2C3D6,1060\r\n"
                            "Evans,105,,,,,,1080\r\n"; // no code: nothing to write, nothing to say
    const PhoneListCheck::Result r = PhoneListCheck::check(list, QStringLiteral("t.csv"), Purpose::Tags);
    EXPECT_EQ(r.refusal, QStringLiteral("t.csv has rooms longer than the 6 characters of the RFID store: row 3 "
                                        "\"Baker\" \"1234567\".\r\nt.csv has codes longer than the 10 characters of a "
                                        "tag: row 4 \"Carter\" \"04A1B2C3D4EE\"."));
    EXPECT_EQ(joined(r.warnings), QStringLiteral("row 5 \"Dunn\": RFID \"04A1B2C3D6\" has no Room and is not written"));
    // A phone list without codes writes nothing to the store.
    const PhoneListCheck::Result none =
        PhoneListCheck::check(kHeader + "Adams,101,,,,,,1000\r\n", QStringLiteral("t.csv"), Purpose::Tags);
    EXPECT_TRUE(none.refusal.isEmpty());
    EXPECT_EQ(none.written, 0);
}

TEST(PhoneListCheck, ASpreadsheetListWarnsOfLettersThePanelCannotHoldByItsOwnRows)
{
    const QByteArray sheet = QByteArray("\xEF\xBB\xBF") + "Name;RoomNumber;PHnumber;Notes\r\n"
                             ";;;\r\n"
                             "\xC5\x81ukasz;101;0171;gate side\r\n"
                             "\"Smith, J\";;0172;\r\n";
    const PhoneListCheck::Result r = PhoneListCheck::check(sheet, QStringLiteral("s.csv"), Purpose::Directory);
    EXPECT_TRUE(r.refusal.isEmpty()) << r.refusal.toStdString();
    const QStringList expected = {
        QStringLiteral("row 3 \"\u0141ukasz\": Name \"\u0141ukasz\" goes as \"?ukasz\": the panel cannot hold some of its "
                       "characters"),
        QStringLiteral("row 4 \"Smith, J\": no Room: the Corvalen takes an entry without a Name or a Room for an empty "
                       "slot"),
    };
    EXPECT_EQ(joined(r.warnings), joined(expected));
    EXPECT_EQ(r.notes, QStringLiteral("Columns of s.csv not read: \"Notes\"."));
}
