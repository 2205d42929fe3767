#pragma once

#include "directory/DirectoryContext.h"

#include "rfid/StoreCodec.h"
#include "rfid/StoreImage.h"

#include <QByteArray>
#include <QList>

class LineSilence;

// "Write All" of the RFID page: erases the panel's RFID store and writes it
// afresh from the directory, without asking first. Entries with both a room
// and a code go to the panel in the table's current order, packed four to a
// record from record 1408 on; the directory itself does not change, and the
// grid follows the walk.
class RfidWriteAll
{
public:
    enum class Outcome {
        Busy,               // another exchange was running; nothing was sent
        Declined,           // the user answered No to the question (with backups); nothing sent
        BadCode,            // a code of the wrong length: that entry is current, nothing sent
        UnsendableEntry,    // a control byte in a room or code: that entry is current, nothing sent
        CommunicationError, // no "OK" to the erase; nothing written
        Completed,          // every record stored (or verified)
        SomeFailed,         // "there was an error saving the codes," ...
        LimitReached,       // more than 512 codes: the first 512 written
        Unfinished,         // the connection ended during the write: the records before it written
        LineLost,           // the panel stopped answering: the write stopped there
    };

    explicit RfidWriteAll(DirectoryContext &ctx);

    //  1. every RFID must be empty or exactly 10 characters, else the
    //     three-line note with the offending entry made current; then no
    //     room or code to be sent may hold a control byte (it would cut its
    //     command short), else a note naming the field, entry and value;
    //  2. echo suppressed, TableLoading set, "c1418", transfer window,
    //     hourglass, lamp blinking, keep-alive off;
    //  3. up to 50 polls of 86.4 ms for "OK", else "communication error";
    //  4. record by record: "g" up to three tries, then (once an "OK" has
    //     been seen, from which on the echo is back) a read-back, and on a
    //     difference up to two "p", each read back unless the panel refused
    //     it ("Error"): a programmed record counts only when it reads back
    //     right; a record that is neither stored nor programmed counts as
    //     failed, also when the panel stopped answering;
    //     past record 1535 with codes left, the 512-code note ends the write;
    //     three tries in a row without a byte back mean the line is lost:
    //     the write stops at once and says so;
    //  5. failures: "there was an error saving the codes," / "Please try again";
    //  6. TableLoading cleared, window hidden, cursor and lamp back,
    //     keep-alive on, echo back.
    Outcome writeall_idClick();

    int failureCount() const { return failures_; }

private:
    int firstBadCode() const;
    QList<StoreCodec::Entry> tagsToWrite() const;
    Outcome writeRecords();
    QByteArray collectRecord(int &row);
    bool codesRemain(int row) const;
    bool storeRecord(const QByteArray &record, const QByteArray &text, LineSilence &silence);
    bool programRecord(const QByteArray &record, const QByteArray &text, LineSilence &silence);

    DirectoryContext &ctx_;
    void recordWrite(Outcome outcome);

    int failures_ = 0;
    StoreImage sent_;     // the records sent, as far as the write got
    int sentRecords_ = 0;
};
