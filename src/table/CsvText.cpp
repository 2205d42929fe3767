#include "table/CsvText.h"

namespace CsvText {

Split split(QByteArrayView text, char separator)
{
    Split out;
    const qsizetype n = text.size();
    qsizetype i = 0;
    int row = 1;
    // A line break at i: CR LF, LF or CR; its length, 0 when none.
    const auto lineBreak = [&](qsizetype at) -> qsizetype {
        if (at >= n)
            return 0;
        if (text[at] == '\r')
            return at + 1 < n && text[at + 1] == '\n' ? 2 : 1;
        return text[at] == '\n' ? 1 : 0;
    };
    while (i < n) {
        if (const qsizetype br = lineBreak(i)) { // a blank line
            i += br;
            ++row;
            continue;
        }
        Record record;
        record.row = row;
        for (;;) { // one value per turn
            QByteArray value;
            const bool quotedValue = i < n && text[i] == '"';
            if (quotedValue) {
                ++i;
                bool closed = false;
                while (i < n) {
                    const char c = text[i++];
                    if (c != '"') {
                        if (c == '\n' || (c == '\r' && (i >= n || text[i] != '\n')))
                            ++row;
                        value.append(c);
                    } else if (i < n && text[i] == '"') {
                        value.append('"');
                        ++i;
                    } else {
                        closed = true;
                        break;
                    }
                }
                if (!closed)
                    out.strict = false;
            }
            // Unquoted text, or what follows a closing quote, up to the
            // separator or the line's end.
            if (quotedValue && i < n && text[i] != separator && !lineBreak(i))
                out.strict = false;
            while (i < n && text[i] != separator && !lineBreak(i)) {
                if (text[i] == '"')
                    out.strict = false;
                value.append(text[i++]);
            }
            record.values.append(value);
            if (i < n && text[i] == separator) {
                ++i;
                continue;
            }
            break;
        }
        out.records.append(record);
        if (const qsizetype br = lineBreak(i)) {
            i += br;
            ++row;
        }
    }
    return out;
}

QByteArray quoted(const QByteArray &value, char separator)
{
    if (!value.contains(separator) && !value.contains('"') && !value.contains('\r') && !value.contains('\n'))
        return value;
    QByteArray out = "\"";
    out.append(QByteArray(value).replace("\"", "\"\""));
    out.append('"');
    return out;
}

QByteArray line(const QList<QByteArray> &values, char separator)
{
    QByteArray out;
    for (qsizetype v = 0; v < values.size(); ++v) {
        if (v > 0)
            out.append(separator);
        out.append(quoted(values.at(v), separator));
    }
    out.append("\r\n");
    return out;
}

} // namespace CsvText
