#include "MemoryFile.h"

#include "PanelEngine.h"
#include "PanelLines.h"

#include <QFile>
#include <QSaveFile>

namespace MemoryFile {

namespace {
constexpr char kMagic[] = "corvalen-xarn-panel-memory 1";
constexpr char kTimeFormat[] = "yyyy-MM-ddTHH:mm:ss";

QByteArray timeText(const QDateTime &time)
{
    return time.toString(QLatin1String(kTimeFormat)).toLatin1();
}

std::optional<QDateTime> parseTime(const QByteArray &text)
{
    QDateTime time = QDateTime::fromString(QString::fromLatin1(text), QLatin1String(kTimeFormat));
    if (!time.isValid())
        return std::nullopt;
    time.setTimeSpec(Qt::UTC);
    return time;
}

char kindLetter(PanelEvent::Kind kind)
{
    switch (kind) {
    case PanelEvent::Kind::Room:
        return 'R';
    case PanelEvent::Kind::Button:
        return 'A';
    case PanelEvent::Kind::Call:
        return 'B';
    case PanelEvent::Kind::Error:
        return 'C';
    }
    return 'R';
}

std::optional<PanelEvent::Kind> kindOf(const QByteArray &letter)
{
    if (letter == "R")
        return PanelEvent::Kind::Room;
    if (letter == "A")
        return PanelEvent::Kind::Button;
    if (letter == "B")
        return PanelEvent::Kind::Call;
    if (letter == "C")
        return PanelEvent::Kind::Error;
    return std::nullopt;
}

std::optional<int> smallNumber(const QByteArray &text, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || value > max || text.startsWith('+'))
        return std::nullopt;
    return value;
}

std::optional<PanelEvent> parseEvent(const QList<QByteArray> &f)
{
    if (f.size() != 8)
        return std::nullopt;
    const auto kind = kindOf(f.at(1));
    const auto when = parseTime(f.at(2));
    const auto relay = smallNumber(f.at(3), 9), source = smallNumber(f.at(4), 9), digit = smallNumber(f.at(5), 15);
    const auto room = unescape(f.at(6)), name = unescape(f.at(7));
    if (!kind || !when || !relay || !source || !digit || !room || !name)
        return std::nullopt;
    PanelEvent event;
    event.kind = *kind;
    event.when = *when;
    event.relay = *relay;
    event.source = *source;
    event.digit = *digit;
    event.room = *room;
    event.name = *name;
    return event;
}
} // namespace

QByteArray escape(const QByteArray &bytes)
{
    QByteArray out = "=";
    for (char c : bytes) {
        const uchar u = uchar(c);
        if (u > 0x20 && u < 0x7F && u != '%')
            out += c;
        else
            out += '%' + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
    }
    return out;
}

std::optional<QByteArray> unescape(const QByteArray &field)
{
    if (!field.startsWith('='))
        return std::nullopt;
    QByteArray out;
    for (qsizetype i = 1; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c != '%') {
            out += c;
            continue;
        }
        bool ok = false;
        const int value = field.mid(i + 1, 2).toInt(&ok, 16);
        if (!ok || i + 2 >= field.size())
            return std::nullopt;
        out += char(value);
        i += 2;
    }
    return out;
}

QByteArray serialise(const MemoryImage &image)
{
    QByteArray out = QByteArray(kMagic) + '\n';
    out += "# The memory of the virtual Corvalen Xarn panel (tools/panel-sim).\n";
    out += "model " + (image.model.isEmpty() ? QByteArray("-") : image.model.toLatin1()) + '\n';
    out += "identity " + escape(image.identity) + '\n';
    if (image.panelClock && image.hostClock)
        out += "clock " + timeText(*image.panelClock) + ' ' + timeText(*image.hostClock) + '\n';
    for (auto it = image.records.cbegin(); it != image.records.cend(); ++it)
        out += "record " + PanelLines::recordNumber(it.key()) + ' ' + escape(it.value()) + '\n';
    for (const PanelEvent &e : image.events)
        out += QByteArray("event ") + kindLetter(e.kind) + ' ' + timeText(e.when) + ' ' + QByteArray::number(e.relay)
             + ' ' + QByteArray::number(e.source) + ' ' + QByteArray::number(e.digit) + ' ' + escape(e.room) + ' '
             + escape(e.name) + '\n';
    return out;
}

