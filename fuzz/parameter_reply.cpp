// The parameter page's Read All on a scripted panel: the reply lines of
// "r0006", "d00020005", "r0001", "r0006" and "d00070010" sliced and decoded
// into the controls, in arbitrary chunks. The edits keep within their
// fields, and what the page would write back for what it read reads back as
// the same record: encode(decode(encode(x))) is encode(x) for the codes,
// messages, speed dials and system parameters.
//
// Input: one byte for the chunk plan, then the five replies separated by the
// line "===".
#include "parameters/ParameterControls.h"
#include "parameters/ParameterReads.h"
#include "parameters/ParameterRecords.h"
#include "parameters/SystemParameters.h"
#include "support/FuzzApp.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

constexpr ParamEdit kCodes[] = {ParamEdit::code_g1,  ParamEdit::code_g2,  ParamEdit::code_ic1,
                                ParamEdit::code_ic2, ParamEdit::code_sd1, ParamEdit::code_sd2};

void checkFields(const ParameterControls &c)
{
    for (ParamEdit code : kCodes)
        FUZZ_CHECK(c.text(code).size() <= 5); // four characters, or "ERROR"
    for (ParamEdit m : {ParamEdit::msg0, ParamEdit::msg1, ParamEdit::msg4, ParamEdit::msg5})
        FUZZ_CHECK(c.text(m).size() <= 16);
    for (ParamEdit m : {ParamEdit::msg2, ParamEdit::msg3})
        FUZZ_CHECK(c.text(m).size() <= 32);
    for (int i = int(ParamEdit::spd1); i <= int(ParamEdit::spd8); ++i)
        FUZZ_CHECK(c.text(ParamEdit(i)).size() <= 16);
    for (int i = 0; i < ParamEditCount; ++i)
        FUZZ_CHECK(!c.text(ParamEdit(i)).contains('\0'));
}

void checkRecordsRoundTrip(const ParameterControls &read, PhoneDirectory &directory)
{
    ParameterControls again(&directory);
    const QByteArray codes = ParameterRecords::EncodeGateCodes(read);
    FUZZ_CHECK(codes.size() == 32);
    ParameterRecords::DecodeGateCodes(again, codes);
    FUZZ_CHECK(ParameterRecords::EncodeGateCodes(again) == codes);
    for (int record = 2; record <= 5; ++record) {
        const QByteArray messages = ParameterRecords::EncodeMessages(read, record);
        FUZZ_CHECK(messages.size() == 32);
        ParameterRecords::DecodeMessages(again, record, messages);
        FUZZ_CHECK(ParameterRecords::EncodeMessages(again, record) == messages);
    }
    for (int record = 7; record <= 10; ++record) {
        const QByteArray dials = ParameterRecords::EncodeSpeedDials(read, record);
        FUZZ_CHECK(dials.size() == 32);
        ParameterRecords::DecodeSpeedDials(again, record, dials);
        FUZZ_CHECK(ParameterRecords::EncodeSpeedDials(again, record) == dials);
    }
}

void checkSystemRoundTrip(ParameterControls &read, PhoneDirectory &directory)
{
    FuzzPrompt prompt;
    const std::optional<QByteArray> payload = SystemParameters::EncodeSystemParameters(read, prompt);
    if (!payload)
        return; // an edit holds no number: the write stops with its message
    FUZZ_CHECK(payload->size() == 32);
    ParameterControls again(&directory);
    FUZZ_CHECK(SystemParameters::DecodeSystemParameters(again, *payload, prompt));
    const std::optional<QByteArray> payloadAgain = SystemParameters::EncodeSystemParameters(again, prompt);
    FUZZ_CHECK(payloadAgain && *payloadAgain == *payload);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    FuzzApp app;
    app.port.setChunkPlan(ChunkPlan(data[0]));
    app.answerInTurn(FuzzInput::parts(FuzzInput::bytes(data + 1, size - 1), 5));
    ParameterControls controls(&app.directory);
    ParameterReads::ReadAllClick(app.ctx, controls);

    FUZZ_CHECK(!app.guard.busy());
    checkFields(controls);
    checkRecordsRoundTrip(controls, app.directory);
    checkSystemRoundTrip(controls, app.directory);
    return 0;
}
