#include "parameters/ParameterComparison.h"

namespace ParameterComparison {

namespace {

struct Field
{
    int record;
    int offset;
    int width;
    const char *name;
};

// Where each field of the records lies. Record 0001 packs its numbers and
// flags into nibbles; it is compared as one field.
const QList<Field> &fields()
{
    static const QList<Field> all = {
        {1, 0, 32, "System parameters"},
        {2, 0, 16, "Fixed message 1"},    {2, 16, 16, "Fixed message 2"},
        {3, 0, 32, "Scroll message 1"},   {4, 0, 32, "Scroll message 2"},
        {5, 0, 16, "Message 1"},          {5, 16, 16, "Message 2"},
        {6, 0, 4, "Gate code 1"},         {6, 4, 4, "Gate code 2"},
        {6, 8, 4, "Intercom code 1"},     {6, 12, 4, "Intercom code 2"},
        {6, 16, 4, "Speed-dial code 1"},  {6, 20, 4, "Speed-dial code 2"},
        {7, 0, 16, "Speed dial 1"},       {7, 16, 16, "Speed dial 2"},
        {8, 0, 16, "Speed dial 3"},       {8, 16, 16, "Speed dial 4"},
        {9, 0, 16, "Speed dial 5"},       {9, 16, 16, "Speed dial 6"},
        {10, 0, 16, "Speed dial 7"},      {10, 16, 16, "Speed dial 8"},
    };
    return all;
}

// A field as the user knows it: up to its 0xFF or NUL filling, trailing
// blanks of the fixed messages dropped.
QByteArray shown(const QByteArray &bytes)
{
    qsizetype end = bytes.size();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes.at(i) == '\0' || bytes.at(i) == char(0xFF)) {
            end = i;
            break;
        }
    return bytes.left(end).trimmed();
}

QString quoted(const QByteArray &value)
{
    return value.isEmpty() ? QStringLiteral("(empty)") : QLatin1Char('"') + QString::fromLatin1(value) + QLatin1Char('"');
}

} // namespace

QList<FieldChange> changes(const ParameterRecordSet &panel, const ParameterRecordSet &written)
{
    QList<FieldChange> out;
    for (const Field &f : fields()) {
        const QByteArray a = panel.record(f.record).mid(f.offset, f.width);
        const QByteArray b = written.record(f.record).mid(f.offset, f.width);
        if (a != b || !panel.has(f.record) || !written.has(f.record))
            out.append({QLatin1String(f.name), f.record == 1 ? a : shown(a), f.record == 1 ? b : shown(b)});
    }
    return out;
}

QString text(const QList<FieldChange> &changes)
{
    if (changes.isEmpty())
        return QStringLiteral("no changes");
    QStringList lines;
    for (const FieldChange &c : changes)
        lines << QStringLiteral("%1: %2 -> %3").arg(c.field, quoted(c.before), quoted(c.after));
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace ParameterComparison
