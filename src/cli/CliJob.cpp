#include "cli/CliJob.h"

#include "cli/BackupHook.h"
#include "cli/CliOptions.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliConsole.h"
#include "cli/CliInterrupt.h"
#include "cli/CliSummary.h"
#include "cli/CliWorkplace.h"
#include "backup/BackupMatch.h"
#include "backup/BackupStore.h"
#include "directory/PhoneListFile.h"

#include <QDateTime>
#include <QFileInfo>

CliJob::CliJob(CliSession &session, const CliOptions &options, CliSummary &summary, CliConsole &console)
    : session_(session)
    , options_(options)
    , summary_(summary)
    , console_(console)
{
}

CliExit CliJob::prepare(PinSource &)
{
    return CliExit::Done;
}

bool CliJob::canCreate(const QString &file)
{
    if (options_.fileIsStdio())
        return true;
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    if (!info.isDir() && folder.isDir() && folder.isWritable() && (!info.exists() || info.isWritable()))
        return true;
    session_.prompt().error(QStringLiteral("Cannot create file %1").arg(file));
    return false;
}

bool CliJob::fitsPanel()
{
    // A file named as a backup is one: it goes only onto a panel of its
    // model, and onto another site's panel only when someone says Yes.
    const std::optional<BackupName> backup = BackupName::parse(QFileInfo(options_.file).fileName());
    if (!backup)
        return true;
    const BackupMatch::Panel panel{BackupName::modelToken(session_.link().conn().DirectoryEnd),
                                   workplace_ ? workplace_->siteName() : QString()};
    if (BackupMatch::confirm(*backup, panel, session_.prompt(), QStringLiteral("written")))
        return true;
    session_.prompt().error(QStringLiteral("Nothing was written to the Corvalen."));
    return false;
}

bool CliJob::takeBackup()
{
    if (!fitsPanel())
        return false;
    const QString folder = workplace_ ? workplace_->backupFolder() : BackupStore::defaultFolder();
    const QString site = workplace_ ? workplace_->siteName() : QString();
    const BackupHook::Result backup = BackupHook::beforePut(session_, options_.command->job, folder, site);
    if (workplace_ && (!backup.ok || !backup.path.isEmpty())) {
        QString error;
        if (!workplace_->recordBackup(QDateTime::currentDateTimeUtc(), backup.ok,
                                      backup.ok ? backup.path : backup.error, &error))
            session_.prompt().warning(error);
    }
    if (!backup.ok) {
        session_.prompt().error(backup.error + QStringLiteral("\r\nNothing was written to the Corvalen."));
        return false;
    }
    summary_.backup = backup.path;
    if (!backup.path.isEmpty())
        session_.prompt().message(QStringLiteral("Backup saved to %1").arg(backup.path));
    return !stopped();
}

bool CliJob::stopped()
{
    return CliInterrupt::caught() != 0;
}

QString CliJob::fileName() const
{
    if (!options_.fileIsStdio())
        return options_.file;
    return options_.command->writesPanel() ? QStringLiteral("standard input") : QStringLiteral("standard output");
}

std::optional<QByteArray> CliJob::readInput(qint64 maxBytes)
{
    QByteArray content;
    QString error;
    if (!options_.fileIsStdio()) {
        if (TableFile::loadFile(options_.file, &content, &error, maxBytes))
            return content;
        session_.prompt().error(error);
        return std::nullopt;
    }
    const std::optional<QByteArray> input = console_.readInput(maxBytes);
    if (input && input->size() <= maxBytes)
        return input;
    error = QStringLiteral("Cannot open file %1").arg(fileName());
    if (input)
        error += QStringLiteral("\r\nIt is larger than %1 bytes, far larger than any list.").arg(maxBytes);
    session_.prompt().error(error);
    return std::nullopt;
}

bool CliJob::writeOutput(const QByteArray &bytes)
{
    if (stopped())
        return false;
    if (options_.fileIsStdio()) {
        console_.out(bytes);
        return true;
    }
    QString error;
    if (TableFile::saveFile(options_.file, bytes, &error))
        return true;
    session_.prompt().error(error);
    return false;
}

bool CliJob::saveList()
{
    if (stopped())
        return false;
    if (options_.fileIsStdio())
        return writeOutput(TableFile::format(session_.directory().PhoneTable));
    return PhoneListFile(session_.ctx()).saveAs(options_.file);
}

CliExit CliJob::readList(PhoneListCheck::Purpose purpose)
{
    CliPrompt &prompt = session_.prompt();
    const std::optional<QByteArray> content = readInput();
    if (!content)
        return CliExit::Refused;
    const PhoneListCheck::Result list = PhoneListCheck::check(*content, fileName(), purpose);
    const QString nothing = QStringLiteral("Nothing was written to the Corvalen.");
    if (!list.refusal.isEmpty()) {
        prompt.error(list.refusal + QStringLiteral("\r\n") + nothing);
        return CliExit::Refused;
    }
    for (const QString &warning : list.warnings)
        prompt.warning(warning);
    if (!list.notes.isEmpty())
        prompt.message(list.notes);
    if (options_.strict && !list.warnings.isEmpty()) {
        prompt.error(QStringLiteral("%1 cannot go to the Corvalen as it stands (--strict): %2 of its values would "
                                    "not arrive as written.\r\n%3")
                         .arg(fileName())
                         .arg(list.warnings.size())
                         .arg(nothing));
        return CliExit::Refused;
    }
    if (purpose == PhoneListCheck::Purpose::Tags && list.written == 0 && !options_.allowEmpty) {
        prompt.error(QStringLiteral("%1 holds no RFID codes (no entry has both a Room and an RFID): writing it "
                                    "would leave the Corvalen's RFID store empty.\r\n"
                                    "Give --allow-empty to empty the store. %2")
                         .arg(fileName(), nothing));
        return CliExit::Refused;
    }
    if (!PhoneListFile(session_.ctx()).load(list.read, options_.file))
        return CliExit::Refused;
    summary_.counts.insert(QStringLiteral("entries"), list.entries);
    return CliExit::Done;
}
