#pragma once

#include "backup/BackupStore.h"
#include "directory/PanelEntry.h"
#include "parameters/ParameterRecordSet.h"
#include "rfid/StoreImage.h"

#include <QList>

// The files a backup consists of, in the program's own formats, and back.
//
//  - directory: a phone list file (".csv") with every resident at the slot
//    ("Addr") the panel holds it in; a restore writes each one back to that
//    slot, so gaps left by single deletes stay where they were.
//  - parameters: a parameter file (".sys", which the parameter page opens)
//    and beside it the records 0001-0010 as the panel held them
//    (".records", ParameterRecordSet): the ".sys" file lacks some values of
//    record 0001 (ring counts, timers, an option), so a restore writes the
//    records, not the file.
//  - tags: the RFID store record for record (".rfid", StoreImage).
namespace BackupFiles {

QList<BackupStore::File> directoryFiles(const QList<PanelEntry> &entries);
QList<BackupStore::File> parameterFiles(const ParameterRecordSet &records);
QList<BackupStore::File> tagFiles(const StoreImage &image);

// The residents of a directory backup's ".csv" file, with their slots.
QList<PanelEntry> directoryEntries(const QByteArray &csv);

} // namespace BackupFiles
