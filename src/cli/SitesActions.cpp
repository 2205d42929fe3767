// The actions of "corvalen-cli sites": each one step on the site book.
#include "cli/CliConsole.h"
#include "cli/CliExit.h"
#include "cli/PinSource.h"
#include "cli/SitesCommand.h"
#include "sites/PinVault.h"
#include "sites/SiteBook.h"
#include "sites/SiteCsv.h"
#include "sites/SiteJson.h"

#include <QDir>
#include <QJsonDocument>
#include <optional>

namespace {

QByteArray line(const QString &text)
{
    return (text + QLatin1Char('\n')).toLocal8Bit();
}

QString orNever(const QString &shown)
{
    return shown.isEmpty() ? QStringLiteral("never") : shown;
}

QString backupText(const Site &site)
{
    if (site.lastBackup.isNull())
        return QStringLiteral("never");
    QString text = SiteText::shownTime(site.lastBackup);
    if (site.backupResult == Site::BackupResult::Failed)
        text += QStringLiteral(" (failed)");
    return text;
}

} // namespace

int SitesCommand::add(const Words &w, const QString &program)
{
    const std::optional<QString> port = w.value("--port");
    if (!port)
        return usageError(QStringLiteral("sites add needs the panel's address: --port ADDRESS"), program);
    Site site;
    site.name = w.names.first();
    site.address = *port;
    site.notes = w.value("--notes").value_or(QString());
    if (const std::optional<QString> folder = w.value("--folder"))
        site.folder = QDir(*folder).absolutePath();
    SiteBook book(bookFile_);
    QString error;
    if (!book.load(&error))
        return refused(error);
    const QString wrong = book.check(&site);
    if (!wrong.isEmpty())
        return usageError(wrong, program);
    const std::optional<Site> added = book.add(site, &error);
    if (!added)
        return refused(error);
    console_.err(line(QStringLiteral("Site \"%1\" added: %2, folder %3")
                          .arg(added->name, added->address, QDir::toNativeSeparators(added->folder))));
    return exitStatus(CliExit::Done);
}

int SitesCommand::list(const Words &w)
{
    SiteBook book(bookFile_);
    QString error;
    if (!book.load(&error))
        return refused(error);
    if (w.json) {
        console_.out(QJsonDocument(SiteJson::array(book.sites())).toJson(QJsonDocument::Compact) + '\n');
        return exitStatus(CliExit::Done);
    }
    const QStringList header = {QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("Model"),
                                QStringLiteral("Last contact"), QStringLiteral("Last backup")};
    QList<QStringList> rows{header};
    for (const Site &site : book.sites())
        rows << QStringList{site.name, site.address, site.model.isEmpty() ? QStringLiteral("-") : site.model,
                            orNever(SiteText::shownTime(site.lastContact)), backupText(site)};
    QList<qsizetype> widths(header.size(), 0);
    for (const QStringList &row : rows)
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[c] = qMax(widths[c], row.at(c).size());
    for (const QStringList &row : rows) {
        QString text;
        for (qsizetype c = 0; c < row.size(); ++c)
            text += c + 1 < row.size() ? row.at(c).leftJustified(widths[c] + 2) : row.at(c);
        console_.out(line(text));
    }
    return exitStatus(CliExit::Done);
}

int SitesCommand::show(const Words &w, const QString &program)
{
    SiteBook book(bookFile_);
    Site site;
    int status = 0;
    if (!findSite(book, w.names.first(), &site, &status, program))
        return status;
    if (w.json) {
        console_.out(QJsonDocument(SiteJson::object(site)).toJson(QJsonDocument::Compact) + '\n');
        return exitStatus(CliExit::Done);
    }
    QString notes = site.notes;
    notes.replace(QLatin1Char('\n'), QStringLiteral("\n              "));
    const QString pin = site.pinKeeping == Site::PinKeeping::PinFile
                            ? QStringLiteral("file %1").arg(QDir::toNativeSeparators(site.pinFilePath()))
                            : SiteText::pinKeepingWord(site.pinKeeping);
    console_.out(line(QStringLiteral("Name:         %1\nAddress:      %2\nNotes:        %3\nFolder:       %4\n"
                                     "PIN kept in:  %5\nModel:        %6\nLast contact: %7\nLast backup:  %8%9")
                          .arg(site.name, site.address, notes, QDir::toNativeSeparators(site.folder), pin,
                               site.model.isEmpty() ? QStringLiteral("-") : site.model,
                               orNever(SiteText::shownTime(site.lastContact)), backupText(site),
                               site.backupMessage.isEmpty() ? QString() : QStringLiteral(": ") + site.backupMessage)));
    return exitStatus(CliExit::Done);
}

