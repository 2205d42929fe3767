#include "history/HistoryAudit.h"

#include "history/HistoryDiff.h"
#include "history/HistoryStore.h"
#include "table/AtomicFile.h"
#include "table/CsvText.h"
#include "table/SpreadsheetFile.h"

#include <QDir>

namespace HistoryAudit {

QStringList headers()
{
    return {QStringLiteral("Time"),    QStringLiteral("Who"),     QStringLiteral("Via"),
            QStringLiteral("Kind"),    QStringLiteral("Model"),   QStringLiteral("Entries"),
            QStringLiteral("Added"),   QStringLiteral("Removed"), QStringLiteral("Changed"),
            QStringLiteral("Result"),  QStringLiteral("Changes")};
}

QStringList row(const HistoryVersion &w, const QString &changes)
{
    return {w.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            w.who,
            w.via,
            BackupKinds::caption(w.kind),
            w.model,
            QString::number(w.entries),
            QString::number(w.added),
            QString::number(w.removed),
            QString::number(w.changed),
            w.result ? w.result->text() : QStringLiteral("unknown"),
            changes};
}

QString changesOf(HistoryStore &store, const HistoryVersion &write)
{
    if (write.isFirst())
        return QStringLiteral("first version");
    QString why;
    const std::optional<HistoryDiff> diff = HistoryDiff::between(store, write.previous, store, write.id, &why);
    return diff ? diff->text().trimmed() : why;
}

QString safeCell(const QString &value)
{
    static const QString risky = QStringLiteral("=+-@\t\r");
    if (!value.isEmpty() && risky.contains(value.at(0)))
        return QLatin1Char('\'') + value;
    return value;
}

QByteArray csv(HistoryStore &store, const QList<HistoryVersion> &writes, const QLocale &locale)
{
    const char separator = SpreadsheetFile::separatorFor(locale);
    const auto line = [separator](const QStringList &values) {
        QList<QByteArray> cells;
        for (const QString &value : values)
            cells.append(safeCell(value).toUtf8());
        return CsvText::line(cells, separator);
    };
    QByteArray out(SpreadsheetFile::kUtf8Bom);
    out += line(headers());
    for (const HistoryVersion &w : writes)
        out += line(row(w, changesOf(store, w)));
    return out;
}

bool exportCsv(HistoryStore &store, const QString &fileName, QString *why, const QLocale &locale)
{
    const QByteArray bytes = csv(store, store.writes(), locale);
    const AtomicFile::Result result = AtomicFile::write(fileName, bytes);
    if (result == AtomicFile::Result::Saved)
        return true;
    if (why)
        *why = (result == AtomicFile::Result::CannotCreate ? QStringLiteral("Cannot create file %1")
                                                           : QStringLiteral("Could not save %1"))
                   .arg(QDir::toNativeSeparators(fileName));
    return false;
}

} // namespace HistoryAudit
