#pragma once

#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <optional>

class CliConsole;
class SiteBook;
struct Site;

// corvalen-cli's commands on the site book; none of them touches a panel:
//
//   sites add NAME --port ADDRESS [--notes TEXT] [--folder DIR]
//   sites list [--json]
//   sites show NAME [--json]
//   sites edit NAME [--name NEW] [--port ADDRESS] [--notes TEXT]
//   sites remove NAME                 (the site's folder stays as it is)
//   sites pin NAME [--pin-file FILE] [--keep keyring|file|none] [--forget]
//   sites import FILE.csv
//   sites export FILE.csv
//
// Exit status as for the panel's commands: 0 done, 1 refused (a damaged
// book, a file that cannot be read, a keyring that cannot keep the PIN),
// 2 usage (an unknown site included, told with the names that come close).
class SitesCommand
{
public:
    SitesCommand(CliConsole &console, const QProcessEnvironment &environment, const QString &bookFile);

    // Whether the first word of args that is not an option (nor an
    // option's value) is "sites".
    static bool wants(const QStringList &args);

    int run(const QStringList &args, const QString &program);

    static QString usage(const QString &program);

private:
    struct Words
    {
        QString action;
        QStringList names; // the words after the action
        QMap<QString, QString> values;
        bool json = false;
        bool forget = false;
        bool help = false;
        QString error;

        std::optional<QString> value(const char *option) const
        {
            const auto it = values.constFind(QLatin1String(option));
            return it == values.cend() ? std::nullopt : std::optional<QString>(*it);
        }
    };

    int usageError(const QString &error, const QString &program);
    int refused(const QString &error);
    bool findSite(SiteBook &book, const QString &name, Site *site, int *status, const QString &program);

    int add(const Words &w, const QString &program);
    int list(const Words &w);
    int show(const Words &w, const QString &program);
    int edit(const Words &w, const QString &program);
    int remove(const Words &w, const QString &program);
    int pin(const Words &w, const QString &program);
    int importList(const Words &w);
    int exportList(const Words &w);

    CliConsole &console_;
    QProcessEnvironment environment_;
    QString bookFile_;
};
