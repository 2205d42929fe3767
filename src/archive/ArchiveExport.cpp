#include "archive/ArchiveExport.h"

#include "archive/ArchiveSelection.h"
#include "table/SpreadsheetFile.h"

#include <QJsonDocument>
#include <QSaveFile>
#include <functional>

namespace ArchiveExport {

namespace {
QString latin1(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

bool written(QIODevice &out, const QByteArray &bytes, QString *error)
{
    if (out.write(bytes) == bytes.size())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}

bool save(const QString &fileName, QString *error, const std::function<bool(QIODevice &, QString *)> &write)
{
    QSaveFile file(fileName);
    QString why;
    if (file.open(QIODevice::WriteOnly) && write(file, &why) && file.commit())
        return true;
    file.cancelWriting();
    if (error)
        *error = why.isEmpty() || why == file.errorString() ? QStringLiteral("Cannot create file %1").arg(fileName)
                                                            : why;
    return false;
}
} // namespace

QJsonObject toJson(const ArchivedEvent &e)
{
    QJsonObject o;
    o.insert(QStringLiteral("date"), e.fullDate ? QJsonValue(e.fullDate->toString(Qt::ISODate)) : QJsonValue());
    o.insert(QStringLiteral("time"), e.timeText());
    o.insert(QStringLiteral("room"), latin1(e.room));
    o.insert(QStringLiteral("relay"), latin1(e.relay));
    o.insert(QStringLiteral("source"), EventSources::name(e.source));
    o.insert(QStringLiteral("client"), latin1(e.clientText()));
    o.insert(QStringLiteral("kind"), EventKinds::name(e.kind));
    o.insert(QStringLiteral("panelDate"), latin1(e.date));
    o.insert(QStringLiteral("line"), latin1(e.line));
    o.insert(QStringLiteral("downloaded"), e.downloadedAt.toUTC().toString(Qt::ISODate));
    return o;
}

// A spreadsheet would run a value starting with =, +, - or @ as a formula:
// SpreadsheetFile::line writes such a value with an apostrophe in front.
QList<QByteArray> csvValues(const ArchivedEvent &e)
{
    return {e.dateText().toLatin1(),
            e.timeText().toLatin1(),
            e.room,
            e.relay,
            EventSources::name(e.source).toLatin1(),
            e.clientText(),
            EventKinds::name(e.kind).toLatin1(),
            e.downloadedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1()};
}

bool writeJson(ArchiveSelection &selection, QIODevice &out, QString *error)
{
    if (!written(out, "[", error))
        return false;
    bool first = true;
    bool ok = true;
    const bool read = selection.forEach(
        [&](const ArchivedEvent &e) {
            QByteArray chunk = first ? "\n" : ",\n";
            first = false;
            chunk += QJsonDocument(toJson(e)).toJson(QJsonDocument::Compact);
            ok = written(out, chunk, error);
            return ok;
        },
        error);
    return read && ok && written(out, first ? "]\n" : "\n]\n", error);
}

bool writeCsv(ArchiveSelection &selection, QIODevice &out, char separator, QString *error)
{
    QByteArray head(SpreadsheetFile::kUtf8Bom);
    head += SpreadsheetFile::line({"Date", "Time", "RoomNumber", "RlyNo", "Source", "Client", "Kind", "Downloaded"},
                                  separator);
    if (!written(out, head, error))
        return false;
    bool ok = true;
    const bool read = selection.forEach(
        [&](const ArchivedEvent &e) {
            ok = written(out, SpreadsheetFile::line(csvValues(e), separator), error);
            return ok;
        },
        error);
    return read && ok;
}

bool saveJson(ArchiveSelection &selection, const QString &fileName, QString *error)
{
    return save(fileName, error, [&](QIODevice &out, QString *why) { return writeJson(selection, out, why); });
}

bool saveCsv(ArchiveSelection &selection, const QString &fileName, char separator, QString *error)
{
    return save(fileName, error,
                [&](QIODevice &out, QString *why) { return writeCsv(selection, out, separator, why); });
}

} // namespace ArchiveExport
