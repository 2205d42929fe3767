#include "link/TransferAnimation.h"
#include "link/widgets/JpegPicture.h"
#include "link/widgets/TTransferF.h"
#include "support/Recorders.h"

#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

TEST(TransferAnimationTest, CyclesImage2Image3Image2Image1AndRestartsOnShow)
{
    TransferAnimation animation;
    QList<int> shown;
    for (int tick = 0; tick < 6; ++tick)
        shown << animation.tick();
    EXPECT_EQ(shown, (QList<int>{2, 3, 2, 1, 2, 3}));
    animation.restart();
    EXPECT_EQ(animation.tick(), 2);
}

TEST(JpegPictureTest, DecodesTheShippedBannersAndRefusesDamagedData)
{
    for (const char *name : {"transfer1", "transfer2", "transfer3"}) {
        const QImage image = JpegPicture::load(QStringLiteral(":/resources/%1.jpg").arg(QLatin1String(name)));
        EXPECT_EQ(image.size(), QSize(265, 73)) << name;
    }
    EXPECT_TRUE(JpegPicture::decode(QByteArray()).isNull());
    EXPECT_TRUE(JpegPicture::decode(QByteArrayLiteral("\xff\xd8\xff\xe0 not a picture")).isNull());
    // A cut-off picture decodes as far as it goes, or not at all; it never ends the program.
    QFile banner(QStringLiteral(":/resources/transfer1.jpg"));
    ASSERT_TRUE(banner.open(QIODevice::ReadOnly));
    const QImage cut = JpegPicture::decode(banner.readAll().left(600));
    EXPECT_TRUE(cut.isNull() || cut.size() == QSize(265, 73));
    QByteArray garbage(4000, '\x5a');
    EXPECT_TRUE(JpegPicture::decode(garbage).isNull());
}

TEST(TransferWindowTest, ShowingSaysDownLoadingAndTheTimerRunsThePictures)
{
    RecordingStatus status;
    TTransferF window(status);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.size(), QSize(265, 73));
    for (const char *name : {"Image1", "Image2", "Image3"}) {
        const QLabel *picture = window.findChild<QLabel *>(QLatin1String(name));
        ASSERT_NE(picture, nullptr) << name;
        EXPECT_EQ(picture->pixmap().size(), QSize(265, 73)) << name;
    }

    window.Timer1Timer(); // the timer also ticks while hidden
    window.show();
    EXPECT_EQ(status.statusTexts, QStringList{QStringLiteral("DownLoading.")});
    QList<int> shown;
    for (int tick = 0; tick < 4; ++tick) {
        window.Timer1Timer();
        shown << window.shownImage();
    }
    EXPECT_EQ(shown, (QList<int>{2, 3, 2, 1}));
}

TEST(TransferWindowTest, HidingSaysDoneOnlyWhenTheWindowWasShowing)
{
    RecordingStatus status;
    TTransferF window(status);
    window.hide();
    EXPECT_TRUE(status.statusTexts.isEmpty());
    window.show();
    window.hide();
    EXPECT_EQ(status.statusTexts, (QStringList{"DownLoading.", "Done"}));
    window.hide();
    EXPECT_EQ(status.statusTexts.size(), 2);
}
