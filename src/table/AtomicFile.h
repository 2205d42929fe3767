#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Replaces a file atomically: the bytes go to a temporary file beside it,
// are pushed to the disk and counted, and only then is the temporary file
// renamed over the old one. A save that fails at any point leaves the old
// file whole and no temporary file behind.
namespace AtomicFile {

enum class Result {
    Saved,
    CannotCreate, // the file (or its temporary twin) could not be created
    ShortWrite,   // the disk took fewer bytes than given
};

// permissions: for the new file; empty keeps QSaveFile's default.
Result write(const QString &fileName, const QByteArray &bytes, QFileDevice::Permissions permissions = {});

} // namespace AtomicFile
