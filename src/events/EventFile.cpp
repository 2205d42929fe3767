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

QByteArray formatForSpreadsheet(const EventLog &log, char separator)
{
    const ClockFields &clock = log.clock;
    QByteArray content(SpreadsheetFile::kUtf8Bom);
    content.append(SpreadsheetFile::line(
        {"Corvalen time when saved was:", clock.Stime().toLatin1(), clock.Sdate().toLatin1()}, separator));
    content.append(SpreadsheetFile::line(
        {"Current time when Loaded was:", clock.Ctime().toLatin1(), clock.Cdate().toLatin1()}, separator));
    content.append("\r\n");
    content.append(SpreadsheetFile::tableLines(log.EventTable, separator));
    return content;
}

bool exportTo(const QString &fileName, const EventLog &log, char separator, QString *error)
{
    return TableFile::saveFile(fileName, formatForSpreadsheet(log, separator), error);
}

bool save(const QString &fileName, const EventLog &log, QString *error)
{
    return TableFile::saveFile(fileName, format(log), error);
}

} // namespace EventFile
