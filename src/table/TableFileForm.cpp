#include "table/TableFileForm.h"

#include "table/CsvText.h"
#include "table/Latin1Text.h"

// This program writes 8-bit text with no byte-order mark; its header is the
// bare field names joined by ","; values are never quoted, "%" escapes CR,
// LF, NUL, "%" and "," (as "%m"), so no line has more values than the
// header. A name may begin with a double quote, and its 8-bit letters are
// whatever the user typed.
//
// A file is read as a spreadsheet program writes it (RFC 4180 quotes, no
// "%" escapes) when one of these holds:
//  1. it begins with a UTF-8 byte-order mark;
//  2. its header gives more known field names when split at ";" or at a tab
//     than at "," (the separator of many European locales);
//  3. its header begins with a double quote;
//  4. the whole file is valid UTF-8 and holds bytes above 127;
//  5. a line holds a double quote and more ","-separated values than the
//     header, and read with quotes the whole file is well formed with no
//     line longer than the header: a spreadsheet quoting "Smith, J".
// This program writes none of 1, 2, 3 and 5. Its 8-bit text is valid UTF-8
// (4) only when every byte above 127 in the file is an upper-case accented
// letter (C2-DF) followed by a symbol or control (80-BF) or a longer run of
// that kind: no list of names reads like that, while one ordinary accented
// letter (as in "Müller" or "José") makes the file invalid UTF-8. A name
// that merely begins with a double quote changes nothing.
// The text is UTF-8 under 1 and 4, 8-bit otherwise.

namespace {
constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n' || c == '\0';
}

// The first line that is not empty, by the program's own line rules.
QByteArrayView headerLine(QByteArrayView text)
{
    qsizetype start = 0;
    while (start < text.size() && isLineEnd(text[start]))
        ++start;
    qsizetype end = start;
    while (end < text.size() && !isLineEnd(text[end]))
        ++end;
    return text.sliced(start, end - start);
}

int knownNames(QByteArrayView header, char separator, const QList<Table::Field> &fields)
{
    const CsvText::Split split = CsvText::split(header, separator);
    if (split.records.isEmpty())
        return 0;
    int known = 0;
    for (const QByteArray &name : split.records.first().values)
        for (const Table::Field &f : fields)
            if (qstricmp(f.name.constData(), name.trimmed().constData()) == 0) {
                ++known;
                break;
            }
    return known;
}

// Rule 5.
bool quotesExplainLongLines(QByteArrayView text, QByteArrayView header)
{
    const qsizetype columns = header.count(',') + 1;
    bool longQuotedLine = false;
    qsizetype start = 0;
    while (start < text.size() && !longQuotedLine) {
        qsizetype end = start;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        const QByteArrayView line = text.sliced(start, end - start);
        longQuotedLine = line.contains('"') && line.count(',') + 1 > columns;
        start = end + 1;
    }
    if (!longQuotedLine)
        return false;
    const CsvText::Split split = CsvText::split(text, ',');
    if (!split.strict)
        return false;
    for (const CsvText::Record &record : split.records)
        if (record.values.size() > columns)
            return false;
    return true;
}
} // namespace

TableFileForm TableFileForm::detect(QByteArrayView bytes, const QList<Table::Field> &fields)
{
    TableFileForm form;
    if (bytes.startsWith(kUtf8Bom)) {
        form.bomSize = int(kUtf8Bom.size());
        form.utf8 = true;
        form.spreadsheet = true;
    }
    const QByteArrayView text = bytes.sliced(form.bomSize);
    const QByteArrayView header = headerLine(text);
    int best = knownNames(header, ',', fields);
    for (char separator : {';', '\t'}) {
        const int known = knownNames(header, separator, fields);
        if (known > best) {
            best = known;
            form.separator = separator;
            form.spreadsheet = true;
        }
    }
    if (header.startsWith('"'))
        form.spreadsheet = true;
    if (!form.utf8 && Latin1Text::isUtf8(text)) {
        form.utf8 = true;
        form.spreadsheet = true;
    }
    if (!form.spreadsheet && quotesExplainLongLines(text, header))
        form.spreadsheet = true;
    return form;
}
