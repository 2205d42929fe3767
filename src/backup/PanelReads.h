#pragma once

#include "directory/DirectoryListing.h"
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

// "d01281152": every directory slot, read from the reply between its first
// line and its "OK" line. Waits like the download: steps of 86.4 ms, at most
// 1501, and no more than 41 silent steps in a row. A reply without a single
// slot line is refused: the panel lists every slot, an empty one too.
std::optional<DirectoryListing> readDirectory(CommandExchange &link, QString *why);

// "d00010010": the parameter records 0001 to 0010 (never the PIN), up to
// 100 steps of 86.4 ms.
std::optional<ParameterRecordSet> readParameterRecords(CommandExchange &link, QString *why);

// "s14081535": the whole RFID store, up to 100 steps of 86.4 ms.
std::optional<StoreImage> readTagStore(CommandExchange &link, QString *why);

} // namespace PanelReads
