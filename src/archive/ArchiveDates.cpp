#include "archive/ArchiveDates.h"

#include <QStringList>
#include <array>
#include <cctype>

namespace ArchiveDates {

namespace {
// Three hexadecimal bytes; nullopt unless the text is exactly six hexadecimal
// digits.
std::optional<std::array<int, 3>> threeBytes(const QByteArray &sixHex)
{
    if (sixHex.size() != 6)
        return std::nullopt;
    std::array<int, 3> bytes{};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const QByteArray pair = sixHex.mid(i * 2, 2);
        for (char c : pair)
            if (!std::isxdigit(uchar(c)))
                return std::nullopt;
        bytes[size_t(i)] = pair.toInt(&ok, 16);
        if (!ok)
            return std::nullopt;
    }
    return bytes;
}

std::optional<std::array<int, 3>> threeNumbers(const QString &text, QChar separator)
{
    const QStringList parts = text.split(separator);
    if (parts.size() != 3)
        return std::nullopt;
    std::array<int, 3> numbers{};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        numbers[size_t(i)] = parts.at(i).trimmed().toInt(&ok);
        if (!ok || parts.at(i).trimmed().size() != 2)
            return std::nullopt;
    }
    return numbers;
}

std::optional<QDate> dateOf(int day, int month, int twoDigitYear, const QDate &reference)
{
    if (twoDigitYear < 0 || twoDigitYear > 99 || !reference.isValid())
        return std::nullopt;
    const QDate date(fullYear(twoDigitYear, reference.year()), month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}
} // namespace

int fullYear(int twoDigits, int referenceYear)
{
    if (twoDigits < 0 || twoDigits > 99)
        return 0;
    const int latest = referenceYear + 1;
    const int century = latest - ((latest % 100) + 100) % 100;
    const int year = century + twoDigits;
    return year <= latest ? year : year - 100;
}

std::optional<QDate> eventDate(const QByteArray &sixHex, const QDate &reference)
{
    const std::optional<std::array<int, 3>> bytes = threeBytes(sixHex);
    if (!bytes)
        return std::nullopt;
    return dateOf((*bytes)[0], (*bytes)[1], (*bytes)[2], reference);
}

std::optional<int> eventSecond(const QByteArray &sixHex)
{
    const std::optional<std::array<int, 3>> bytes = threeBytes(sixHex);
    if (!bytes)
        return std::nullopt;
    const auto [h, m, s] = *bytes;
    if (h > 23 || m > 59 || s > 59)
        return std::nullopt;
    return h * 3600 + m * 60 + s;
}

QDate referenceDate(const QDateTime &downloadedAt, const std::optional<QDateTime> &panelClock)
{
    const QDate computer = downloadedAt.toLocalTime().date();
    if (panelClock && panelClock->isValid() && panelClock->date() > computer)
        return panelClock->date();
    return computer;
}

std::optional<QDateTime> panelClock(const QString &Stime, const QString &Sdate, const QDateTime &downloadedAt)
{
    const std::optional<std::array<int, 3>> t = threeNumbers(Stime, u':');
    const std::optional<std::array<int, 3>> d = threeNumbers(Sdate, u'/');
    if (!t || !d)
        return std::nullopt;
    const std::optional<QDate> date = dateOf((*d)[0], (*d)[1], (*d)[2], downloadedAt.toLocalTime().date());
    const QTime time((*t)[0], (*t)[1], (*t)[2]);
    if (!date || !time.isValid())
        return std::nullopt;
    return QDateTime(*date, time);
}

} // namespace ArchiveDates
