// What a serial server sends on an RFC 2217 line: the Telnet decoder and the
// client's session on arbitrary bytes, cut into arbitrary chunks. Cutting
// never changes what is decoded; data the client escapes comes back as it
// was; the session never answers more than a bounded amount to any chunk,
// and is never both ready and failed.
//
// Input: the chunk-plan byte, then the server's bytes.
#include "link/Rfc2217Session.h"
#include "link/TelnetCodec.h"
#include "support/ChunkPlan.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

TelnetCodec::Decoded decodeInChunks(const QByteArray &bytes, quint8 shape, bool binary)
{
    TelnetCodec codec;
    codec.setBinaryIn(binary);
    ChunkPlan plan(shape);
    TelnetCodec::Decoded all;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype n = plan.next(bytes.size() - at);
        const TelnetCodec::Decoded part = codec.decode(bytes.mid(at, n));
        all.data += part.data;
        all.commands += part.commands;
        at += n;
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const quint8 shape = data[0];
    const QByteArray bytes = FuzzInput::bytes(data + 1, size - 1);

    for (bool binary : {false, true}) {
        const TelnetCodec::Decoded whole = decodeInChunks(bytes, 0, binary);
        const TelnetCodec::Decoded cut = decodeInChunks(bytes, shape, binary);
        FUZZ_CHECK(cut.data == whole.data);
        FUZZ_CHECK(cut.commands == whole.commands);
        FUZZ_CHECK(whole.data.size() <= bytes.size());
        for (const TelnetCodec::Command &command : whole.commands)
            FUZZ_CHECK(command.payload.size() <= TelnetCodec::kMaxSubnegotiation);
    }

    // Data on its way out: every byte value survives escaping, in binary
    // mode as it stands and otherwise with CR NUL standing for CR.
    for (bool binary : {false, true}) {
        const TelnetCodec::Decoded back = decodeInChunks(TelnetCodec::escape(bytes, binary), shape, binary);
        FUZZ_CHECK(back.data == bytes);
        FUZZ_CHECK(back.commands.isEmpty());
    }

    Rfc2217Session session;
    const QByteArray opening = session.start();
    FUZZ_CHECK(!opening.isEmpty());
    ChunkPlan plan(shape);
    qsizetype received = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype n = plan.next(bytes.size() - at);
        QByteArray reply;
        received += session.receive(bytes.mid(at, n), &reply).size();
        // An answer per command at most, and each answer is short.
        FUZZ_CHECK(reply.size() <= 64 + 16 * n);
        FUZZ_CHECK(!(session.ready() && !session.failure().isEmpty()));
        at += n;
    }
    FUZZ_CHECK(received <= bytes.size());
    const QByteArray sample = bytes.left(64);
    const TelnetCodec::Decoded echoed =
        decodeInChunks(session.encode(sample), shape, session.binaryOut());
    FUZZ_CHECK(echoed.data == sample);
    return 0;
}
