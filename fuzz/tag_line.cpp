// The reader's tag line: TagLine::CheckTagLine on arbitrary text, and the
// tag read of the RFID page taking it from the line in arbitrary chunks.
// A code is accepted only with a matching check pair and is then the
// line's first ten characters, all hexadecimal; the page shows either that
// code (in upper case) or the read error, never half of each.
//
// Input: one byte for the chunk plan, then what the panel sends.
#include "directory/PhoneFields.h"
#include "link/ReplyMemo.h"
#include "rfid/TagLine.h"
#include "rfid/TagReader.h"
#include "support/FuzzApp.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void checkCode(const QByteArray &line, const QByteArray &code)
{
    if (code.isEmpty())
        return;
    FUZZ_CHECK(code.size() == 10);
    FUZZ_CHECK(code == line.left(10));
    int check = 0;
    for (int i = 0; i < 12; i += 2) {
        const int high = hexValue(line.at(i));
        const int low = hexValue(line.at(i + 1));
        FUZZ_CHECK(high >= 0 && low >= 0);
        check ^= high * 16 + low;
    }
    FUZZ_CHECK(check == 0); // the five bytes and their check pair
}

class SilentBeeper : public Beeper
{
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray sent = FuzzInput::bytes(data + 1, size - 1);
    checkCode(sent, TagLine::CheckTagLine(sent));

    FuzzApp app;
    app.port.setChunkPlan(ChunkPlan(data[0]));
    Table &table = app.directory.PhoneTable;
    table.appendRecord({"Owner", "0042", "", "", "", "", sent.left(10), "1000"});
    RfidPageState page;
    SilentBeeper beeper;
    TagReader reader(app.ctx, page, beeper);
    FUZZ_CHECK(reader.Get_IDClick());
    app.port.inject(sent);
    app.link.PumpWait(1);
    for (int tick = 0; tick < TagReader::kTicks && page.Timer3Active(); ++tick)
        reader.Timer3Timer();

    FUZZ_CHECK(!page.Timer3Active());
    const QByteArray line = app.link.RxMemo().line(0);
    const QByteArray code = TagLine::CheckTagLine(line);
    checkCode(line, code);
    if (sent.isEmpty()) {
        FUZZ_CHECK(beeper.beeps == 0);
        return 0;
    }
    FUZZ_CHECK(beeper.beeps == 1);
    FUZZ_CHECK(page.rfID() == code.toUpper());
    FUZZ_CHECK((page.iderror() == RfidPageState::kReadError) == code.isEmpty());
    return 0;
}
