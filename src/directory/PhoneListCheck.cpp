#include "directory/PhoneListCheck.h"

#include "directory/DialDigits.h"
#include "directory/EntryText.h"
#include "directory/PhoneFields.h"
#include "table/Latin1Text.h"
#include "table/TableFile.h"

namespace PhoneListCheck {

namespace {

// Field indexes, in PhoneFields::definition() order.
enum Field { Name, Room, Phone, Code1, Code2, Spare, Rfid, Addr };

constexpr int kShownChars = 60;

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n' || c == '\0';
}

// The row in the file of each line the program's own form reads (a line
// that holds something), the header's first. CR LF, a lone CR and a lone LF
// each end one row.
QList<int> ownFormRows(QByteArrayView text)
{
    QList<int> rows;
    int row = 1;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype start = i;
        while (i < text.size() && !isLineEnd(text[i]))
            ++i;
        if (i > start)
            rows << row;
        for (; i < text.size() && isLineEnd(text[i]); ++i)
            if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
                ++row;
    }
    return rows;
}

// What the file's first line holds, as a person would recognise it.
QString firstLineShown(QByteArrayView text)
{
    qsizetype start = 0;
    while (start < text.size() && (text[start] == '\r' || text[start] == '\n'))
        ++start;
    qsizetype end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    const QByteArrayView line = text.sliced(start, end - start);
    for (const char c : line.first(qMin<qsizetype>(line.size(), 256)))
        if (uchar(c) < 0x20 && c != '\t')
            return {};
    const QString shown = Latin1Text::isUtf8(line) ? QString::fromUtf8(line) : QString::fromLatin1(line);
    return shown.size() > kShownChars ? shown.left(kShownChars) + QStringLiteral("...") : shown;
}

QString shown(const QByteArray &value)
{
    return QString::fromLatin1(value);
}

QString listed(const QStringList &items)
{
    QString text = items.mid(0, kMaxNamed).join(QStringLiteral(", "));
    if (items.size() > kMaxNamed)
        text += QStringLiteral(" and %1 more").arg(items.size() - kMaxNamed);
    return text;
}

bool isPhoneList(const QList<int> &columns)
{
    bool room = false;
    bool other = false;
    for (const int field : columns) {
        room = room || field == Room;
        other = other || (field >= 0 && field != Room);
    }
    return room && other;
}

// One entry looked at: the values as the file holds them (not cut), and
// those the table takes.
struct Entry
{
    int row = 0;
    QList<QByteArray> whole;
    QList<QByteArray> kept;
    QList<QString> original; // the file's text of a value whose characters were replaced; empty otherwise

    QString who() const
    {
        const QString name = !original.at(Name).isEmpty() ? original.at(Name) : shown(whole.at(Name));
        return name.isEmpty() ? QStringLiteral("row %1").arg(row) : QStringLiteral("row %1 \"%2\"").arg(row).arg(name);
    }
};

class Checker
{
public:
    Checker(const QString &name, Purpose purpose, Result &result)
        : name_(name)
        , purpose_(purpose)
        , result_(result)
    {
    }

    void look(const Entry &e)
    {
        if (purpose_ == Purpose::Directory)
            directoryEntry(e);
        else
            tagEntry(e);
    }

    QString refusal() const
    {
        QStringList lines;
        if (!badRooms_.isEmpty())
            lines << (purpose_ == Purpose::Directory
                          ? QStringLiteral("%1 has rooms the Corvalen cannot hold (a room is 1 to 6 digits): %2.")
                          : QStringLiteral("%1 has rooms longer than the 6 characters of the RFID store: %2."))
                         .arg(name_, listed(badRooms_));
        if (!badCodes_.isEmpty())
            lines << QStringLiteral("%1 has codes longer than the 10 characters of a tag: %2.").arg(name_, listed(badCodes_));
        return lines.join(QStringLiteral("\r\n"));
    }

private:
    void warn(const Entry &e, const QString &text) { result_.warnings << e.who() + QStringLiteral(": ") + text; }

    // Characters outside Latin-1 that became "?".
    void replaced(const Entry &e, int field, const char *fieldName)
    {
        if (!e.original.at(field).isEmpty())
            warn(e, QStringLiteral("%1 \"%2\" goes as \"%3\": the panel cannot hold some of its characters")
                        .arg(QLatin1String(fieldName), e.original.at(field), shown(e.kept.at(field))));
    }

    // A value the entry text keeps only the leading digits of.
    void digits(const Entry &e, int field, const char *fieldName, int width)
    {
        const QByteArray &value = e.whole.at(field);
        const QByteArray sent = LeadingDigits(value, width);
        if (sent == value)
            return;
        warn(e, QStringLiteral("%1 \"%2\" goes as %3 (at most %4 digits)")
                    .arg(QLatin1String(fieldName), shown(value),
                         sent.isEmpty() ? QStringLiteral("nothing") : QStringLiteral("\"%1\"").arg(shown(sent)))
                    .arg(width));
    }

