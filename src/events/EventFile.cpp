#include "events/EventFile.h"

#include "table/SpreadsheetFile.h"
#include "table/TableFile.h"

namespace EventFile {

void WriteEventFileHeader(QByteArray &content, const ClockFields &clock)
{
    content.append("Corvalen time when saved was: " + clock.Stime().toLatin1() + "  " + clock.Sdate().toLatin1()
                   + "\r\n");
    content.append("Current time when Loaded was: " + clock.Ctime().toLatin1() + "  " + clock.Cdate().toLatin1()
                   + "\r\n");
}

QByteArray format(const EventLog &log)
{
    QByteArray content;
    WriteEventFileHeader(content, log.clock);
    content.append(TableFile::format(log.EventTable));
    return content;
}

QList<QList<QByteArray>> spreadsheetRows(const EventLog &log)
{
    const ClockFields &clock = log.clock;
    QList<QList<QByteArray>> rows{
        {"Corvalen time when saved was:", clock.Stime().toLatin1(), clock.Sdate().toLatin1()},
        {"Current time when Loaded was:", clock.Ctime().toLatin1(), clock.Cdate().toLatin1()},
        {},
    };
    rows.append(SpreadsheetFile::tableRows(log.EventTable));
    return rows;
}

QByteArray formatForSpreadsheet(const EventLog &log, char separator)
{
    QByteArray content(SpreadsheetFile::kUtf8Bom);
    for (const QList<QByteArray> &row : spreadsheetRows(log))
        content.append(SpreadsheetFile::line(row, separator));
    return content;
}

bool exportTo(const QString &fileName, const EventLog &log, char separator, QString *error)
{
    return SpreadsheetFile::save(fileName, spreadsheetRows(log), QStringLiteral("Events"), separator, error);
}

bool save(const QString &fileName, const EventLog &log, QString *error)
{
    return TableFile::saveFile(fileName, format(log), error);
}

} // namespace EventFile
