#pragma once

#include "rfid/StoreImage.h"

class Table;

// The store the RFID Write All would leave from a phone table: the codes
// that have a room, packed in table order, record after record from the
// first. What the history keeps for a tag write and compares a page with.
namespace StoreOfTable {

StoreImage of(const Table &phoneTable);

} // namespace StoreOfTable
