#pragma once

#include "PanelEngine.h"
#include "PanelOptions.h"

#include <QDateTime>
#include <memory>

// Builds the panel panel-sim runs from its options: the model (the command
// line, else the memory file, else the 1000), the identity, the memory (the
// file if there is one, else demo data if asked, else the factory state), the
// clock (the file's, moved on by the time since it was saved, else the
// computer's), the PIN (the command line, else the file's, else 1234) and
// the faults.
namespace PanelSetup {

struct Result
{
    std::unique_ptr<PanelEngine> engine;
    bool loadedMemory = false; // the memory came from the file
};

// Empty engine with *error when the memory file cannot be used; the file is
// then left as it is.
Result build(const PanelOptions &options, const QDateTime &hostNow, QString *error);

} // namespace PanelSetup
