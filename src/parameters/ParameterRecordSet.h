#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// The parameter records 0001 to 0010 exactly as the panel holds them, 32
// bytes each: the system parameters, the messages, the gate codes and the
// speed dials. Never the PIN (record 0000). A backup of the parameters keeps
// them beside its parameter file, which holds neither every value of record
// 0001 nor the records' bytes as such, so that a restore can write back what
// the panel held, byte for byte.
//
// A record read from the panel arrives without its NUL bytes (the receive
// side drops them); the scrolling messages are NUL-filled at their end, so a
// short record is filled with NUL to 32 again.
//
// Its file (".records") is text: a first line "corvalen-parameter-records
// 1", then one CR LF line per record, its four-digit number, a blank and its
// 32 bytes as 64 hexadecimal digits.
class ParameterRecordSet
{
public:
    static constexpr int kFirst = 1;
    static constexpr int kLast = 10;
    static constexpr int kWidth = 32;
    static inline const QByteArray kFileHeader = "corvalen-parameter-records 1";

    bool has(int record) const;
    // Empty for a record the set does not hold.
    QByteArray record(int record) const;
    // Cut to 32 bytes, or filled with NUL to 32; record numbers outside
    // 1-10 are ignored.
    void setRecord(int record, const QByteArray &payload);
    bool isComplete() const;

    QByteArray toFile() const;
    // None, with the reason, for a file that is not such a file or that
    // names a record outside 1-10.
    static std::optional<ParameterRecordSet> fromFile(const QByteArray &bytes, QString *why);

    bool operator==(const ParameterRecordSet &other) const { return records_ == other.records_; }

private:
    std::array<std::optional<QByteArray>, kLast + 1> records_;
};
