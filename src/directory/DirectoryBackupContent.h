#pragma once

#include "directory/DirectoryListing.h"
#include "directory/PanelEntry.h"
#include "link/PanelContent.h"

#include <QList>

// The panel's directory as what is kept before it is erased: a phone list
// file (".csv") with every resident at the slot ("Addr") the panel holds it
// in, so that putting it back writes each one to that slot and gaps left
// by single deletes stay where they were.
class DirectoryBackupContent : public PanelContent
{
public:
    // What the upload will write, from the table.
    explicit DirectoryBackupContent(QList<PanelEntry> written) : written_(std::move(written)) {}

    Kind kind() const override { return Kind::Directory; }
    QString what() const override { return QStringLiteral("phone list"); }
    // Every slot that holds anything is kept, a resident or not, so that a
    // restore puts back exactly what the write replaces.
    std::optional<Held> readHeld(CommandExchange &link, QString *why) const override;

    // "d01281152": every directory slot, read from the reply between its
    // first line and its "OK" line. Waits like the download: steps of
    // 86.4 ms, at most 1501, and no more than 41 silent steps in a row. A
    // reply without a single slot line is refused: the panel lists every
    // slot, an empty one too.
    static std::optional<DirectoryListing> readPanel(CommandExchange &link, QString *why);

    // The files that keep these entries, and back.
    static QList<File> files(const QList<PanelEntry> &entries);
    static QList<PanelEntry> entries(const QByteArray &csv);
    // The residents of a kept phone list file.
    static int count(const QByteArray &csv);

private:
    QList<PanelEntry> written_;
};
