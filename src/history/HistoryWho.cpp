#include "history/HistoryWho.h"

#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace HistoryWho {

QString current()
{
    QString user;
#ifdef Q_OS_UNIX
    if (const passwd *entry = getpwuid(getuid()))
        user = QString::fromLocal8Bit(entry->pw_name);
#endif
    if (user.isEmpty())
        user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    QString host = QSysInfo::machineHostName();
    if (user.isEmpty())
        user = QStringLiteral("unknown");
    if (host.isEmpty())
        host = QStringLiteral("unknown");
    return user + QLatin1Char('@') + host;
}

} // namespace HistoryWho
