#pragma once

#include "directory/DirectoryContext.h"
#include "rfid/AssignedAddrs.h"
#include "rfid/StoreImage.h"

#include <QObject>

// "DownLoad" of the RFID page: reads the panel's whole RFID store and puts
// every code into the directory, without asking first.
//
// Each code goes to the first entry of its room (exact text: 0012 is not 12)
// whose Addr has not yet received a code in this download, in the table's
// current order; a code for which no such entry is left becomes a new entry
// holding only the room, the code and the placeholder Addr "p" + the code
// counter. The codes the directory held before are emptied first. An entry
// with an empty Addr never receives a code.
class RfidDownload : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { Busy, Completed, CommunicationError };

    explicit RfidDownload(DirectoryContext &ctx, QObject *parent = nullptr);

    //  1. echo suppressed, TableLoading set, the grids suspended;
    //  2. "s14081535"; transfer window, hourglass, lamp blinking, keep-alive off;
    //  3. up to 100 polls of 86.4 ms for "OK";
    //  4. none, or an "OK" without a single record line: "communication
    //     error", the directory stays as it was;
    //  5.-8. the reply into RxMemo; codes emptied (or an empty table set up
    //     afresh, and SetupPhoneGrid for every grid over it); Save and Save
    //     As of the phone list allowed; every record line between the first
    //     and the last assigned entry by entry;
    // 10. in every case: first entry, DirectorySynced, "Write Each Change"
    //     enabled;  11. TableLoading cleared, window hidden, cursor and lamp
    //     back, keep-alive on, echo back, the grids resumed.
    Outcome download_idClick();

    // The same placing of codes from a store kept in a file (a backup)
    // instead of the panel: nothing is sent. The table then no longer
    // stands for what the panel holds, so DirectorySynced is cleared and
    // "Write Each Change" disabled, as after opening a phone list file.
    // Busy while an exchange runs.
    Outcome loadStore(const StoreImage &image);

    const AssignedAddrs &assignedAddrs() const { return assigned_; }

private:
    bool fillDirectory();
    void placeCodes(const QList<StoreCodec::Entry> &entries);
    void emptyCodes();
    void assign(const QByteArray &room, const QByteArray &code);
    QByteArray placeholderAddr() const;

    DirectoryContext &ctx_;
    AssignedAddrs assigned_;
};
