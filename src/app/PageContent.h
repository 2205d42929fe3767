#pragma once

#include "backup/BackupKind.h"

#include <QByteArray>

class ParameterControls;
class Table;

// What a page holds now, in the history's form, to compare a version with:
// the phone list's residents at their slots, the parameter records as Write
// All would send them, the RFID store as the phone list's codes fill it.
namespace PageContent {

QByteArray of(BackupKind kind, const Table &phoneTable, ParameterControls &controls);

} // namespace PageContent
