#pragma once

#include "directory/DirectoryContext.h"
#include "support/LinkHarness.h"
#include "support/RecordingFeedback.h"

// The application context on virtual time with a scripted fake panel: what
// page logic and transfers are tested against.
struct AppHarness : LinkHarness
{
    ExchangeGuard guard;
    RecordingFeedback feedback;
    PhoneDirectory directory;
    DirectoryContext ctx{{link, guard, prompt, status, feedback}, directory};

    AppHarness()
    {
        directory.DefinePhoneFields();
        directory.PhoneTable.open();
    }
    // Logged on to a model whose last directory slot is directoryEnd.
    void logOn(qint32 directoryEnd = 0x9000)
    {
        openPort();
        link.conn().LoggedOn = true;
        link.conn().DirectoryEnd = directoryEnd;
    }
    // Logged on, and the panel behind the port (the virtual panel's engine)
    // has taken the PIN; the logs start empty.
    void logOnWithPin(const QByteArray &pin = "1234", qint32 directoryEnd = 0x9000)
    {
        logOn(directoryEnd);
        link.WriteDirect("\r");
        link.WriteDirect("a" + pin + "\r");
        link.PumpWait(50);
        link.RxMemo().clear();
        link.clearReply();
        port.clearLog();
        waiter.clearLog();
    }
};
