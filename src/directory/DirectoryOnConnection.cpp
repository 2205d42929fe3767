#include "directory/DirectoryOnConnection.h"

#include "directory/PhoneDirectory.h"
#include "link/Connection.h"

void followConnection(PhoneDirectory &directory, Connection &connection)
{
    QObject::connect(&connection, &Connection::logOnStarted, &directory,
                     [&directory] { directory.setWriteEachChangeEnabled(false); });
    QObject::connect(&connection, &Connection::panelIdentified, &directory,
                     [&directory](qint32 directoryEnd) { directory.setEdit3(QString::number(directoryEnd)); });
}
