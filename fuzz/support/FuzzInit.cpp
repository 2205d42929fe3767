#include <QCoreApplication>

#include <cstdio>

// Once per fuzzer process: a QCoreApplication for the Qt classes that want
// one, and Qt's own messages kept off the output after the first few (a
// fuzzer runs millions of inputs; qFatal still ends the run).
namespace {
int shownMessages = 0;

void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(text));
        std::abort();
    }
    if (shownMessages < 5) {
        ++shownMessages;
        std::fprintf(stderr, "Qt: %s\n", qPrintable(text));
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qInstallMessageHandler(quietMessages);
    new QCoreApplication(*argc, *argv);
    return 0;
}
