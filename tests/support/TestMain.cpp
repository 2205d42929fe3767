#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Writes how long each group of tests (GoogleTest's test suite) took, the
// longest first, to the file named by CORVALEN_SUITE_TIMES, so that a run
// of a slow executable says where its time went.
class SuiteTimes : public ::testing::EmptyTestEventListener
{
public:
    explicit SuiteTimes(QString fileName) : fileName_(std::move(fileName)) {}

    void OnTestProgramEnd(const ::testing::UnitTest &unit) override
    {
        std::vector<const ::testing::TestSuite *> suites;
        for (int i = 0; i < unit.total_test_suite_count(); ++i)
            if (unit.GetTestSuite(i)->test_to_run_count() > 0)
                suites.push_back(unit.GetTestSuite(i));
        std::stable_sort(suites.begin(), suites.end(),
                         [](const auto *a, const auto *b) { return a->elapsed_time() > b->elapsed_time(); });
        QByteArray text;
        for (const ::testing::TestSuite *suite : suites)
            text += QByteArray::number(double(suite->elapsed_time()) / 1000.0, 'f', 1).rightJustified(8) + " s  "
                  + suite->name() + " (" + QByteArray::number(suite->test_to_run_count()) + ")\n";
        text += QByteArray::number(double(unit.elapsed_time()) / 1000.0, 'f', 1).rightJustified(8) + " s  in all\n";
        QFile file(fileName_);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(text);
    }

private:
    QString fileName_;
};

} // namespace

// Every test executable runs with a QApplication on the offscreen platform,
// so that widget tests need no display; codec tests simply ignore it.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    const QString times = qEnvironmentVariable("CORVALEN_SUITE_TIMES");
    if (!times.isEmpty())
        ::testing::UnitTest::GetInstance()->listeners().Append(new SuiteTimes(times));
    QApplication app(argc, argv);
    // Settings a test writes go to ~/.qttest, never into the user's own.
    QStandardPaths::setTestModeEnabled(true);
    return RUN_ALL_TESTS();
}
