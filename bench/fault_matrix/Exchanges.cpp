// The bulk exchanges of the program, each through its page.
#include "Exchange.h"
#include "MatrixRig.h"

#include "directory/widgets/PhoneEdit.h"
#include "events/widgets/EventsPage.h"
#include "parameters/ParameterControlInfo.h"
#include "parameters/ParameterControls.h"
#include "parameters/widgets/SystemPage.h"
#include "rfid/widgets/RfidPage.h"

#include <QCheckBox>

namespace {

// Stated waits (ticks) of the exchange helpers.
constexpr qint64 kReadCompare = 5 * 20 + 1;
constexpr qint64 kWriteRecord = 2 * (1 + 20 * 100) + 50 + kReadCompare;
constexpr qint64 kWriteBlock = 2 * (1 + 5 * 40) + 3 * kReadCompare;
constexpr qint64 kProgramRecord = 4 * (1 + 2000 + kReadCompare);
constexpr qint64 kLogOn = 1000 + 100 + 1 + 6 * (1 + 300) + 200 + 10 + 10 + 20 * 200;
constexpr qint64 kUploadEntry = kWriteBlock + 3 * (40 + 1 + 40 + kWriteRecord + 100);
constexpr qint64 kUploadErase = 2 * (1 + 300 + 1 + 50 * 100);
constexpr qint64 kEntryWrite = 10 + 1 + 10 + 5 * (kWriteRecord + 10 + 1 + 10);
// The reads that keep a backup before a write that erases: the range read
// with its echo held back, at most this many steps of 100 ticks.
constexpr qint64 backupRead(qint64 steps) { return 10 + 1 + steps * 100; }
constexpr qint64 kRfidRecord = 3 * (20 + 1 + 10 * 100 + 1 + 200) + 20 + kReadCompare + 2 * (200 + 1 + 1000 + kReadCompare);

QByteArray panelDirectory(MatrixRig &r)
{
    QByteArray out;
    const PanelMemory &m = r.engine().memory();
    for (int n = PanelMemory::kFirstDirectory; n <= m.lastDirectoryRecord(); ++n)
        if (!m.record(n).isEmpty())
            out += QByteArray::number(n) + ':' + m.record(n) + '\n';
    return out;
}

QByteArray panelRecords(MatrixRig &r, int first, int last)
{
    QByteArray out;
    for (int n = first; n <= last; ++n)
        out += r.engine().memory().record(n) + '\n';
    return out;
}

QByteArray phoneRows(MatrixRig &r) { return MatrixRig::rows(r.phoneTable()); }

// The entries without their slots, in name order: what an upload must keep.
QByteArray entriesOf(const QByteArray &rows)
{
    QList<QByteArray> out;
    for (const QByteArray &row : rows.split('\n')) {
        QList<QByteArray> fields = row.split('|');
        if (fields.size() > 7)
            fields[7].clear();
        out << fields.join('|');
    }
    std::sort(out.begin(), out.end());
    return out.join('\n');
}

bool anyMessage(MatrixRig &r) { return !r.prompt.messages.isEmpty(); }
bool noMessage(MatrixRig &r) { return r.prompt.messages.isEmpty(); }

// A read must leave the user's table alone when it did not work.
bool keptUnlessRead(const QByteArray &before, const QByteArray &after, bool worked)
{
    return worked || before == after;
}
bool keptEntries(const QByteArray &before, const QByteArray &after, bool)
{
    return entriesOf(before) == entriesOf(after);
}
bool keptAlways(const QByteArray &, const QByteArray &, bool) { return true; }

bool downloaded(MatrixRig &r)
{
    return r.logOn() && r.click("GetData") && r.link().conn().DirectorySynced && noMessage(r);
}

// The third entry current, "Write Each Change" ticked.
bool editingThirdEntry(MatrixRig &r)
{
    if (!downloaded(r))
        return false;
    auto *box = r.child<QCheckBox>("WrtChg");
    if (!box || !box->isEnabled())
        return false;
    box->setChecked(true);
    r.phoneTable().moveTo(2);
    return r.directory().writeEachChangeTicked();
}

ParameterControls &controls(MatrixRig &r) { return r.form->systemPage()->controls(); }

QByteArray parameterTexts(MatrixRig &r)
{
    QByteArray out;
    for (int e = 0; e < ParamEditCount; ++e)
        if (ParamEdit(e) != ParamEdit::NewPin)
            out += controls(r).text(ParamEdit(e)) + '|';
    for (int c = 0; c < ParamCheckCount; ++c)
        out += controls(r).isChecked(ParamCheck(c)) ? '1' : '0';
    return out;
}

bool showsError(MatrixRig &r)
{
    for (int e = 0; e < ParamEditCount; ++e)
        if (controls(r).text(ParamEdit(e)) == "ERROR")
            return true;
    return false;
}

EventLog &eventLog(MatrixRig &r) { return r.form->eventsPage()->eventLog(); }
QByteArray eventRows(MatrixRig &r) { return MatrixRig::rows(eventLog(r).EventTable); }
RfidPageState &rfid(MatrixRig &r) { return r.form->rfidPage()->state(); }

} // namespace

