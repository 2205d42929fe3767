#pragma once

#include <QByteArray>
#include <QString>

// Files for the fuzzers that go through the program's file readers and
// writers: one temporary folder per process, inside CORVALEN_FUZZ_SCRATCH
// when that is set, else in memory (/dev/shm) where there is one, since the
// writers sync every file to disk.
namespace ScratchFiles {

// The path of a file of that name in the folder.
QString path(const QString &name);
// Replaces the file with the bytes; a failure ends the run.
void put(const QString &fileName, const QByteArray &bytes);
// The whole file; a failure ends the run.
QByteArray get(const QString &fileName);

} // namespace ScratchFiles
