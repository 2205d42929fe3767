#include "rfid/TagLine.h"

#include <optional>

namespace TagLine {

namespace {
std::optional<int> hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

std::optional<int> hexPair(const QByteArray &line, int index)
{
    const std::optional<int> high = hexDigit(line.at(index));
    const std::optional<int> low = hexDigit(line.at(index + 1));
    if (!high || !low)
        return std::nullopt;
    return *high * 16 + *low;
}
} // namespace

QByteArray CheckTagLine(const QByteArray &line)
{
    if (line.size() < 12)
        return {};
    int check = 0;
    for (int i = 0; i < 10; i += 2) {
        const std::optional<int> byte = hexPair(line, i);
        if (!byte)
            return {};
        check ^= *byte;
    }
    const std::optional<int> sent = hexPair(line, 10);
    if (!sent || *sent != check)
        return {};
    return line.left(10);
}

} // namespace TagLine
