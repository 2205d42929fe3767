#include "PanelMemory.h"

#include "PanelDefaults.h"
#include "PanelLines.h"

namespace {
const QByteArray &erasedRfid()
{
    static const QByteArray erased(PanelMemory::kRfidSize, '?');
    return erased;
}
} // namespace

PanelMemory::PanelMemory(int lastDirectoryRecord)
    : lastDirectory_(qMax(lastDirectoryRecord, kFirstDirectory - 1))
{
    clear();
    revision_ = 0;
}

PanelMemory::Area PanelMemory::area(int record) const
{
    if (record >= 0 && record <= kLastParameter)
        return Area::Parameter;
    if (record >= kFirstDirectory && record <= lastDirectory_)
        return Area::Directory;
    if (record >= kFirstRfid && record <= kLastRfid)
        return Area::Rfid;
    return Area::None;
}

QByteArray *PanelMemory::slot(int record)
{
    switch (area(record)) {
    case Area::Parameter:
        return &parameters_[record];
    case Area::Directory:
        return &directory_[record - kFirstDirectory];
    case Area::Rfid:
        return &rfid_[record - kFirstRfid];
    case Area::None:
        break;
    }
    return nullptr;
}

QByteArray PanelMemory::record(int record) const
{
    QByteArray *s = const_cast<PanelMemory *>(this)->slot(record);
    return s ? *s : QByteArray();
}

bool PanelMemory::setRecord(int record, const QByteArray &content)
{
    QByteArray *s = slot(record);
    if (!s)
        return false;
    if (*s != content) {
        *s = content;
        ++revision_;
    }
    return true;
}

void PanelMemory::eraseDirectory()
{
    directory_ = QList<QByteArray>(lastDirectory_ - kFirstDirectory + 1);
    ++revision_;
}

void PanelMemory::eraseRfid()
{
    rfid_ = QList<QByteArray>(kLastRfid - kFirstRfid + 1, erasedRfid());
    ++revision_;
}

void PanelMemory::resetParameters()
{
    parameters_.clear();
    for (int r = 0; r <= kLastParameter; ++r)
        parameters_ << PanelDefaults::parameterRecord(r);
    ++revision_;
}

void PanelMemory::clear()
{
    resetParameters();
    eraseDirectory();
    eraseRfid();
    clearEvents();
}

QByteArray PanelMemory::pin() const
{
    QByteArray pin = parameters_.at(0);
    const qsizetype end = pin.indexOf(char(0xFF));
    if (end >= 0)
        pin.truncate(end);
    const qsizetype nul = pin.indexOf('\0');
    if (nul >= 0)
        pin.truncate(nul);
    return pin;
}

void PanelMemory::setPin(const QByteArray &pin)
{
    setRecord(0, PanelDefaults::pinRecord(pin));
}

void PanelMemory::addEvent(const PanelEvent &event)
{
    events_.append(event);
    while (events_.size() > maxEvents_)
        events_.removeFirst();
    ++revision_;
}

void PanelMemory::setMaxEvents(int count)
{
    maxEvents_ = qMax(count, 1);
    if (events_.size() <= maxEvents_)
        return;
    events_.remove(0, events_.size() - maxEvents_);
    ++revision_;
}

void PanelMemory::clearEvents()
{
    events_.clear();
    ++revision_;
}

int PanelMemory::usedDirectorySlots() const
{
    int used = 0;
    for (const QByteArray &entry : directory_)
        used += entry.isEmpty() ? 0 : 1;
    return used;
}

std::optional<QByteArray> PanelMemory::roomOfTag(const QByteArray &code) const
{
    const QByteArray wanted = PanelLines::hexToPanel(code.toUpper());
    for (const QByteArray &rec : rfid_) {
        for (int k = 0; k < 4; ++k) {
            const QByteArray entry = rec.mid(16 * k, 16);
            if (entry.size() == 16 && entry.mid(6) == wanted) {
                QByteArray room = entry.left(6);
                const qsizetype end = room.indexOf('?');
                return end < 0 ? room : room.left(end);
            }
        }
    }
    return std::nullopt;
}

QList<QByteArray> PanelMemory::storedTags() const
{
    QList<QByteArray> tags;
    for (const QByteArray &rec : rfid_) {
        for (int k = 0; k < 4; ++k) {
            const QByteArray code = rec.mid(16 * k + 6, 10);
            if (code.size() != 10 || code.startsWith('?'))
                continue;
            QByteArray hex;
            for (char c : code)
                hex += (c >= ':' && c <= '?') ? char(c + 7) : c;
            tags << hex;
        }
    }
    return tags;
}

QByteArray PanelMemory::nameOfRoom(const QByteArray &room) const
{
    for (const QByteArray &entry : directory_) {
        const QList<QByteArray> fields = entry.split(',');
        if (fields.size() >= 6 && fields.at(0) == room)
            return fields.mid(5).join(',').left(16);
    }
    return {};
}
