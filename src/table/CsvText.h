#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Comma-separated values as spreadsheet programs write them (RFC 4180):
// values separated by one character, records by CR LF, LF or CR; a value in
// double quotes may hold the separator, line breaks and quotes written
// twice.
namespace CsvText {

struct Record
{
    int row = 0; // 1-based line of the file where the record starts, blank lines counted
    QList<QByteArray> values;
};

struct Split
{
    QList<Record> records; // blank lines are not records
    // Clear when a quote stood where RFC 4180 allows none: inside an
    // unquoted value, or after a closing quote before the separator, or
    // never closed. Such text is kept as it stands (an unclosed quote runs to
    // the end of the text).
    bool strict = true;
};

Split split(QByteArrayView text, char separator);

// The value in double quotes (quotes inside doubled) when it holds the
// separator, a quote or a line break; otherwise as it stands.
QByteArray quoted(const QByteArray &value, char separator);

// The values, quoted where needed, joined by the separator, ended by CR LF.
QByteArray line(const QList<QByteArray> &values, char separator);

} // namespace CsvText
