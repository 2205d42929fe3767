#pragma once

#include <QByteArray>
#include <optional>

// A line delta: how to build one text from another by copying runs of the
// other's lines and inserting new ones. Lines are the pieces between "\n"
// bytes (joined with "\n" again they give the text back byte for byte, so
// CR LF files, NUL bytes and a missing last line end all survive). The
// edit is a shortest one (Myers' O(ND) difference algorithm), which for
// versions a few entries apart is a few lines long.
//
// Encoded form (before any compression): a sequence of operations, each a
// byte 'C' with the 32-bit big-endian first line and count of a run of
// the base's lines to copy, or a byte 'I' with a 32-bit count and that many
// lines, each a 32-bit length and its bytes.
namespace LineDelta {

// The delta from `base` to `target`; none when more than `maxEdits` lines
// would have to be inserted or removed (the caller then keeps a full copy:
// such a delta saves little and costs time to find).
std::optional<QByteArray> make(const QByteArray &base, const QByteArray &target, int maxEdits);

// `base` with the delta applied; none when the delta is malformed or does
// not fit the base (a run beyond its last line).
std::optional<QByteArray> apply(const QByteArray &base, const QByteArray &delta);

} // namespace LineDelta
