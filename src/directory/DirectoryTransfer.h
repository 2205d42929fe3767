#pragma once

#include "link/ErasePermission.h"
#include "directory/PanelEntry.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <optional>

struct DirectoryContext;
struct DirectoryListing;

// The whole-directory transfers of the phone page, below the windows.
//
// GetDataClick reads every directory slot of the panel ("d01281152") into
// the phone table, replacing it. WriteDataClick erases the panel's directory
// ("f5a") and writes the whole table back, sorted by Name and given fresh
// consecutive slots from 1000 (hex). Both hold the exchange guard for their
// whole run and report through the context's prompt, status bar and
// transfer feedback; the page follows the signals below.
//
// The upload refuses a table with an entry that cannot travel on the line
// (EntryWriteCheck) before it erases anything. Only an upload that wrote
// every entry, with the link still up, marks the table as matching the panel
// and says "Done"; one cut short by a log-off, a dropped line or a panel that
// stopped answering says how many entries the panel got.
class DirectoryTransfer : public QObject
{
    Q_OBJECT
public:
    // How a transfer ended, for callers that go on from it (the page does not).
    enum class Outcome {
        Busy,               // another exchange was running; nothing was sent
        Completed,          // the whole directory came, or went and was taken
        CommunicationError, // the download's reply did not come whole
        NotStarted,         // the upload stopped at a check or the question; nothing was sent
        NothingToWrite,     // the table is empty; the panel was not touched
        EraseFailed,        // no "OK" to the erase; nothing was written
        SomeRefused,        // the panel refused entries (errorCount())
        Unfinished,         // the link went down, or the panel fell silent, during the rewrite
    };

    explicit DirectoryTransfer(DirectoryContext &ctx, QObject *parent = nullptr);

    Outcome GetDataClick();
    Outcome WriteDataClick();
    // The checks WriteDataClick runs before it asks anything or reads the
    // panel (the model's limit, entries that cannot travel on the line), with
    // their messages; the command line runs them before it takes its backup.
    bool WriteDataChecks();
    // Of the last upload: entries the panel took, and those it refused.
    int writtenCount() const { return written_; }
    int errorCount() const { return errors_; }

    // The entries between the first line of a directory reply and its "OK"
    // line; without "OK", those of every complete line after the first.
    // Lines with an empty RoomNumber or Name are empty slots and are left out
    // (DirectoryListing).
    static QList<PanelEntry> replyEntries(const QByteArray &reply, bool complete);

signals:
    // The download's progress field (Edit2): shown while the reply arrives,
    // with the number of lines received so far.
    void progressVisibleChanged(bool visible);
    void lineCountChanged(int lines);
    // The grid (DBGrid1) is disabled while the upload rewrites the panel.
    void gridEnabledChanged(bool enabled);

private:
    bool waitForDirectory();
    bool rebuildTable(const DirectoryListing &listing, bool complete);
    bool assignSlots();
    bool erasePanelDirectory();
    bool entriesFitTheLine();
    QByteArray uploadText();
    bool askToReplace(ErasePermission::KeptHandle *backup);
    struct Rewrite
    {
        int written = 0;       // entries the panel took
        int errors = 0;        // entries it refused
        bool lineLost = false; // the panel stopped answering at all
        QList<PanelEntry> sent; // what went to the panel, as it will list it
    };
    void recordRewrite(const Rewrite &done, Outcome outcome);
    Rewrite rewritePanel();
    Outcome reportRewrite(const Rewrite &done, const ErasePermission::KeptHandle &backup);
    bool linkStillUp();
    void beginTransferFeedback();
    void endTransferFeedback();

    DirectoryContext &ctx_;
    int written_ = 0;
    int errors_ = 0;
};
