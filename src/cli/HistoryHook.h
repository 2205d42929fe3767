#pragma once

#include "backup/BackupKind.h"
#include "history/HistoryVersion.h"

#include <QByteArray>
#include <optional>

class CliSession;
class EventLog;

// What a job of corvalen-cli read from the panel or wrote to it, added to
// the folder's history (HistoryStore) or event archive (EventArchive) once
// the transfer is over, as coming from corvalen-cli, by this user on this
// computer. A history or archive that cannot be opened or saved to never
// changes how the job ends: it is told as a warning.
namespace HistoryHook {

// The reads return true when they kept a new version (false when the
// history already held the same content, or could not keep it).

// A complete directory download: the residents of the reply the transfer
// left in the receive memo.
bool directoryRead(CliSession &session);
// A directory rewrite that began: the entries sent (the first `attempted`
// of the sorted table, at the slots they went to) and how it ended.
void directoryWrite(CliSession &session, int attempted, const HistoryWriteResult &result);

// A complete Read All: the records 0001-0010 as the controls give them.
bool parametersRead(CliSession &session);
// A Write All that began: the records sent, in the order they went
// (0006, 0002-0005, 0007-0010, 0001), `sent` of them.
void parametersWrite(CliSession &session, int sent, const HistoryWriteResult &result);

// A complete RFID download: the store as the reply in the receive memo holds it.
bool tagsRead(CliSession &session);
// An RFID Write All that began: the store as the directory's codes fill it.
void tagsWrite(CliSession &session, const HistoryWriteResult &result);

// A backup taken before a write, in the history's form.
void backup(CliSession &session, BackupKind kind, const QByteArray &content);

// Anything else read or written, in the history's form; true when a new
// version was kept.
bool record(CliSession &session, BackupKind kind, HistoryAction action, const QByteArray &content,
            const std::optional<HistoryWriteResult> &result = std::nullopt);

// An event download that completed, or stopped at a line the event grid
// cannot read: its lines, into the event archive. How many of them were
// new to the archive, or -1 when the archive could not take them.
int events(CliSession &session, const EventLog &log);

} // namespace HistoryHook
