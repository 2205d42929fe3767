#pragma once

#include <QByteArray>

class PhoneDirectory;
class RfidPageState;

// Whose tag is this? Looks through the directory in its current order for
// the first entry whose RFID equals the code, in whatever case either came
// (a file may hold lower case; the reader may send it), and
// shows its room in Lc_exist ("Note, This record matches room " + room).
// The current entry itself counts, so reading the tag the current entry
// already holds names its own room. The rows are read in place: the cursor
// never moves, so the grid stays where it is, the edit fields keep what they
// show (rfID too) and no after-scroll handler runs. An empty code matches
// nothing. True when an owner was found.
bool FindCodeOwner(const PhoneDirectory &directory, RfidPageState &page, const QByteArray &code);
