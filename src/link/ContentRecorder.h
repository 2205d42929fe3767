#pragma once

#include "link/PanelContent.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Told what the panel's contents were once a transfer is over, so that it
// can be kept: every complete read, every backup taken before a write,
// every write (what was sent and how it ended) and every event download.
// The transfers describe what they read or wrote as the files of their own
// domain (the same files a backup keeps); whoever keeps them chooses the
// form it needs. Keeping must never change how a transfer ends: an
// implementation says itself when something could not be kept.
class ContentRecorder
{
public:
    // How a write ended: `written` of `total` entries or records taken,
    // `refused` of them refused by the panel, and whether it stopped early.
    struct WriteOutcome
    {
        int written = 0;
        int total = 0;
        int refused = 0;
        bool cutShort = false;
        QStringList refusedItems; // "record 0003", "Adams Helen (101)"
    };

    virtual ~ContentRecorder() = default;

    // A complete read of the panel's content.
    virtual void read(PanelContent::Kind kind, const QList<PanelContent::File> &files) = 0;
    // The panel's content as it was kept before a write erased it.
    virtual void backedUp(PanelContent::Kind kind, const QList<PanelContent::File> &files) = 0;
    // What a write sent (as far as it got) and how it ended.
    virtual void written(PanelContent::Kind kind, const QList<PanelContent::File> &files,
                         const WriteOutcome &outcome) = 0;
    // An event download: the reply's lines between its first line and its
    // "OK", oldest first, with the panel's clock as read before ("hh:mm:ss",
    // "dd/mm/yy"; empty when unread) and the computer's time of the download.
    virtual void eventsDownloaded(const QList<QByteArray> &lines, const QString &panelTime,
                                  const QString &panelDate, const QDateTime &downloadedAt) = 0;
};
