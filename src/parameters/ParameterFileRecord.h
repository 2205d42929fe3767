#pragma once

#include "parameters/ParameterControlIds.h"

#include <QByteArray>

// The parameter file's one record: 467 bytes, no header. Texts are counted
// strings (a length byte, then the capacity's worth of character bytes of
// which the first n are the text); flags are single bytes (1 checked, 0 not,
// anything but 0 reads as checked); reserved bytes are never written and keep
// what the last loaded file held. Bytes after a counted text's length are
// left as they were when a shorter text is stored.
class ParameterFileRecord
{
public:
    static constexpr int kSize = 467;

    struct TextField
    {
        ParamEdit edit;
        int offset;
        int capacity;
    };
    struct FlagField
    {
        ParamCheck check;
        int offset;
    };

    // The codes, the messages and the Setting numbers, in the order they are
    // captured and applied.
    static const TextField kLeadingTexts[20];
    // The Relay2 Override byte as its two nibble characters.
    static constexpr int kRelay2Offset = 319;
    static constexpr int kRelay2Capacity = 2;
    static const FlagField kFlags[8];
    static const TextField kSpeedDials[8];

    ParameterFileRecord();

    const QByteArray &bytes() const { return bytes_; }
    // Takes a whole image; false (and nothing changed) unless it is 467 bytes.
    bool setBytes(const QByteArray &image);

    // The text of the counted string at offset. A length byte beyond the
    // capacity reads as the capacity: a text never runs into the next field.
    QByteArray text(int offset, int capacity) const;
    // Stores text cut to the capacity; the bytes after it are kept.
    void setText(int offset, int capacity, const QByteArray &text);

    bool flag(int offset) const;
    void setFlag(int offset, bool on);

private:
    QByteArray bytes_;
};
