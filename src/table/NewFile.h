#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Creates a file that must not replace anything: the bytes go to a
// temporary file beside it and are pushed to the disk, and only then does
// the file appear under its name, whole, and only if no file of that name
// is there yet. Two processes that create the same name at the same moment
// get one success and one Exists; neither file is lost or mixed.
//
// On file systems without hard links (some USB sticks and shares) the name
// is claimed first with an exclusive create and the bytes are then renamed
// over the claim; a crash in between leaves an empty file, never a short one.
namespace NewFile {

enum class Result {
    Created,
    Exists,       // a file (or anything else) of that name is already there
    CannotCreate, // the folder refused the file or its temporary twin
    ShortWrite,   // the disk took fewer bytes than given
};

Result create(const QString &fileName, const QByteArray &bytes, QFileDevice::Permissions permissions = {});

} // namespace NewFile
