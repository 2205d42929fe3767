#pragma once

#include "parameters/ParameterRecordSet.h"
#include "rfid/StoreImage.h"

#include <QByteArray>
#include <QString>
#include <optional>

class CommandExchange;

// Whole reads of what the panel holds, for a backup: each one waits for the
// panel's "OK" (every wait bounded) and refuses a reply that is not whole,
// with the reason, because a partial backup would put back less than the
// panel held. None of them changes a table or a control.
namespace PanelReads {

// "d01281152": every directory slot. The reply from its first line to its
// "OK" line (DirectoryTransfer::replyEntries takes the entries from it).
// Waits like the download: steps of 86.4 ms, at most 1501, and no more than
// 41 silent steps in a row.
std::optional<QByteArray> readDirectory(CommandExchange &link, QString *why);

// "d00010010": the parameter records 0001 to 0010 (never the PIN), up to
// 100 steps of 86.4 ms.
std::optional<ParameterRecordSet> readParameterRecords(CommandExchange &link, QString *why);

// "s14081535": the whole RFID store, up to 100 steps of 86.4 ms.
std::optional<StoreImage> readTagStore(CommandExchange &link, QString *why);

} // namespace PanelReads
