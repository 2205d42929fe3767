// The site book as a person may have edited it: arbitrary text read by the
// book's reader. Every mistake names a line of the text; a book without
// mistakes is written back by the writer and read again as the same sites,
// and the writer's text is a fixed point (written, read, written: the same
// bytes). Any value survives escaping.
//
// Input: the book's text.
#include "sites/SiteBookFormat.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = FuzzInput::bytes(data, size);
    const SiteBookFormat::Parsed parsed = SiteBookFormat::parse(text, QStringLiteral("/sites"));
    const int lines = int(text.count('\n')) + 1;
    for (const SiteBookFormat::Mistake &mistake : parsed.mistakes)
        FUZZ_CHECK(mistake.line >= 1 && mistake.line <= lines && !mistake.text.isEmpty());

    if (parsed.mistakes.isEmpty()) {
        const QByteArray written = SiteBookFormat::format(parsed.sites);
        const SiteBookFormat::Parsed again = SiteBookFormat::parse(written, QStringLiteral("/sites"));
        FUZZ_CHECK(again.mistakes.isEmpty());
        FUZZ_CHECK(!again.completed);
        FUZZ_CHECK(again.sites == parsed.sites);
        FUZZ_CHECK(SiteBookFormat::format(again.sites) == written);
    }

    const QString value = QString::fromUtf8(text);
    FUZZ_CHECK(SiteBookFormat::unescaped(SiteBookFormat::escaped(value)) == value);
    FUZZ_CHECK(!SiteBookFormat::escaped(value).contains(QLatin1Char('\n')));
    return 0;
}
