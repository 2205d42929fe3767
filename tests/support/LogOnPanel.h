#pragma once

#include "support/FakePanelPort.h"

#include <QByteArray>

// A small panel for log-on tests, answering as the virtual panel does: a CR
// before a log-on gets the banner with the identity as line 3, "a" + PIN
// gets "OK" for the right PIN and "Access denied" for a wrong one, a CR
// after a log-on gets an empty line and "OK", "x" ends the session.
class LogOnPanel
{
public:
    QByteArray identity = "Corvalen_1000_Xarn";
    QByteArray pin = "1234";
    bool silent = false;        // nothing comes back at all
    bool answersProbe = true;   // the keep-alive CR gets its "OK"
    bool loggedOn = false;
    int probes = 0;             // CRs seen while logged on

    void attach(FakePanelPort &port)
    {
        port.setResponder([this](const QByteArray &command) { return reply(command); });
    }

    QByteArray reply(const QByteArray &command)
    {
        if (silent)
            return {};
        if (command == "x") {
            loggedOn = false;
            return {};
        }
        if (command.isEmpty()) {
            if (!loggedOn)
                return "\r\nOstrel Ltd\r\nXarn door entry\r\n" + identity + "\r\nEnter PIN\r\n";
            ++probes;
            return answersProbe ? QByteArray("\r\nOK\r\n") : QByteArray();
        }
        if (command.startsWith('a') && !loggedOn) {
            if (command.mid(1) == pin) {
                loggedOn = true;
                return "\r\nOK\r\n";
            }
            return "\r\nAccess denied\r\n";
        }
        return {};
    }
};
