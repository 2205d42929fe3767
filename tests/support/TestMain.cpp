#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Every test executable runs with a QApplication on the offscreen platform,
// so that widget tests need no display; codec tests simply ignore it.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Settings a test writes go to ~/.qttest, never into the user's own.
    QStandardPaths::setTestModeEnabled(true);
    return RUN_ALL_TESTS();
}