std::optional<MemoryImage> parse(const QByteArray &text, QString *error)
{
    const QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.first().trimmed() != kMagic) {
        *error = QStringLiteral("line 1: not a panel memory file (it should start with \"%1\")")
                     .arg(QLatin1String(kMagic));
        return std::nullopt;
    }
    MemoryImage image;
    for (int n = 1; n < lines.size(); ++n) {
        const QByteArray line = lines.at(n).endsWith('\r') ? lines.at(n).chopped(1) : lines.at(n);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> f = line.split(' ');
        const QByteArray &key = f.first();
        bool good = false;
        if (key == "model" && f.size() == 2) {
            image.model = f.at(1) == "-" ? QString() : QString::fromLatin1(f.at(1));
            good = image.model.isEmpty() || PanelModelProfile::isModelName(image.model);
        } else if (key == "identity" && f.size() == 2) {
            const auto identity = unescape(f.at(1));
            good = identity.has_value();
            image.identity = identity.value_or(QByteArray());
        } else if (key == "clock" && f.size() == 3) {
            image.panelClock = parseTime(f.at(1));
            image.hostClock = parseTime(f.at(2));
            good = image.panelClock && image.hostClock;
        } else if (key == "record" && f.size() == 3) {
            const auto record = f.at(1).size() == 4 ? smallNumber(f.at(1), 9999) : std::nullopt;
            const auto content = unescape(f.at(2));
            good = record && content;
            if (good)
                image.records.insert(*record, *content);
        } else if (key == "event") {
            const auto event = parseEvent(f);
            good = event.has_value();
            if (good)
                image.events << *event;
        }
        if (!good) {
            *error = QStringLiteral("line %1: cannot read \"%2\"")
                         .arg(n + 1)
                         .arg(QString::fromLatin1(line.left(60)));
            return std::nullopt;
        }
    }
    return image;
}

std::optional<MemoryImage> read(const QString &path, QString *error)
{
    error->clear();
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot open file %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QString why;
    std::optional<MemoryImage> image = parse(file.readAll(), &why);
    if (!image)
        *error = QStringLiteral("%1: %2").arg(path, why);
    return image;
}

bool write(const QString &path, const MemoryImage &image, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Cannot create file %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = serialise(image);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("Cannot create file %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

MemoryImage capture(const PanelEngine &engine, const QDateTime &hostNow)
{
    const PanelEngine &e = engine;
    MemoryImage image;
    image.model = e.model().name;
    image.identity = e.identity();
    image.panelClock = e.clock().now();
    image.hostClock = PanelClock::fields(hostNow.date().year(), hostNow.date().month(), hostNow.date().day(),
                                         hostNow.time().hour(), hostNow.time().minute(), hostNow.time().second());
    const PanelMemory &memory = e.memory();
    for (int r = 0; r <= PanelMemory::kLastParameter; ++r)
        image.records.insert(r, memory.record(r));
    for (int r = PanelMemory::kFirstDirectory; r <= memory.lastDirectoryRecord(); ++r)
        if (!memory.record(r).isEmpty())
            image.records.insert(r, memory.record(r));
    const QByteArray erased(PanelMemory::kRfidSize, '?');
    for (int r = PanelMemory::kFirstRfid; r <= PanelMemory::kLastRfid; ++r)
        if (memory.record(r) != erased)
            image.records.insert(r, memory.record(r));
    image.events = memory.events();
    return image;
}

bool apply(const MemoryImage &image, PanelEngine &engine, const QDateTime &hostNow, QString *error)
{
    PanelMemory &memory = engine.memory();
    for (auto it = image.records.cbegin(); it != image.records.cend(); ++it) {
        if (!memory.exists(it.key())) {
            *error = QStringLiteral("it holds record %1, which a panel with directory records 0128 to %2 does not "
                                    "have; start with the model it was saved with (--model)")
                         .arg(QString::fromLatin1(PanelLines::recordNumber(it.key())),
                              QString::fromLatin1(PanelLines::recordNumber(memory.lastDirectoryRecord())));
            return false;
        }
    }
    memory.clear();
    for (auto it = image.records.cbegin(); it != image.records.cend(); ++it)
        memory.setRecord(it.key(), it.value());
    for (const PanelEvent &event : image.events)
        memory.addEvent(event);
    if (image.panelClock && image.hostClock) {
        const QDateTime host = PanelClock::fields(hostNow.date().year(), hostNow.date().month(), hostNow.date().day(),
                                                  hostNow.time().hour(), hostNow.time().minute(),
                                                  hostNow.time().second());
        engine.clock().set(image.panelClock->addSecs(image.hostClock->secsTo(host)));
    }
    return true;
}

} // namespace MemoryFile
