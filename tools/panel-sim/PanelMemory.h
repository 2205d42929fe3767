#pragma once

#include "PanelEvent.h"

#include <QByteArray>
#include <QList>
#include <optional>

// Everything the panel stores, record by record, byte for byte:
//   0000-0010  parameter records (PIN, system parameters, messages, gate
//              codes, speed dials), 32 bytes each when the program writes them;
//   0128-last  the phone directory, one entry text per slot, empty when the
//              slot holds nothing;
//   1408-1535  the RFID store, 64 characters each, 64 "?" when erased;
// plus the event log. Content is kept exactly as written, so every byte
// 0-255 reads back unchanged.
class PanelMemory
{
public:
    enum class Area { None, Parameter, Directory, Rfid };

    static constexpr int kLastParameter = 10;
    static constexpr int kFirstDirectory = 128;
    static constexpr int kFirstRfid = 1408;
    static constexpr int kLastRfid = 1535;
    static constexpr int kRfidSize = 64;
    static constexpr int kMaxEvents = 1000; // the log's size unless set otherwise

    explicit PanelMemory(int lastDirectoryRecord);

    int lastDirectoryRecord() const { return lastDirectory_; }
    Area area(int record) const;
    bool exists(int record) const { return area(record) != Area::None; }

    // The record's content; empty for a record the panel does not have.
    QByteArray record(int record) const;
    // False, and no change, for a record the panel does not have.
    bool setRecord(int record, const QByteArray &content);

    void eraseDirectory();
    void eraseRfid();
    void resetParameters();
    // Factory state: default parameters, empty directory and store, no events.
    void clear();

    // The PIN is record 0000 up to its 0xFF (or NUL) filling.
    QByteArray pin() const;
    void setPin(const QByteArray &pin);

    const QList<PanelEvent> &events() const { return events_; }
    // The oldest events give way when the log is full.
    void addEvent(const PanelEvent &event);
    int maxEvents() const { return maxEvents_; }
    // A log of another size (at least one event); the oldest events give
    // way at once when it is smaller than what the log holds.
    void setMaxEvents(int count);
    void clearEvents();

    int usedDirectorySlots() const;
    // The room a tag belongs to, from the RFID store.
    std::optional<QByteArray> roomOfTag(const QByteArray &code) const;
    // Every tag in the RFID store, as upper-case hexadecimal codes.
    QList<QByteArray> storedTags() const;
    // The name of the first directory entry of a room; empty when none.
    QByteArray nameOfRoom(const QByteArray &room) const;

    // Goes up with every change of a record or of the event log.
    quint64 revision() const { return revision_; }

private:
    QByteArray *slot(int record);

    int lastDirectory_;
    QList<QByteArray> parameters_;
    QList<QByteArray> directory_;
    QList<QByteArray> rfid_;
    QList<PanelEvent> events_;
    int maxEvents_ = kMaxEvents;
    quint64 revision_ = 0;
};
