#include "DemoData.h"

#include "PanelDefaults.h"
#include "PanelLines.h"

#include <QRandomGenerator>

namespace DemoData {

namespace {
// In slots sorted by name (byte order), from record 0128 on.
const Resident kResidents[] = {
    {"Adams Helen", "101", "0211234567", "1101", ""},
    {"Baker Tom", "102", "0217654321", "1102", ""},
    {"Brennan Siobhan", "103", "9p0214455667", "1103", "2103"},
    {"Caretaker", "900001", "0871234567", "9000", "9001"},
    {"Carter Lee", "104", "*31#0219988776", "1104", ""},
    {"Chen Wei", "201", "0862223344", "1201", ""},
    {"Dimitrov Anna", "202", "9pp0216677889", "1202", ""},
    {"Evans Owen", "203", "0851112233", "", ""},
    {"Fischer Klaus", "204", "00491701234567", "1204", ""},
    {"Garcia Lucia", "301", "0834445566", "1301", "2301"},
    {"Haddad Omar", "302", "*67#0217778899", "1302", ""},
    {"Ivanova Mila", "303", "0893334455", "1303", ""},
    {"Jensen Lars", "304", "0215556677", "1304", ""},
    {"Kowalski Piotr", "401", "9p0872221100", "1401", ""},
    {"Lambert Claire", "402", "0213332211", "1402", "2402"},
    {"Moreau Julien", "403", "0876665544", "", ""},
    {"Nakamura Yuki", "404", "0219990001", "1404", ""},
    {"O'Brien Sean", "501", "0857778800", "1501", ""},
    {"Patel Priya", "502", "#31#0214440000", "1502", ""},
    {"Quinn Declan", "503", "0861119900", "1503", ""},
    {"Reception", "1", "#9p200", "", ""},
    {"Rossi Marco", "504", "00393471234567", "1504", ""},
    {"Schmidt Eva", "601", "0212228800", "1601", "2601"},
    {"Tanaka Hiro", "602", "0879998877", "1602", ""},
    {"Usman Bilal", "603", "0836667788", "1603", ""},
    {"Varga Zsofia", "604", "9p0213334400", "1604", ""},
    {"Walsh Niamh", "701", "0851230987", "1701", ""},
    {"Young Aisling", "702", "*70p0219876543", "1702", ""},
    {"Zhou Lin", "703", "0864561230", "1703", ""},
    {"van Dijk Sanne", "704", "0031612345678", "1704", ""},
};

struct Tag
{
    const char *room;
    const char *code;
};

const Tag kTags[] = {
    {"101", "04A1B2C3D4"}, {"102", "04E5F60718"}, {"103", "1F2E3D4C5B"}, {"103", "1F2E3D4C5C"},
    {"104", "0A0B0C0D0E"}, {"201", "3C4D5E6F70"}, {"202", "7A8B9CADBE"}, {"204", "00FF00FF01"},
    {"301", "5566778899"}, {"302", "AABBCCDDEE"}, {"402", "1234567890"}, {"502", "FEDCBA9876"},
    {"601", "0102030405"}, {"601", "0102030406"}, {"900001", "CAFE0BEEF0"}, {"704", "DEC0DE1234"},
};

QByteArray storeEntry(const Tag &tag)
{
    return PanelDefaults::padded(QByteArray(tag.room).left(6), 6, '?') + PanelLines::hexToPanel(tag.code);
}

void seedParameters(PanelMemory &memory)
{
    memory.setRecord(1, PanelDefaults::kSystemParameters);
    memory.setRecord(2, PanelDefaults::padded("Harbour View", 16, ' ') + PanelDefaults::padded("Enter Room No.", 16, ' '));
    memory.setRecord(3, PanelDefaults::padded("Welcome to Harbour View Apts", 32, '\0'));
    memory.setRecord(4, PanelDefaults::padded("Deliveries: room 1 then #", 32, '\0'));
    memory.setRecord(5, PanelDefaults::padded("Press Room No.", 16, ' ') + PanelDefaults::padded("then press #", 16, ' '));
    memory.setRecord(6, PanelDefaults::gateCodeRecord("2580", "1470", "9", "", "11", "22"));
    memory.setRecord(7, PanelDefaults::speedDialRecord("0211112222", "*23#"));
    memory.setRecord(8, PanelDefaults::speedDialRecord("9p0215550000", "36004"));
    memory.setRecord(9, PanelDefaults::speedDialRecord("#9p200", "36006"));
    memory.setRecord(10, PanelDefaults::speedDialRecord("0871234567", "36008"));
}

void seedTags(PanelMemory &memory)
{
    QByteArray record;
    int number = PanelMemory::kFirstRfid;
    for (const Tag &tag : kTags) {
        record += storeEntry(tag);
        if (record.size() == PanelMemory::kRfidSize) {
            memory.setRecord(number++, record);
            record.clear();
        }
    }
    if (!record.isEmpty())
        memory.setRecord(number, PanelDefaults::padded(record, PanelMemory::kRfidSize, '?'));
}

PanelEvent randomEvent(QRandomGenerator &random, const QDateTime &when)
{
    const QList<Resident> people = residents();
    PanelEvent event;
    event.when = when;
    const int kind = random.bounded(20);
    if (kind < 12) {
        const Resident &who = people.at(random.bounded(int(people.size())));
        event.kind = PanelEvent::Kind::Room;
        event.room = who.room;
        event.name = who.name;
        event.relay = random.bounded(4) == 0 ? 2 : 1;
        event.source = kind < 5 ? PanelEvent::Local : kind < 9 ? PanelEvent::Remote : PanelEvent::RfId;
    } else if (kind < 15) {
        event.kind = PanelEvent::Kind::Button;
        event.digit = 1 + random.bounded(8);
        event.relay = 0;
        event.source = PanelEvent::Local;
    } else if (kind < 19) {
        event.kind = PanelEvent::Kind::Call;
        event.relay = random.bounded(3) == 0 ? 1 : 0;
        event.source = PanelEvent::Remote;
    } else {
        event.kind = PanelEvent::Kind::Error;
        event.digit = 1 + random.bounded(3);
        event.relay = 0;
        event.source = PanelEvent::Local;
    }
    return event;
}

void seedEvents(PanelMemory &memory, const QDateTime &now)
{
    QRandomGenerator random(2024);
    QDateTime when = now.addDays(-14);
    for (int i = 0; i < 60; ++i) {
        when = when.addSecs(1800 + random.bounded(6 * 3600));
        if (when >= now)
            break;
        memory.addEvent(randomEvent(random, when));
    }
}
} // namespace

QList<Resident> residents()
{
    return QList<Resident>(std::begin(kResidents), std::end(kResidents));
}

QByteArray entryText(const Resident &r)
{
    return QByteArray(r.room) + ',' + r.code1 + ',' + r.code2 + ",," + PanelLines::dialToPanel(r.phone) + ',' + r.name;
}

void seed(PanelMemory &memory, const QDateTime &now)
{
    const QByteArray pin = memory.pin();
    memory.clear();
    memory.setPin(pin);
    seedParameters(memory);
    int record = PanelMemory::kFirstDirectory;
    for (const Resident &resident : kResidents) {
        if (record > memory.lastDirectoryRecord())
            break;
        memory.setRecord(record++, entryText(resident));
    }
    seedTags(memory);
    seedEvents(memory, now);
}

void addEvents(PanelMemory &memory, int count, const QDateTime &now)
{
    if (count <= 0)
        return;
    const QList<PanelEvent> &log = memory.events();
    const QDateTime start = log.isEmpty() ? now.addSecs(-qint64(count) * 600) : log.last().when;
    const qint64 step = qMax<qint64>(1, start.secsTo(now) / (qint64(count) + 1));
    QRandomGenerator random(quint32(log.size()) * 7919u + quint32(count));
    for (int i = 1; i <= count; ++i)
        memory.addEvent(randomEvent(random, start.addSecs(step * i)));
}

} // namespace DemoData