int SitesCommand::edit(const Words &w, const QString &program)
{
    SiteBook book(bookFile_);
    Site site;
    int status = 0;
    if (!findSite(book, w.names.first(), &site, &status, program))
        return status;
    if (w.values.isEmpty())
        return usageError(QStringLiteral("sites edit needs what to change: --name, --port or --notes"), program);
    site.name = w.value("--name").value_or(site.name);
    site.address = w.value("--port").value_or(site.address);
    site.notes = w.value("--notes").value_or(site.notes);
    const QString wrong = book.check(&site);
    if (!wrong.isEmpty())
        return usageError(wrong, program);
    QString error;
    if (!book.update(site, &error))
        return refused(error);
    console_.err(line(QStringLiteral("Site \"%1\" changed").arg(site.name)));
    return exitStatus(CliExit::Done);
}

int SitesCommand::remove(const Words &w, const QString &program)
{
    SiteBook book(bookFile_);
    Site site;
    int status = 0;
    if (!findSite(book, w.names.first(), &site, &status, program))
        return status;
    QString error;
    if (!book.remove(site.id, &error))
        return refused(error);
    // The PIN goes with the site; the keyring is asked only where one is kept.
    if (site.pinKeeping == Site::PinKeeping::Keyring) {
        const PinVault::Result forgotten = PinVault().forget(site);
        if (!forgotten.ok && forgotten.problem != PinVault::Problem::NotKept)
            console_.err(line(QStringLiteral("Warning: ") + forgotten.message));
    }
    console_.err(line(QStringLiteral("Site \"%1\" removed from the book; its folder %2 is kept as it is")
                          .arg(site.name, QDir::toNativeSeparators(site.folder))));
    return exitStatus(CliExit::Done);
}

int SitesCommand::pin(const Words &w, const QString &program)
{
    SiteBook book(bookFile_);
    Site site;
    int status = 0;
    if (!findSite(book, w.names.first(), &site, &status, program))
        return status;
    PinVault vault;
    if (const std::optional<QString> keep = w.value("--keep")) {
        Site::PinKeeping keeping;
        if (!SiteText::pinKeepingFromWord(*keep, &keeping))
            return usageError(QStringLiteral("--keep takes keyring, file or none, not %1").arg(*keep), program);
        if (keeping != site.pinKeeping) {
            // What the old store kept goes before the site keeps its PIN elsewhere.
            const PinVault::Result old = vault.forget(site);
            if (!old.ok && old.problem != PinVault::Problem::NotKept)
                console_.err(line(QStringLiteral("Warning: ") + old.message));
            site.pinKeeping = keeping;
            QString error;
            if (!book.update(site, &error))
                return refused(error);
        }
    }
    if (w.forget) {
        if (w.value("--pin-file"))
            return usageError(QStringLiteral("--forget takes no --pin-file"), program);
        const PinVault::Result forgotten = vault.forget(site);
        console_.err(line(forgotten.message));
        return exitStatus(forgotten.ok ? CliExit::Done : CliExit::Refused);
    }
    if (site.pinKeeping == Site::PinKeeping::NotRemembered) {
        console_.err(line(QStringLiteral("The PIN of \"%1\" is asked at every log-on (its PIN is kept nowhere).")
                              .arg(site.name)));
        return exitStatus(w.value("--keep") ? CliExit::Done : CliExit::Refused);
    }
    PinSource pins(environment_, console_);
    const std::optional<QString> from = w.value("--pin-file");
    PinSource::Result given = from ? PinSource::readPinFile(*from) : pins.newPin();
    if (!given.pin)
        return refused(given.error);
    const PinVault::Result stored = vault.store(site, *given.pin);
    given.pin->fill('\0');
    console_.err(line(stored.message));
    return exitStatus(stored.ok ? CliExit::Done : CliExit::Refused);
}

int SitesCommand::importList(const Words &w)
{
    SiteBook book(bookFile_);
    QString error;
    if (!book.load(&error))
        return refused(error);
    const std::optional<SiteCsv::Report> report = SiteCsv::importFile(book, w.names.first(), &error);
    if (!report)
        return refused(error);
    console_.err(line(report->summary()));
    return exitStatus(report->problems.isEmpty() ? CliExit::Done : CliExit::Refused);
}

int SitesCommand::exportList(const Words &w)
{
    SiteBook book(bookFile_);
    QString error;
    if (!book.load(&error))
        return refused(error);
    if (!SiteCsv::save(book.sites(), w.names.first(), ',', &error))
        return refused(error);
    console_.err(line(QStringLiteral("%1 sites written to %2").arg(book.sites().size()).arg(w.names.first())));
    return exitStatus(CliExit::Done);
}
