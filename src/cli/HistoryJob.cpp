#include "cli/HistoryJob.h"

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "history/HistoryStore.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

std::optional<BackupKind> kindOf(const QString &word)
{
    for (const BackupKind kind : {BackupKind::Directory, BackupKind::Parameters, BackupKind::Tags})
        if (BackupKinds::word(kind) == word)
            return kind;
    return std::nullopt;
}

// The rows as columns as wide as their widest text, the last one free.
QString columns(const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows)
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths << 0;
            widths[c] = qMax(widths.at(c), row.at(c).size());
        }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row.at(c).leftJustified(widths.at(c) + 2) : row.at(c);
        text += line.trimmed() + QLatin1Char('\n');
    }
    return text;
}

} // namespace

CliExit HistoryJob::run()
{
    const QString folder = session_.recordsFolder();
    HistoryStore::Filter filter;
    if (!options_.records.kind.isEmpty())
        filter.kind = kindOf(options_.records.kind);

    QList<HistoryVersion> versions;
    // A folder without a history has no versions; listing them makes none.
    if (QFileInfo::exists(QDir(folder).filePath(HistoryStore::kFileName))) {
        HistoryStore history(folder);
        QString why;
        if (!history.open(&why)) {
            session_.prompt().error(why);
            return CliExit::Refused;
        }
        versions = history.versions(filter);
        if (!history.lastError().isEmpty()) {
            session_.prompt().error(history.lastError());
            return CliExit::Refused;
        }
    }

    if (options_.json) {
        QJsonArray array;
        for (const HistoryVersion &v : versions)
            array.append(v.toJson());
        console_.out(QJsonDocument(array).toJson(QJsonDocument::Indented));
        return CliExit::Done;
    }
    if (versions.isEmpty()) {
        session_.prompt().message(QStringLiteral("No versions in the history of %1.").arg(QDir::toNativeSeparators(folder)));
        return CliExit::Done;
    }
    QList<QStringList> rows{{QStringLiteral("ID"), QStringLiteral("TIME"), QStringLiteral("KIND"),
                             QStringLiteral("ACTION"), QStringLiteral("WHO"), QStringLiteral("VIA"),
                             QStringLiteral("ENTRIES"), QStringLiteral("CHANGES"), QStringLiteral("RESULT")}};
    for (const HistoryVersion &v : versions)
        rows << QStringList{QString::number(v.id),
                            v.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                            BackupKinds::word(v.kind),
                            HistoryActions::word(v.action),
                            v.who,
                            v.via,
                            QString::number(v.entries),
                            v.changeText(),
                            v.result ? v.result->text() : QString()};
    console_.out(columns(rows).toLocal8Bit());
    return CliExit::Done;
}
