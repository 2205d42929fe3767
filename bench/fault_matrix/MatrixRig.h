#pragma once

#include "app/widgets/TCorvalenForm.h"
#include "link/DeviceMap.h"
#include "support/EnginePanel.h"
#include "support/FakePanelPort.h"
#include "support/Recorders.h"
#include "support/ScriptedPin.h"
#include "support/VirtualClock.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// The whole main window on virtual time, with the virtual panel (a 100
// model seeded with the demo building) behind its port, started in a folder
// of its own that holds the user's phone list file, with its backups store
// in a folder under it, as the program starts. Messages are recorded,
// questions answered Yes, the log-on dialog answers the panel's PIN. Every
// wait delivers what was posted to the event loop (queued calls), as the
// program's waits do.
//
// Every wait is bounded: once virtual time passes the cap, onHang runs
// (the matrix reports the cell as hung and ends the process).
class MatrixRig
{
public:
    static const QDateTime kStart; // the panel's clock and the computer's at virtual time 0

    MatrixRig();
    ~MatrixRig();

    PanelEngine &engine() { return panel.engine(); }
    PanelFaults &faults() { return panel.faults(); }
    CommandExchange &link() { return form->link(); }
    PhoneDirectory &directory() { return form->context().directory; }
    Table &phoneTable() { return directory().PhoneTable; }
    QDateTime computerNow() const { return kStart.addMSecs(clock.nowNs() / 1000000); }

    // The program's own log-on; true when it says it is connected.
    bool logOn();
    // The user's phone list file, opened into the phone table.
    void openUserList();
    // A button of the window by its object name; false when missing or off.
    bool click(const char *objectName);
    template <typename T> T *child(const char *objectName) const
    {
        return form->findChild<T *>(QLatin1String(objectName));
    }
    // Lets the program run for ms of virtual time.
    void idle(int ms) { link().PumpWait(qint32(ms / 0.864) + 1); }
    // Control is back in the event loop: what the exchange left queued runs
    // (a restore the user asked for after a failed write, say).
    void settle();
    // What the status bar's first panel shows now.
    QString statusText() const;

    // The bytes of the files the user had in the folder.
    QByteArray userFiles() const;
    // The phone table's rows, one line each.
    static QByteArray rows(const Table &table);

    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    VirtualClock clock;
    qint64 capNs = 0;
    std::function<void()> onHang;

private:
    class CappedWaiter : public VirtualWaiter
    {
    public:
        CappedWaiter(VirtualClock &clock, MatrixRig &rig) : VirtualWaiter(clock), rig_(rig) {}
        void pump(qint32 ticks) override;

    private:
        MatrixRig &rig_;
    };

public:
    CappedWaiter waiter{clock, *this};
    VirtualScheduler scheduler{clock};
    FakePanelPort port{scheduler};
    EnginePanel panel{port, QStringLiteral("100")};
    ScriptedPin pin;
    RecordingPrompt prompt;
    DeviceMap devices;
    std::unique_ptr<TCorvalenForm> form;
};
