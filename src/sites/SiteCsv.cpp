#include "sites/SiteCsv.h"

#include "sites/SiteBook.h"
#include "sites/SiteFolders.h"
#include "table/AtomicFile.h"
#include "table/CsvText.h"
#include "table/Latin1Text.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>

namespace SiteCsv {

namespace {

enum Column { Name, Address, Notes, Model, LastContact, LastBackup, Result, Message, ColumnCount };

const char *const kHeaders[ColumnCount] = {"Name",   "Address", "Notes",  "Model", "Last contact (UTC)",
                                           "Last backup (UTC)", "Result", "Message"};

// "Last contact (UTC)", "last_contact", "LAST-CONTACT" -> "lastcontact".
QString columnKey(QString header)
{
    const qsizetype paren = header.indexOf(QLatin1Char('('));
    if (paren > 0)
        header.truncate(paren);
    QString key;
    for (QChar c : header)
        if (c.isLetterOrNumber())
            key += c.toCaseFolded();
    return key;
}

int columnOf(const QString &header)
{
    const QString key = columnKey(header);
    for (int c = 0; c < ColumnCount; ++c)
        if (columnKey(QString::fromLatin1(kHeaders[c])) == key)
            return c;
    // The words corvalen-cli's JSON uses.
    if (key == QLatin1String("port"))
        return Address;
    if (key == QLatin1String("backupresult"))
        return Result;
    if (key == QLatin1String("backupmessage"))
        return Message;
    return -1;
}

QString sheetTime(const QDateTime &utc)
{
    return utc.isValid() ? utc.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QString decoded(const QByteArray &value, bool utf8)
{
    return utf8 ? QString::fromUtf8(value) : QString::fromLatin1(value);
}

// The header's separator: the one of ",", ";" and tab that splits it into
// the most known columns.
char separatorOf(QByteArrayView text)
{
    const qsizetype end = text.indexOf('\n');
    const QByteArrayView header = end < 0 ? text : text.first(end);
    char best = ',';
    int bestCount = -1;
    for (char separator : {',', ';', '\t'}) {
        int known = 0;
        for (const QByteArray &name : header.toByteArray().split(separator))
            known += columnOf(QString::fromUtf8(name.trimmed())) >= 0 ? 1 : 0;
        if (known > bestCount) {
            best = separator;
            bestCount = known;
        }
    }
    return best;
}

// One row of the file, read.
struct Row
{
    int row = 0;
    QString values[ColumnCount];
    bool present[ColumnCount] = {};
};

// Applies one row to the book's sites; empty when taken, else why not.
QString take(const Row &row, QList<Site> &sites, const QString &sitesFolder, bool *added)
{
    Site incoming;
    incoming.name = row.values[Name];
    incoming.address = row.values[Address];
    incoming.notes = row.values[Notes];
    incoming.model = row.values[Model].trimmed();
    incoming.backupMessage = row.values[Message].trimmed();
    if (!SiteText::timeFromText(row.values[LastContact], &incoming.lastContact))
        return QStringLiteral("last contact \"%1\" is not a time such as 2024-05-02 02:00:04")
            .arg(row.values[LastContact]);
    if (!SiteText::timeFromText(row.values[LastBackup], &incoming.lastBackup))
        return QStringLiteral("last backup \"%1\" is not a time such as 2024-05-02 02:00:04")
            .arg(row.values[LastBackup]);
    if (!SiteText::backupResultFromWord(row.values[Result], &incoming.backupResult))
        return QStringLiteral("the result \"%1\" is neither ok nor failed").arg(row.values[Result]);

    const QString key = SiteText::nameKey(incoming.name);
    qsizetype at = -1;
    for (qsizetype i = 0; i < sites.size() && at < 0; ++i)
        if (SiteText::nameKey(sites.at(i).name) == key)
            at = i;
    Site site = at >= 0 ? sites.at(at) : incoming;
    if (at >= 0) {
        if (row.present[Address])
            site.address = incoming.address;
        if (row.present[Notes])
            site.notes = incoming.notes;
        if (incoming.lastContact.isValid() && !(site.lastContact >= incoming.lastContact)) {
            site.lastContact = incoming.lastContact;
            if (!incoming.model.isEmpty())
                site.model = incoming.model;
        } else if (site.model.isEmpty()) {
            site.model = incoming.model;
        }
        if (incoming.lastBackup.isValid() && !(site.lastBackup >= incoming.lastBackup)) {
            site.lastBackup = incoming.lastBackup;
            site.backupResult = incoming.backupResult;
            site.backupMessage = incoming.backupMessage;
        }
    } else {
        site.id = QUuid::createUuid();
        site.pinKeeping = Site::PinKeeping::Keyring;
    }
    if (const QString problem = SiteBook::check(&site, sites); !problem.isEmpty())
        return problem;
    if (at >= 0) {
        sites[at] = site;
    } else {
        QStringList taken;
        for (const Site &other : std::as_const(sites))
            taken << other.folder;
        site.folder = SiteFolders::newFolder(sitesFolder, site.name, taken);
        sites.append(site);
    }
    *added = at < 0;
    return {};
}

} // namespace

QByteArray format(const QList<Site> &sites, char separator)
{
    QList<QByteArray> header;
    for (const char *name : kHeaders)
        header << QByteArray(name);
    QByteArray out = QByteArray("\xEF\xBB\xBF") + CsvText::line(header, separator);
    for (const Site &site : sites) {
        const QStringList values = {site.name,
                                    site.address,
                                    site.notes,
                                    site.model,
                                    sheetTime(site.lastContact),
                                    sheetTime(site.lastBackup),
                                    SiteText::backupResultWord(site.backupResult),
                                    site.backupMessage};
        QList<QByteArray> utf8;
        for (const QString &value : values)
            utf8 << value.toUtf8();
        out += CsvText::line(utf8, separator);
    }
    return out;
}

bool save(const QList<Site> &sites, const QString &fileName, char separator, QString *error)
{
    if (AtomicFile::write(fileName, format(sites, separator)) == AtomicFile::Result::Saved)
        return true;
    if (error)
        *error = QStringLiteral("Cannot create file %1").arg(fileName);
    return false;
}

QString Report::summary() const
{
    QString text = QStringLiteral("%1 %2 added, %3 updated")
                       .arg(added)
                       .arg(added == 1 ? QStringLiteral("site") : QStringLiteral("sites"))
                       .arg(updated);
    if (!problems.isEmpty())
        text += QStringLiteral("; %1 not taken:\n%2")
                    .arg(problems.size() == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(problems.size()),
                         problems.join(QLatin1Char('\n')));
    if (!unusedColumns.isEmpty())
        text += QStringLiteral("\nColumns passed over: %1").arg(unusedColumns.join(QStringLiteral(", ")));
    return text;
}

std::optional<Report> import(SiteBook &book, const QByteArray &input, QString *error)
{
    QByteArray bytes = Latin1Text::utf16AsUtf8(input);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder check(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = check.decode(bytes); // decodes only when taken as text
    Q_UNUSED(text);
    const bool utf8 = !check.hasError();

    const CsvText::Split split = CsvText::split(bytes, separatorOf(bytes));
    Report report;
    const QList<QByteArray> header = split.records.isEmpty() ? QList<QByteArray>() : split.records.first().values;
    QList<int> columnField;
    bool hasName = false;
    for (const QByteArray &title : header) {
        const QString name = decoded(title, utf8).trimmed();
        const int field = columnOf(name);
        // A column named twice: the first one counts.
        columnField << (columnField.contains(field) ? -1 : field);
        hasName = hasName || field == Name;
        if (field < 0 && !name.isEmpty())
            report.unusedColumns << name;
    }
    if (!hasName) {
        if (error)
            *error = QStringLiteral("The file has no Name column: its first line must name the columns, such as "
                                    "Name,Address,Notes");
        return std::nullopt;
    }

    QList<Row> rows;
    for (qsizetype r = 1; r < split.records.size(); ++r) {
        const CsvText::Record &record = split.records.at(r);
        Row row;
        row.row = record.row;
        bool blank = true;
        for (qsizetype c = 0; c < record.values.size() && c < columnField.size(); ++c) {
            if (columnField[c] < 0)
                continue;
            row.values[columnField[c]] = decoded(record.values.at(c), utf8);
            row.present[columnField[c]] = true;
            blank = blank && row.values[columnField[c]].trimmed().isEmpty();
        }
        if (!blank) // spreadsheets leave empty rows behind
            rows << row;
    }

    const bool changed = book.change(
        [&](QList<Site> &sites, QString *) {
            QHash<QString, int> seen; // name key -> row
            for (const Row &row : std::as_const(rows)) {
                const QString key = SiteText::nameKey(row.values[Name]);
                QString problem;
                if (key.isEmpty())
                    problem = QStringLiteral("no name");
                else if (seen.contains(key))
                    problem = QStringLiteral("\"%1\" is also on row %2").arg(row.values[Name].trimmed()).arg(seen.value(key));
                bool added = false;
                if (problem.isEmpty())
                    problem = take(row, sites, book.sitesFolder(), &added);
                if (!key.isEmpty() && !seen.contains(key))
                    seen.insert(key, row.row);
                if (!problem.isEmpty()) {
                    report.problems << QStringLiteral("row %1: %2").arg(row.row).arg(problem);
                    continue;
                }
                ++(added ? report.added : report.updated);
            }
            return true;
        },
        error);
    if (!changed)
        return std::nullopt;
    return report;
}

std::optional<Report> importFile(SiteBook &book, const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open file %1").arg(fileName);
        return std::nullopt;
    }
    if (file.size() > kMaxFileBytes) {
        if (error)
            *error = QStringLiteral("The file %1 is larger than %2 MB: not a list of sites").arg(fileName).arg(kMaxFileBytes >> 20);
        return std::nullopt;
    }
    return import(book, file.readAll(), error);
}

} // namespace SiteCsv
