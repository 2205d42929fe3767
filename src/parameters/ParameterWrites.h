#pragma once

#include <QList>
#include <QString>

struct TransferContext;
class ParameterControls;
class ParameterRecordSet;

// The Write buttons of the parameter page, the apply command and the PIN
// change. Every record goes through ProgramRecord (verified by reading it
// back); a record the panel does not take shows "There was an error" CR LF
// and the record's phrase, and its group goes on with the next record. The
// handlers hold the exchange guard; the groups are for composing. A handler
// whose messages or PIN hold a CR, LF or NUL writes nothing and says which
// field it is (ParameterLineBytes).
namespace ParameterWrites {

// The question of Write All; the message box shows the doubled ampersand as one.
inline const QString kWriteAllQuestion = QStringLiteral("ReWrite all Messages && Operating Parameters?");

// "There was an error" CR LF and the record's phrase (records 1 to 10).
QString writeErrorMessage(int record);

// Each group adds the records the panel did not take to *refused, when given.
// Record 0006.
void WriteGateCodes(TransferContext &ctx, ParameterControls &c, QList<int> *refused = nullptr);
// Records 0002, 0003, 0004, 0005.
void WriteMessages(TransferContext &ctx, ParameterControls &c, QList<int> *refused = nullptr);
// Records 0007, 0008, 0009, 0010.
void WriteSpeedDials(TransferContext &ctx, ParameterControls &c, QList<int> *refused = nullptr);
// Record 0001 after clamping the numeric edits. False when an edit is not a
// whole number: its message was shown and nothing was written.
bool WriteSystemParameters(TransferContext &ctx, ParameterControls &c, QList<int> *refused = nullptr);

// "Ready" in the status bar's command panel.
void ShowReady(TransferContext &ctx);
// 200 ticks, then "u": the panel takes the written data into use.
void upLoad(TransferContext &ctx);

// A group, "Ready", then the apply command.
void WritePara1Click(TransferContext &ctx, ParameterControls &c);
void WriteCodeClick(TransferContext &ctx, ParameterControls &c);
void WriteSpdClick(TransferContext &ctx, ParameterControls &c);
void SaveParamClick(TransferContext &ctx, ParameterControls &c);
// Checks the messages and every number (nothing is sent when one is not a
// whole number), asks kWriteAllQuestion; on Yes, under the hourglass, writes
// 0006, 0002-0005, 0007-0010, 0001, then "Ready" and the apply command.
void WriteAllClick(TransferContext &ctx, ParameterControls &c);

// How a Write All ended, for callers that go on from it.
struct WriteAllResult
{
    enum class Outcome {
        Busy,        // another exchange was running; nothing was sent
        Declined,    // the question was answered No; nothing was sent
        BadText,     // a field held a CR, LF or NUL; nothing was sent
        BadNumber,   // an edit was not a whole number: nothing was sent
        Completed,   // every record taken and the apply command sent
        SomeRefused, // the records named by `refused` were not taken; the rest were, and applied
        Unfinished,  // the connection ended during the writes: `written` records went, no apply command
    };
    Outcome outcome = Outcome::Busy;
    QList<int> refused; // record numbers the panel did not take
    int written = 0;    // records sent (taken or not)
};
// The records 0001-0010 as Write All would send them from the controls,
// as the panel will hold them (record 0001 left out when an edit is not a
// whole number).
ParameterRecordSet recordsToWrite(ParameterControls &c);

// The same as WriteAllClick, telling how it ended.
WriteAllResult writeAll(TransferContext &ctx, ParameterControls &c);
void UpLoadClick(TransferContext &ctx);
// NewPin filled with 0xFF to 32 as record 0000 (written straight to the port
// so the PIN never shows); "NEW PIN Programmed" or "ERROR in Programming
// PIN". Neither "Ready" nor the apply command follow.
void UpDatePINClick(TransferContext &ctx, ParameterControls &c);
// The same; true when the panel took the new PIN.
bool updatePin(TransferContext &ctx, ParameterControls &c);

} // namespace ParameterWrites
