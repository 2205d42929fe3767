#include "directory/EntryWriteCheck.h"

#include "directory/PhoneFields.h"
#include "link/PayloadCheck.h"
#include "table/Table.h"

namespace EntryWriteCheck {

namespace {

struct WrittenField
{
    const char *name;
    QByteArray PhoneEditTexts::*value;
};

// In the order of the entry text's fields, the Name first.
const WrittenField kWritten[] = {
    {PhoneFields::Name, &PhoneEditTexts::Namef},     {PhoneFields::RoomNumber, &PhoneEditTexts::RoomNumber},
    {PhoneFields::PHnumber, &PhoneEditTexts::PHnumber}, {PhoneFields::Code1, &PhoneEditTexts::Code1},
    {PhoneFields::Code2, &PhoneEditTexts::Code2},    {PhoneFields::Spare, &PhoneEditTexts::Spare},
};

QString shown(const QByteArray &value)
{
    QByteArray text = value;
    text.replace('\r', "%c").replace('\n', "%n").replace(QByteArray(1, '\0'), "%0");
    return QString::fromLatin1(text);
}

} // namespace

PhoneEditTexts storedFields(const Table &table, int row)
{
    PhoneEditTexts e;
    for (const WrittenField &f : kWritten)
        e.*f.value = table.value(row, f.name);
    return e;
}

QString refusal(const PhoneEditTexts &entry)
{
    for (const WrittenField &f : kWritten) {
        const QByteArray &value = entry.*f.value;
        if (!PayloadCheck::holdsLineControl(value))
            continue;
        return QStringLiteral("Cannot write an entry to the Corvalen:\r\n"
                              "Name \"%1\", RoomNumber \"%2\"\r\n"
                              "%3 \"%4\" holds a CR, LF or NUL character.")
            .arg(shown(entry.Namef), shown(entry.RoomNumber), QLatin1String(f.name), shown(value));
    }
    return {};
}

} // namespace EntryWriteCheck
