#pragma once

#include "rfid/StoreCodec.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The panel's whole RFID store as it stands, record for record: 128 records
// (1408 to 1535) of 64 characters each, an erased record being 64 "?". It is
// what a backup of the tags keeps, so that a restore can put every record
// back where it was.
//
// Its file (".rfid") is text: a first line "corvalen-rfid-store 1", then one
// CR LF line per record, its four-digit number, a blank and its 64
// characters, as the panel lists them.
class StoreImage
{
public:
    static constexpr int kRecords = StoreCodec::kLastRecord - StoreCodec::kFirstRecord + 1;
    static inline const QByteArray kFileHeader = "corvalen-rfid-store 1";

    // Every record erased.
    StoreImage();

    // Record 1408 to 1535; an erased record for any other number.
    QByteArray record(int number) const;
    // Cut or filled with "?" to 64 characters; other numbers are ignored.
    void setRecord(int number, const QByteArray &text);
    bool isBlank(int number) const;

    // The entries with a room and a code, record by record (the order the
    // panel keeps them in), as the RFID DownLoad takes them.
    QList<StoreCodec::Entry> entries() const;
    int codeCount() const { return int(entries().size()); }

    // The panel's answer to "s14081535" from its first line to its "OK"
    // line: the first line names the command, then one line per record.
    // None, with the reason, when the reply does not hold all 128 records.
    static std::optional<StoreImage> fromReply(const QByteArray &reply, QString *why);

    QByteArray toFile() const;
    // None, with the reason, for a file that is not such a file.
    static std::optional<StoreImage> fromFile(const QByteArray &bytes, QString *why);

    bool operator==(const StoreImage &other) const { return records_ == other.records_; }

private:
    QList<QByteArray> records_;
};
