#pragma once

#include "app/widgets/TCorvalenForm.h"
#include "link/DeviceMap.h"
#include "support/FakePanelPort.h"
#include "support/LogOnPanel.h"
#include "support/Recorders.h"
#include "support/ScriptedPin.h"
#include "support/VirtualClock.h"

#include <QDir>
#include <QTemporaryDir>

// The main window on virtual time with a fake panel behind the port,
// started in a folder of its own (the details file and the default phone
// list live in the working directory).
struct FormHarness
{
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    bool inDir = QDir::setCurrent(dir.path());
    VirtualClock clock;
    VirtualWaiter waiter{clock};
    VirtualScheduler scheduler{clock};
    FakePanelPort port{scheduler};
    LogOnPanel panel;
    ScriptedPin pin;
    RecordingPrompt prompt;
    DeviceMap devices;
    TCorvalenForm form{port, waiter, devices, &prompt};

    FormHarness()
    {
        panel.attach(port);
        form.setLogOnDialog(&pin);
    }
    ~FormHarness() { QDir::setCurrent(previousDir); }

    void logOn()
    {
        pin.answers << QByteArray("1234");
        form.connection().OnLine1Click();
    }
};
