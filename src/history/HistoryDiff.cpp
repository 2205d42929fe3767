#include "history/HistoryDiff.h"

#include "history/HistoryContent.h"
#include "history/HistoryStore.h"
#include "history/SystemParameterChanges.h"

#include <QHash>
#include <QJsonArray>
#include <functional>

namespace {

QString latin1(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

QJsonObject entryJson(const PanelEntry &e)
{
    QJsonObject o;
    o.insert(QStringLiteral("name"), latin1(e.Name));
    o.insert(QStringLiteral("room"), latin1(e.RoomNumber));
    o.insert(QStringLiteral("phone"), latin1(e.PHnumber));
    o.insert(QStringLiteral("code1"), latin1(e.Code1));
    o.insert(QStringLiteral("code2"), latin1(e.Code2));
    o.insert(QStringLiteral("spare"), latin1(e.Spare));
    o.insert(QStringLiteral("slot"), latin1(e.SlotAddress));
    return o;
}

QJsonObject fieldJson(const QString &field, const QByteArray &from, const QByteArray &to)
{
    QJsonObject o;
    o.insert(QStringLiteral("field"), field);
    o.insert(QStringLiteral("from"), latin1(from));
    o.insert(QStringLiteral("to"), latin1(to));
    return o;
}

QJsonArray changedFields(const DirectoryComparison::Change &c)
{
    QJsonArray out;
    const auto field = [&](const char *name, const QByteArray &a, const QByteArray &b) {
        if (a != b)
            out.append(fieldJson(QLatin1String(name), a, b));
    };
    field("Name", c.before.Name, c.after.Name);
    field("RoomNumber", c.before.RoomNumber, c.after.RoomNumber);
    field("PHnumber", c.before.PHnumber, c.after.PHnumber);
    field("Code1", c.before.Code1, c.after.Code1);
    field("Code2", c.before.Code2, c.after.Code2);
    field("spare", c.before.Spare, c.after.Spare);
    return out;
}

QJsonArray tagsJson(const QList<StoreCodec::Entry> &tags)
{
    QJsonArray out;
    for (const StoreCodec::Entry &t : tags) {
        QJsonObject o;
        o.insert(QStringLiteral("room"), latin1(t.room));
        o.insert(QStringLiteral("code"), latin1(t.code));
        out.append(o);
    }
    return out;
}

// The backups' comparison texts end lines with CR LF (they go into message
// boxes); the history's end them with LF. Their own first line, a
// summary, gives way to ours.
QStringList detailLines(const QString &text, bool dropSummary)
{
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (dropSummary && !lines.isEmpty())
        lines.removeFirst();
    return lines;
}

// The resident as the panel holds it after writing it (slot kept).
PanelEntry asStored(const PanelEntry &e)
{
    PanelEntry s = ParsePanelEntry("0000," + PanelEntryText(e.RoomNumber, e.Code1, e.Code2, e.Spare, e.PHnumber, e.Name));
    s.SlotAddress = e.SlotAddress;
    return s;
}

// The fields the comparison looks at (slots do not count).
QByteArray contentKey(const PanelEntry &s)
{
    QByteArray key;
    for (const QByteArray *f : {&s.Name, &s.RoomNumber, &s.PHnumber, &s.Code1, &s.Code2, &s.Spare})
        key += QByteArray::number(f->size()) + ':' + *f;
    return key;
}

// DirectoryComparison::compare, in time proportional to the directory's
// size: it pairs residents in three rounds (identical entries, then the
// same Name, then the same RoomNumber), each resident of the newer side
// with the first unpaired one of the older side that matches, by scanning
// and shrinking lists, which for two lists of 1000 takes from 15 ms (few
// changes) to well over 100 ms (a directory rewritten). Here each round
// pairs the same residents in the same order through a hash; the result,
// resident for resident and in order, is the comparison's own.
DirectoryComparison compareDirectories(const QList<PanelEntry> &before, const QList<PanelEntry> &after)
{
    QList<PanelEntry> older, newer;
    older.reserve(before.size());
    newer.reserve(after.size());
    for (const PanelEntry &e : before)
        older.append(asStored(e));
    for (const PanelEntry &e : after)
        newer.append(asStored(e));
    QList<bool> olderPaired(older.size(), false), newerPaired(newer.size(), false);
    DirectoryComparison out;
    const auto round = [&](const std::function<QByteArray(const PanelEntry &)> &keyOf, bool isChange) {
        QHash<QByteArray, QList<qsizetype>> waiting; // unpaired older residents by key, in order
        for (qsizetype j = 0; j < older.size(); ++j)
            if (!olderPaired.at(j))
                waiting[keyOf(older.at(j))].append(j);
        QHash<QByteArray, qsizetype> taken;
        for (qsizetype i = 0; i < newer.size(); ++i) {
            if (newerPaired.at(i))
                continue;
            const QByteArray key = keyOf(newer.at(i));
            const auto match = waiting.constFind(key);
            if (match == waiting.constEnd())
                continue;
            qsizetype &next = taken[key];
            if (next >= match->size())
                continue;
            const qsizetype j = match->at(next++);
            olderPaired[j] = newerPaired[i] = true;
            if (isChange)
                out.changed.append({older.at(j), newer.at(i)});
            else
                ++out.unchanged;
        }
    };
    round(contentKey, false);
    round([](const PanelEntry &e) { return e.Name; }, true);
    round([](const PanelEntry &e) { return e.RoomNumber; }, true);
    for (qsizetype j = 0; j < older.size(); ++j)
        if (!olderPaired.at(j))
            out.removed.append(older.at(j));
    for (qsizetype i = 0; i < newer.size(); ++i)
        if (!newerPaired.at(i))
            out.added.append(newer.at(i));
    return out;
}

} // namespace

HistoryDiff HistoryDiff::compare(const HistoryContent::Parsed &a, const HistoryContent::Parsed &b)
{
    HistoryDiff d;
    d.kind = a.kind;
    switch (a.kind) {
    case BackupKind::Directory:
        d.directory = compareDirectories(a.entries, b.entries);
        break;
    case BackupKind::Parameters:
        d.fields = SystemParameterChanges::expand(ParameterComparison::changes(a.records, b.records));
        break;
    case BackupKind::Tags:
        d.tags = TagComparison::changes(a.tags.entries(), b.tags.entries());
        break;
    }
    return d;
}

std::optional<HistoryDiff> HistoryDiff::compare(BackupKind kind, const QByteArray &before, const QByteArray &after,
                                                QString *why)
{
    QString reason;
    const std::optional<HistoryContent::Parsed> a = HistoryContent::parse(kind, before, &reason);
    const std::optional<HistoryContent::Parsed> b = a ? HistoryContent::parse(kind, after, &reason) : std::nullopt;
    if (!a || !b) {
        if (why)
            *why = reason;
        return std::nullopt;
    }
    return compare(*a, *b);
}

std::optional<HistoryDiff> HistoryDiff::between(HistoryStore &before, qint64 beforeId, HistoryStore &after,
                                                qint64 afterId, QString *why)
{
    const std::optional<HistoryVersion> a = before.version(beforeId);
    const std::optional<HistoryVersion> b = after.version(afterId);
    const auto fail = [why](const QString &reason) -> std::optional<HistoryDiff> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (!a)
        return fail(QStringLiteral("There is no version %1.").arg(beforeId));
    if (!b)
        return fail(QStringLiteral("There is no version %1.").arg(afterId));
    if (a->kind != b->kind)
        return fail(QStringLiteral("Version %1 holds the %2 and version %3 the %4: they cannot be compared.")
                        .arg(beforeId)
                        .arg(HistoryKinds::inText(a->kind))
                        .arg(afterId)
                        .arg(HistoryKinds::inText(b->kind)));
    const std::optional<QByteArray> x = before.content(beforeId, why);
    if (!x)
        return std::nullopt;
    const std::optional<QByteArray> y = after.content(afterId, why);
    if (!y)
        return std::nullopt;
    return compare(a->kind, *x, *y, why);
}

std::optional<HistoryDiff> HistoryDiff::withContent(HistoryStore &store, qint64 id, const QByteArray &now,
                                                    QString *why)
{
    const std::optional<HistoryVersion> v = store.version(id);
    if (!v) {
        if (why)
            *why = QStringLiteral("There is no version %1.").arg(id);
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = store.content(id, why);
    if (!bytes)
        return std::nullopt;
    return compare(v->kind, *bytes, now, why);
}

std::optional<HistoryContent::Parsed> HistoryDiff::side(HistoryStore &store, const QString &versionOrFile,
                                                        QString *why)
{
    bool number = false;
    const qint64 id = versionOrFile.toLongLong(&number);
    if (!number)
        return HistoryContent::fromFile(versionOrFile, why);
    const std::optional<HistoryVersion> v = store.version(id);
    if (!v) {
        if (why)
            *why = QStringLiteral("There is no version %1.").arg(id);
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = store.content(id, why);
    return bytes ? HistoryContent::parse(v->kind, *bytes, why) : std::nullopt;
}

std::optional<HistoryDiff> HistoryDiff::compareSides(const HistoryContent::Parsed &before,
                                                     const HistoryContent::Parsed &after, QString *why)
{
    if (before.kind != after.kind) {
        if (why)
            *why = QStringLiteral("One holds the %1 and the other the %2: they cannot be compared.")
                       .arg(HistoryKinds::inText(before.kind), HistoryKinds::inText(after.kind));
        return std::nullopt;
    }
    return compare(before, after);
}

int HistoryDiff::added() const
{
    switch (kind) {
    case BackupKind::Directory: return int(directory.added.size());
    case BackupKind::Parameters: return 0;
    case BackupKind::Tags: break;
    }
    return int(tags.added.size());
}

int HistoryDiff::removed() const
{
    switch (kind) {
    case BackupKind::Directory: return int(directory.removed.size());
    case BackupKind::Parameters: return 0;
    case BackupKind::Tags: break;
    }
    return int(tags.removed.size());
}

int HistoryDiff::changed() const
{
    switch (kind) {
    case BackupKind::Directory: return int(directory.changed.size());
    case BackupKind::Parameters: return int(fields.size());
    case BackupKind::Tags: break;
    }
    return 0;
}

QString HistoryDiff::summary() const
{
    const QString counts = changeCounts(added(), removed(), changed());
    return counts.isEmpty() ? QStringLiteral("no differences") : counts;
}

QString HistoryDiff::text() const
{
    QStringList lines{summary()};
    if (!isEmpty()) {
        switch (kind) {
        case BackupKind::Directory: lines += detailLines(directory.text(), true); break;
        case BackupKind::Parameters: lines += detailLines(ParameterComparison::text(fields), false); break;
        case BackupKind::Tags: lines += detailLines(TagComparison::text(tags), true); break;
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QJsonObject HistoryDiff::toJson() const
{
    QJsonObject o;
    o.insert(QStringLiteral("kind"), BackupKinds::word(kind));
    o.insert(QStringLiteral("identical"), isEmpty());
    o.insert(QStringLiteral("added"), added());
    o.insert(QStringLiteral("removed"), removed());
    o.insert(QStringLiteral("changed"), changed());
    switch (kind) {
    case BackupKind::Directory: {
        QJsonArray added, removed, changed;
        for (const PanelEntry &e : directory.added)
            added.append(entryJson(e));
        for (const PanelEntry &e : directory.removed)
            removed.append(entryJson(e));
        for (const DirectoryComparison::Change &c : directory.changed) {
            QJsonObject change;
            change.insert(QStringLiteral("name"), latin1(c.before.Name));
            change.insert(QStringLiteral("room"), latin1(c.before.RoomNumber));
            change.insert(QStringLiteral("before"), entryJson(c.before));
            change.insert(QStringLiteral("after"), entryJson(c.after));
            change.insert(QStringLiteral("fields"), changedFields(c));
            changed.append(change);
        }
        o.insert(QStringLiteral("residentsAdded"), added);
        o.insert(QStringLiteral("residentsRemoved"), removed);
        o.insert(QStringLiteral("residentsChanged"), changed);
        o.insert(QStringLiteral("unchanged"), directory.unchanged);
        break;
    }
    case BackupKind::Parameters: {
        QJsonArray fieldList;
        for (const ParameterComparison::FieldChange &c : fields)
            fieldList.append(fieldJson(c.field, c.before, c.after));
        o.insert(QStringLiteral("fields"), fieldList);
        break;
    }
    case BackupKind::Tags:
        o.insert(QStringLiteral("tagsAdded"), tagsJson(tags.added));
        o.insert(QStringLiteral("tagsRemoved"), tagsJson(tags.removed));
        break;
    }
    return o;
}
