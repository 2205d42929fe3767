#pragma once

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>

// How the fuzzers read their inputs. An input that stands for several panel
// replies (one per command of an exchange) holds them one after the other,
// separated by the line "===": LF "===" LF. The seed maker writes them the
// same way, so seeds stay readable.
namespace FuzzInput {

inline constexpr const char *kSeparator = "\n===\n";

QByteArray bytes(const uint8_t *data, size_t size);

// The parts of an input: at most maxParts, the last one keeps the rest
// (separators included).
QList<QByteArray> parts(const QByteArray &input, int maxParts);
QByteArray join(const QList<QByteArray> &parts);

} // namespace FuzzInput
