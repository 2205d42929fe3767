#pragma once

#include "history/HistoryVersion.h"
#include "link/ContentRecorder.h"

#include <functional>

class CommandExchange;
class UserPrompt;

// The window's records: every read, backup and write a transfer tells of
// becomes a version in the history (HistoryStore), every event download goes
// into the event archive (EventArchive), both kept in the working folder as
// it is at the time of each record (a site's folder once a site is open),
// as coming from the window, by this user on this computer. A history or
// archive that cannot be opened or saved to is told as a warning and
// changes nothing else.
class PanelRecorder : public ContentRecorder
{
public:
    // link: for the panel's model; prompt: where the warnings go.
    PanelRecorder(CommandExchange &link, UserPrompt &prompt);

    // Called after an event download was added to the archive.
    void setEventsRecorded(std::function<void()> done) { eventsRecorded_ = std::move(done); }
    // Called after a version was added (or a read seen again).
    void setVersionRecorded(std::function<void()> done) { versionRecorded_ = std::move(done); }

    void read(PanelContent::Kind kind, const QList<PanelContent::File> &files) override;
    void backedUp(PanelContent::Kind kind, const QList<PanelContent::File> &files) override;
    void written(PanelContent::Kind kind, const QList<PanelContent::File> &files,
                 const WriteOutcome &outcome) override;
    void eventsDownloaded(const QList<QByteArray> &lines, const QString &panelTime, const QString &panelDate,
                          const QDateTime &downloadedAt) override;

    // The folder the records go to now: the working folder.
    static QString folder();

private:
    void add(PanelContent::Kind kind, HistoryAction action, const QList<PanelContent::File> &files,
             const WriteOutcome *outcome);
    void warn(const QString &what, const QString &why);

    CommandExchange &link_;
    UserPrompt &prompt_;
    std::function<void()> eventsRecorded_;
    std::function<void()> versionRecorded_;
};
