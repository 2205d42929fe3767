// The RFID store as a backup keeps it: taken from the panel's reply, written
// to its file and read back unchanged.
#include "rfid/StoreImage.h"

#include <gtest/gtest.h>

namespace {
QByteArray reply(int records, const QByteArray &first = "1408 101???04:1;2<3=4102???04>5?60718")
{
    QByteArray text = "s14081535\r\n";
    for (int i = 0; i < records; ++i) {
        const QByteArray number = QByteArray::number(1408 + i);
        text += (i == 0 ? first : number + ' ').leftJustified(69, '?') + "\r\n";
    }
    return text + "OK\r\n";
}
} // namespace

TEST(StoreImageForm, AWholeReplyGoesToItsFileAndBackByteForByte)
{
    QString why;
    const std::optional<StoreImage> image = StoreImage::fromReply(reply(128), &why);
    ASSERT_TRUE(image) << qPrintable(why);
    EXPECT_EQ(image->record(1408), QByteArray("101???04:1;2<3=4102???04>5?60718").leftJustified(64, '?'));
    EXPECT_TRUE(image->isBlank(1409));
    ASSERT_EQ(image->codeCount(), 2);
    EXPECT_EQ(image->entries().at(0).room, QByteArray("101"));
    EXPECT_EQ(image->entries().at(0).code, QByteArray("04A1B2C3D4"));
    EXPECT_EQ(image->entries().at(1).code, QByteArray("04E5F60718"));

    const QByteArray file = image->toFile();
    EXPECT_TRUE(file.startsWith("corvalen-rfid-store 1\r\n1408 101???04:1;2<3=4"));
    EXPECT_EQ(file.count("\r\n"), 129);
    const std::optional<StoreImage> back = StoreImage::fromFile(file, &why);
    ASSERT_TRUE(back) << qPrintable(why);
    EXPECT_TRUE(*back == *image);
    EXPECT_EQ(back->toFile(), file);
}

TEST(StoreImageForm, AShortOrUnendedReplyAndAForeignFileAreRefusedWithTheReason)
{
    QString why;
    EXPECT_FALSE(StoreImage::fromReply(reply(127), &why));
    EXPECT_EQ(why, QStringLiteral("the reply held 127 of the 128 records."));
    QByteArray unended = reply(128);
    unended.chop(4);
    EXPECT_FALSE(StoreImage::fromReply(unended, &why));
    EXPECT_EQ(why, QStringLiteral("the reply did not end with OK."));

    EXPECT_FALSE(StoreImage::fromFile("Name,RoomNumber\r\n", &why));
    EXPECT_EQ(why, QStringLiteral("It is not an RFID store file."));
    EXPECT_FALSE(StoreImage::fromFile("corvalen-rfid-store 1\r\n1536 " + QByteArray(64, '?') + "\r\n", &why));
    EXPECT_EQ(why, QStringLiteral("Line 2 is not a record of the RFID store."));
    EXPECT_FALSE(StoreImage::fromFile("corvalen-rfid-store 1\r\n1408 short\r\n", &why));
    // Records the file does not name stay erased.
    const std::optional<StoreImage> sparse =
        StoreImage::fromFile("corvalen-rfid-store 1\r\n1500 " + QByteArray("7????????1").leftJustified(64, '?') + "\r\n", &why);
    ASSERT_TRUE(sparse);
    EXPECT_TRUE(sparse->isBlank(1408));
    EXPECT_EQ(sparse->codeCount(), 1);
}
