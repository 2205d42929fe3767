#pragma once

// The whole main window on the virtual panel through a real pseudo-terminal:
// the panel's server and the program's serial port both live in this
// process, and the server runs inside the program's waits. The waits skip
// ahead whenever the line is settled (SkippingWaiter), so the program's long
// fixed waits cost no real time. The log-on dialog answers from a script;
// messages are recorded instead of shown.
#include "PtyPanelServer.h"
#include "app/widgets/FrameActions.h"
#include "app/widgets/TCorvalenForm.h"
#include "link/DeviceMap.h"
#include "link/SystemSerialPort.h"
#include "support/CountingSerialPort.h"
#include "support/Recorders.h"
#include "support/ScriptedPin.h"
#include "support/SkippingWaiter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

struct FormOnPanel : ::testing::Test
{
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    PanelEngine engine;
    PtyPanelServer server{engine};
    DeviceMap devices;
    std::unique_ptr<SystemSerialPort> port;
    std::unique_ptr<CountingSerialPort> counted;
    std::unique_ptr<PanelLineWatch> line;
    SkippingWaiter waiter;
    RecordingPrompt prompt;
    ScriptedPin pin;
    std::unique_ptr<TCorvalenForm> form;
    QElapsedTimer took;

    void SetUp() override
    {
        took.start();
        QDir::setCurrent(dir.path()); // the details file goes here
        server.setPacing(false);
        QString error;
        ASSERT_TRUE(server.open(&error)) << qPrintable(error);
        devices.setDevice(2, server.devicePath());
        port = std::make_unique<SystemSerialPort>(devices);
        counted = std::make_unique<CountingSerialPort>(*port);
        line = std::make_unique<PanelLineWatch>(*counted, server);
        waiter.setSettled([this] { return line->settled(); });
        form = std::make_unique<TCorvalenForm>(*counted, waiter, devices, &prompt);
        form->setLogOnDialog(&pin);
        form->show(); // title clicks need the grid laid out
    }
    void TearDown() override
    {
        form.reset();
        waiter.setSettled({});
        QDir::setCurrent(previousDir);
        RecordProperty("real_ms", int(took.elapsed()));
    }

    bool logOn(const QByteArray &typed = "1234")
    {
        pin.answers << typed;
        form->connection().OnLine1Click();
        return form->link().conn().LoggedOn;
    }
    template <typename T> T *control(const char *name)
    {
        T *w = form->findChild<T *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char *name)
    {
        auto *button = control<QPushButton>(name);
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isEnabled()) << name;
        ASSERT_TRUE(button->isVisible()) << name;
        button->click();
    }
    // Lets the program and the panel run, in steps of 8.64 ms, until done()
    // holds or `ms` of real time have passed (the program's timers run on
    // real time: so does this wait). True when done() held.
    bool runUntil(const std::function<bool()> &done, int ms)
    {
        RealTime real(waiter);
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms)
                return false;
            form->link().PumpWait(10);
        }
        return true;
    }
    QString messages() const { return prompt.messages.join(QLatin1Char('|')); }
};
