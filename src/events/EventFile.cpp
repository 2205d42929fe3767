#include "events/EventFile.h"

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

bool save(const QString &fileName, const EventLog &log, QString *error)
{
    return TableFile::saveFile(fileName, format(log), error);
}

} // namespace EventFile
