#pragma once

#include <QLockFile>
#include <QString>

// Held while a SQLite file is opened and set up (created, switched to
// write-ahead logging, its tables made). Two programs opening the same new
// file at once would otherwise race: switching a database to write-ahead
// logging does not wait for the other program, and a program that gives up
// on a file it just created must not remove it from under another. The
// lock is a file beside the database ("<file>.opening"), gone again when
// the opening ends; one left by a program that died is taken over.
class SqliteOpening
{
public:
    // Waits at most waitMs for another program's opening to end.
    SqliteOpening(const QString &databaseFile, int waitMs);
    SqliteOpening(const SqliteOpening &) = delete;
    SqliteOpening &operator=(const SqliteOpening &) = delete;

    // False when another program held the file for longer than the wait.
    bool held() const { return held_; }

private:
    QLockFile lock_;
    bool held_ = false;
};
