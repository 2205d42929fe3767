#pragma once

#include <QSqlDatabase>
#include <QString>

class QSqlQuery;

// The SQLite side of a history: opening the file with its settings and
// schema, transactions, and errors in words. Used by HistoryStore only.
//
// Settings: write-ahead log (readers never wait for a writer; a crash leaves
// the last committed state), synchronous FULL (a committed version survives
// a power cut), a busy timeout of kBusyMs (another program's save is waited
// for that long, never longer), and the file readable by its owner only
// (it holds gate codes).
namespace HistoryDatabase {

inline constexpr int kBusyMs = 5000;
inline constexpr int kSchemaVersion = 1;

// A connection name no other open store uses.
QString uniqueConnectionName();

// Opens (creating it and its folder when missing) the history file under
// `connection`, checks that it is a history this program can write and sets
// up the schema. False with the reason otherwise; the file is then left as
// it was.
bool open(const QString &connection, const QString &fileName, QString *why);

// Closes and forgets the connection.
void close(const QString &connection);

// "BEGIN IMMEDIATE" at construction: the write lock is taken before anything
// is read, so that what a change is based on cannot change under it (two
// programs adding versions at once serialise here, each waiting up to
// kBusyMs). Rolled back at destruction unless commit() succeeded.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool begun() const { return begun_; }
    bool commit();
    QString error() const { return error_; }

private:
    QSqlDatabase db_;
    bool begun_ = false;
    bool done_ = false;
    QString error_;
};

// A query prepared on the connection; false from run() with the error kept
// in *why.
bool run(QSqlQuery &query, QString *why);
bool exec(QSqlDatabase db, const QString &sql, QString *why);

// The driver's message in words a user can act on: a busy history, a full
// disk, a damaged or foreign file.
QString describe(const class QSqlError &error);

} // namespace HistoryDatabase