    void directoryEntry(const Entry &e)
    {
        const QByteArray room = StripLeadingSpaces(e.whole.at(Room));
        if (!room.isEmpty() && (!IsPanelNumber(room) || room.size() > PhoneFields::kRoomWidth))
            badRooms_ << e.who() + QStringLiteral(" \"%1\"").arg(shown(e.whole.at(Room)));
        if (!e.kept.at(Name).isEmpty() && !room.isEmpty())
            ++result_.written;
        else
            warn(e, QStringLiteral("no %1: the Corvalen takes an entry without a Name or a Room for an empty slot")
                        .arg(e.kept.at(Name).isEmpty() ? QStringLiteral("Name") : QStringLiteral("Room")));

        replaced(e, Name, PhoneFields::Name);
        if (e.whole.at(Name).size() > PhoneFields::kNameWidth)
            warn(e, QStringLiteral("Name cut to %1 characters: \"%2\"")
                        .arg(PhoneFields::kNameWidth)
                        .arg(shown(e.kept.at(Name))));

        replaced(e, Phone, PhoneFields::PHnumber);
        const QByteArray &phone = e.whole.at(Phone);
        const QByteArray dialled = DecodeDialDigits(EncodeDialDigits(phone, PhoneFields::kPhoneWidth));
        if (dialled.size() < phone.size())
            warn(e, QStringLiteral("PHnumber \"%1\" goes as %2 (the panel dials digits, *, # and p, at most %3)")
                        .arg(shown(phone),
                             dialled.isEmpty() ? QStringLiteral("nothing") : QStringLiteral("\"%1\"").arg(shown(dialled)))
                        .arg(PhoneFields::kPhoneWidth));

        digits(e, Code1, PhoneFields::Code1, PhoneFields::kCodeWidth);
        digits(e, Code2, PhoneFields::Code2, PhoneFields::kCodeWidth);
        digits(e, Spare, PhoneFields::Spare, PhoneFields::kSpareWidth);
    }

    void tagEntry(const Entry &e)
    {
        const QByteArray &room = e.whole.at(Room);
        const QByteArray &code = e.whole.at(Rfid);
        if (code.isEmpty())
            return;
        if (room.isEmpty()) {
            warn(e, QStringLiteral("RFID \"%1\" has no Room and is not written").arg(shown(code)));
            return;
        }
        ++result_.written;
        if (room.size() > PhoneFields::kRoomWidth)
            badRooms_ << e.who() + QStringLiteral(" \"%1\"").arg(shown(room));
        if (code.size() > PhoneFields::kRfidWidth)
            badCodes_ << e.who() + QStringLiteral(" \"%1\"").arg(shown(code));
        replaced(e, Room, PhoneFields::RoomNumber);
        replaced(e, Rfid, PhoneFields::Rfid);
    }

    const QString &name_;
    Purpose purpose_;
    Result &result_;
    QStringList badRooms_;
    QStringList badCodes_;
};

} // namespace

Result check(const QByteArray &content, const QString &name, Purpose purpose)
{
    Result result;
    const QList<Table::Field> fields = PhoneFields::definition();
    result.read = TableFile::read(content, fields);
    const TableRead &read = result.read;
    result.entries = int(read.rows.size());

    if (content.trimmed().isEmpty()) {
        result.refusal = QStringLiteral("%1 holds no entries.").arg(name);
        return result;
    }
    const QByteArray text = Latin1Text::utf16AsUtf8(content);
    if (!isPhoneList(read.columnFields)) {
        const QString line = firstLineShown(text);
        result.refusal = QStringLiteral("%1 is not a phone list: a phone list begins with a line that names its "
                                        "columns (Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr), %2.")
                             .arg(name, line.isEmpty() ? QStringLiteral("and this file holds binary data")
                                                       : QStringLiteral("and its first line reads \"%1\"").arg(line));
        return result;
    }
    if (read.rows.isEmpty()) {
        result.refusal = QStringLiteral("%1 holds no entries.").arg(name);
        return result;
    }

    // The same file without the widths: the values as the file holds them.
    QList<Table::Field> wide = fields;
    for (Table::Field &field : wide)
        field.width = 0;
    const TableRead whole = TableFile::read(content, wide);
    const QList<int> ownRows = read.spreadsheet ? QList<int>() : ownFormRows(text);

    Checker checker(name, purpose, result);
    qsizetype change = 0;
    for (int i = 0; i < read.rows.size() && i < whole.rows.size(); ++i) {
        Entry e;
        e.row = read.spreadsheet ? read.fileRows.value(i) : ownRows.value(i + 1);
        e.whole = whole.rows.at(i);
        e.kept = read.rows.at(i);
        e.original = QList<QString>(fields.size());
        for (; change < read.changes.size() && read.changes.at(change).entry == i; ++change)
            if (read.changes.at(change).replaced)
                e.original[read.changes.at(change).field] = read.changes.at(change).original;
        checker.look(e);
    }

    result.refusal = checker.refusal();
    if (result.refusal.isEmpty() && result.written == 0 && purpose == Purpose::Directory)
        result.refusal = QStringLiteral("None of the %1 entries of %2 has both a Name and a Room: the Corvalen would "
                                        "take every one for an empty slot (a list from rfid get holds only rooms "
                                        "and codes).")
                             .arg(result.entries)
                             .arg(name);
    if (!read.unusedColumns.isEmpty()) {
        QStringList columns;
        for (const QString &column : read.unusedColumns)
            columns << QStringLiteral("\"%1\"").arg(column);
        result.notes = QStringLiteral("Columns of %1 not read: %2.").arg(name, listed(columns));
    }
    return result;
}

} // namespace PhoneListCheck