QList<Exchange> Exchange::all()
{
    QList<Exchange> list;

    Exchange logOn{"log-on", kLogOn};
    logOn.faultsFromStart = true;
    logOn.noOkToDrop = true; // the panel's "OK" to the PIN is the log-on itself
    logOn.prepare = [](MatrixRig &r) { r.openUserList(); return true; };
    logOn.run = [](MatrixRig &r) { r.logOn(); };
    logOn.claimsSuccess = [](MatrixRig &r) { return r.link().conn().LoggedOn; };
    logOn.reportsFailure = anyMessage;
    logOn.fingerprint = [](MatrixRig &r) {
        return QByteArray(r.engine().loggedOn() && r.link().conn().LoggedOn ? "on " : "off ")
               + QByteArray::number(r.link().conn().DirectoryEnd);
    };
    logOn.userData = phoneRows;
    logOn.keeps = [](const QByteArray &b, const QByteArray &a, bool) { return a == b; };
    list << logOn;

    Exchange getData{"directory download", 10 + 1 + 1501 * 100 + 1000};
    getData.prepare = [](MatrixRig &r) { return r.logOn() && (r.openUserList(), true); };
    getData.run = [](MatrixRig &r) { r.click("GetData"); };
    getData.claimsSuccess = [](MatrixRig &r) { return r.link().conn().DirectorySynced; };
    getData.reportsFailure = anyMessage;
    getData.fingerprint = phoneRows;
    getData.userData = phoneRows;
    getData.keeps = keptUnlessRead;
    list << getData;

    Exchange upload{"directory upload", backupRead(1501) + 50 + 50 + kUploadErase + 5 * kUploadEntry};
    upload.prepare = [](MatrixRig &r) { return r.logOn() && (r.openUserList(), r.phoneTable().count() == 5); };
    upload.run = [](MatrixRig &r) { r.click("WriteData"); };
    // "Done" in the status bar is the upload's word that it worked.
    upload.claimsSuccess = [](MatrixRig &r) { return noMessage(r) || r.statusText() == QLatin1String("Done"); };
    upload.reportsFailure = anyMessage;
    upload.fingerprint = panelDirectory;
    upload.keepsBackup = BackupKind::Directory;
    upload.userData = phoneRows;
    upload.keeps = keptEntries;
    list << upload;

    Exchange write{"single write", kEntryWrite};
    write.prepare = [](MatrixRig &r) {
        if (!editingThirdEntry(r))
            return false;
        r.child<PhoneEdit>("PHnumber")->setText(QStringLiteral("0219999999"));
        return true;
    };
    write.run = [](MatrixRig &r) { r.click("NavOk"); };
    write.claimsSuccess = noMessage;
    write.reportsFailure = anyMessage;
    write.fingerprint = panelDirectory;
    write.userData = phoneRows;
    // The entry stays stored in the table whether or not the panel took it.
    write.keeps = [](const QByteArray &b, const QByteArray &a, bool) {
        return b.count('\n') == a.count('\n') && a.contains("0219999999");
    };
    list << write;

    Exchange erase{"single delete", kEntryWrite};
    erase.prepare = editingThirdEntry;
    erase.run = [](MatrixRig &r) { r.click("NavDelete"); };
    erase.claimsSuccess = noMessage;
    erase.reportsFailure = anyMessage;
    erase.fingerprint = panelDirectory;
    erase.userData = phoneRows;
    // Only the entry asked for may go.
    erase.keeps = [](const QByteArray &b, const QByteArray &a, bool) {
        QList<QByteArray> rows = b.split('\n');
        rows.removeAt(2);
        return a == b || a == rows.join('\n');
    };
    list << erase;

    Exchange readAll{"parameter Read All", 4 * 1 + 500 + 1000 + 1000 + 500 + 1000 + 200};
    readAll.prepare = [](MatrixRig &r) {
        if (!r.logOn())
            return false;
        controls(r).setText(ParamEdit::msg0, "Typed by user");
        controls(r).setText(ParamEdit::code_g1, "4444");
        return true;
    };
    readAll.run = [](MatrixRig &r) { r.click("ReadAll"); };
    readAll.claimsSuccess = [](MatrixRig &r) { return noMessage(r) && !showsError(r); };
    readAll.reportsFailure = [](MatrixRig &r) { return anyMessage(r) || showsError(r); };
    readAll.fingerprint = parameterTexts;
    readAll.userData = [](MatrixRig &) { return QByteArray(); };
    readAll.keeps = keptAlways;
    list << readAll;

    Exchange writeAll{"parameter Write All", backupRead(100) + 10 * kProgramRecord + 200 + 1 + 100};
    writeAll.prepare = [](MatrixRig &r) {
        if (!r.logOn())
            return false;
        controls(r).setText(ParamEdit::msg0, "Matrix");
        controls(r).setText(ParamEdit::msg3, "Second message");
        controls(r).setText(ParamEdit::code_g1, "1357");
        controls(r).setText(ParamEdit::spd1, "0211*#p");
        controls(r).setText(ParamEdit::Phs_rc, "12");
        return true;
    };
    writeAll.run = [](MatrixRig &r) { r.click("WriteAll"); };
    writeAll.claimsSuccess = noMessage;
    writeAll.reportsFailure = anyMessage;
    writeAll.fingerprint = [](MatrixRig &r) { return panelRecords(r, 1, 10); };
    writeAll.keepsBackup = BackupKind::Parameters;
    writeAll.userData = parameterTexts;
    writeAll.keeps = [](const QByteArray &b, const QByteArray &a, bool) { return a == b; };
    list << writeAll;

    Exchange pin{"PIN change", kProgramRecord + 100};
    pin.prepare = [](MatrixRig &r) {
        if (!r.logOn())
            return false;
        controls(r).setText(ParamEdit::NewPin, "4321");
        return true;
    };
    pin.run = [](MatrixRig &r) { r.click("UpDatePIN"); };
    pin.claimsSuccess = [](MatrixRig &r) { return r.prompt.messages.contains(QStringLiteral("NEW PIN Programmed")); };
    pin.reportsFailure = [](MatrixRig &r) {
        return !r.prompt.messages.isEmpty() && !r.prompt.messages.contains(QStringLiteral("NEW PIN Programmed"));
    };
    pin.fingerprint = [](MatrixRig &r) { return r.engine().pin(); };
    pin.userData = [](MatrixRig &) { return QByteArray(); };
    pin.keeps = keptAlways;
    list << pin;

    // 800 polls of 432 ms at the most (the silence bound ends it sooner).
    Exchange events{"event download", 200 + 1 + 2 + 200 + 1 + 500 + 52 * 500};
    events.prepare = [](MatrixRig &r) {
        if (!r.logOn() || !r.click("dnLoad") || eventLog(r).EventTable.count() == 0)
            return false;
        for (int i = 0; i < 5; ++i) { // what happened since the last download
            PanelEvent e;
            e.kind = PanelEvent::Kind::Button;
            e.when = r.engine().clock().now().addSecs(-60 * (5 - i));
            e.digit = i;
            r.engine().memory().addEvent(e);
        }
        return true;
    };
    events.run = [](MatrixRig &r) { r.click("dnLoad"); };
    events.claimsSuccess = [](MatrixRig &r) { return eventLog(r).downloadProblem().isEmpty() && noMessage(r); };
    events.reportsFailure = [](MatrixRig &r) { return !eventLog(r).downloadProblem().isEmpty() || anyMessage(r); };
    events.pageProblem = [](MatrixRig &r) { return eventLog(r).downloadProblem(); };
    events.fingerprint = eventRows;
    events.userData = eventRows;
    events.keeps = keptUnlessRead;
    list << events;

    Exchange clock{"clock set", 1 + 100};
    clock.showsNothing = true;
    clock.prepare = [](MatrixRig &r) {
        if (!r.logOn())
            return false;
        r.engine().clock().set(r.computerNow().addSecs(-3 * 3600));
        return true;
    };
    clock.run = [](MatrixRig &r) {
        r.click("Set_time");
        r.idle(50); // the command's bytes reach the panel
    };
    clock.claimsSuccess = [](MatrixRig &) { return false; }; // nothing is shown either way
    clock.reportsFailure = anyMessage;
    clock.fingerprint = [](MatrixRig &r) {
        const qint64 off = qAbs(r.engine().clock().now().secsTo(r.computerNow()));
        return QByteArray(off <= 2 ? "set" : "not set");
    };
    clock.userData = [](MatrixRig &) { return QByteArray(); };
    clock.keeps = keptAlways;
    list << clock;

    // The reader's 20 seconds; the tag is held to it after 2.5 (between two ticks).
    Exchange tag{"tag read", 21 * 1158};
    tag.noOkToDrop = true;
    tag.prepare = downloaded;
    tag.run = [](MatrixRig &r) {
        if (!r.click("Get_ID"))
            return;
        const QByteArray code = r.engine().memory().storedTags().value(0);
        if (r.faults().junk)
            r.scheduler.in(1'500'000'000, [&r] {
                r.engine().sendJunkLine();
                r.panel.flushUnsolicited();
            });
        r.panel.presentTag(code, 2'500'000'000);
        for (int second = 0; second < 25 && rfid(r).Timer3Active(); ++second) {
            r.idle(1000);
            r.form->rfidPage()->Timer3Timer();
        }
    };
    tag.claimsSuccess = [](MatrixRig &r) { return !rfid(r).rfID().isEmpty(); };
    tag.reportsFailure = [](MatrixRig &r) { return rfid(r).iderror().contains(QStringLiteral("Error")) || anyMessage(r); };
    tag.pageProblem = [](MatrixRig &r) { return rfid(r).iderror(); };
    tag.fingerprint = [](MatrixRig &r) { return rfid(r).rfID() + ' ' + rfid(r).iderror().toLatin1(); };
    tag.userData = phoneRows;
    tag.keeps = [](const QByteArray &b, const QByteArray &a, bool) { return a == b; };
    list << tag;

    Exchange rfidDown{"RFID download", 10 + 1 + 100 * 100 + 1000};
    rfidDown.prepare = downloaded;
    rfidDown.run = [](MatrixRig &r) { r.click("download_id"); };
    rfidDown.claimsSuccess = noMessage;
    rfidDown.reportsFailure = anyMessage;
    rfidDown.fingerprint = phoneRows;
    rfidDown.userData = phoneRows;
    rfidDown.keeps = keptUnlessRead;
    list << rfidDown;

    // 16 demo tags: four records.
    Exchange rfidWrite{"RFID Write All", backupRead(100) + 10 + 1 + 50 * 100 + 500 + 4 * kRfidRecord};
    rfidWrite.prepare = [](MatrixRig &r) {
        if (!downloaded(r) || !r.click("download_id") || !noMessage(r))
            return false;
        r.engine().memory().eraseRfid(); // what Write All stores must come from the table
        return true;
    };
    rfidWrite.run = [](MatrixRig &r) { r.click("writeall_id"); };
    rfidWrite.claimsSuccess = noMessage;
    rfidWrite.reportsFailure = anyMessage;
    rfidWrite.fingerprint = [](MatrixRig &r) { return panelRecords(r, PanelMemory::kFirstRfid, PanelMemory::kLastRfid); };
    rfidWrite.keepsBackup = BackupKind::Tags;
    rfidWrite.userData = phoneRows;
    rfidWrite.keeps = [](const QByteArray &b, const QByteArray &a, bool) { return a == b; };
    list << rfidWrite;

    return list;
}
