#include "directory/PhoneListReport.h"

#include "directory/PhoneFields.h"
#include "table/NaturalOrder.h"
#include "table/Table.h"
#include "table/TableFile.h"

#include <QFileInfo>
#include <algorithm>

namespace PhoneListReport {

namespace {
enum Field { Name = 0, Room = 1, Phone = 2, Code1 = 3, Code2 = 4 };

QString text(const QList<QByteArray> &entry, int field)
{
    return QString::fromLatin1(entry.value(field)).trimmed();
}
} // namespace

QList<QList<QByteArray>> entriesOf(const Table &PhoneTable)
{
    QList<QList<QByteArray>> out;
    const QList<Table::Field> fields = PhoneFields::definition();
    for (int r = 0; r < PhoneTable.count(); ++r) {
        QList<QByteArray> entry;
        for (const Table::Field &f : fields)
            entry << PhoneTable.value(r, f.name);
        out << entry;
    }
    return out;
}

bool readFile(const QString &fileName, QList<QList<QByteArray>> *entries, QString *error)
{
    QByteArray bytes;
    if (!TableFile::loadFile(fileName, &bytes, error))
        return false;
    *entries = TableFile::read(bytes, PhoneFields::definition()).rows;
    return true;
}

Report build(const QList<QList<QByteArray>> &entries, const Options &options)
{
    QList<QList<QByteArray>> listed;
    for (const QList<QByteArray> &e : entries)
        if (!text(e, Name).isEmpty() || !text(e, Room).isEmpty())
            listed << e;
    const NaturalOrder order;
    const int first = options.byRoom ? Room : Name;
    const int second = options.byRoom ? Name : Room;
    std::stable_sort(listed.begin(), listed.end(), [&](const QList<QByteArray> &a, const QList<QByteArray> &b) {
        if (const int c = order.compare(text(a, first), text(b, first)); c != 0)
            return c < 0;
        return order.compare(text(a, second), text(b, second)) < 0;
    });

    Report r;
    r.title = options.site.isEmpty() ? QStringLiteral("Residents") : QStringLiteral("Residents of %1").arg(options.site);
    if (!options.site.isEmpty())
        r.meta << QStringLiteral("Site: %1").arg(options.site);
    if (!options.from.isEmpty())
        r.meta << QStringLiteral("From %1").arg(options.from);
    r.meta << (listed.size() == 1 ? QStringLiteral("1 resident")
                                  : QStringLiteral("%1 residents").arg(listed.size()));
    r.columns = {QStringLiteral("Name"), QStringLiteral("Room")};
    QList<int> fields{Name, Room};
    if (options.phoneNumbers) {
        r.columns << QStringLiteral("Phone");
        fields << Phone;
    }
    if (options.codes) {
        r.columns << QStringLiteral("Code 1") << QStringLiteral("Code 2");
        fields << Code1 << Code2;
        r.rightAligned << int(fields.size()) - 2 << int(fields.size()) - 1;
    }
    r.rightAligned << 1;
    r.tableFontPt = 12;
    r.noRowsText = QStringLiteral("The directory is empty.");
    r.rowCount = listed.size();
    r.rows = [listed, fields](qint64 from, int count) {
        QList<QStringList> out;
        for (qint64 i = from; i < qMin<qint64>(listed.size(), from + count); ++i) {
            QStringList row;
            for (int f : fields)
                row << text(listed.at(i), f);
            out << row;
        }
        return out;
    };
    return r;
}

} // namespace PhoneListReport
