#pragma once

#include "support/FakePanelPort.h"

#include <QList>

// The panel's side of the event page: the clock ("t", "t" + digits), the
// event log ("e") and the bare CR. The event reply goes out after
// eventDelayNs, paced at byteTimeNs a byte, so that a test can have a fast
// or a slow panel; silentToE leaves "e" unanswered.
struct EventPanel
{
    FakePanelPort &port;
    QByteArray clock = "0D2D0E0C0B1A"; // 14:45:13 on 12/11/26
    QList<QByteArray> events;
    bool silentToE = false;
    qint64 eventDelayNs = 20'000'000;
    qint64 byteTimeNs = 0;
    QByteArray lastClockSet;

    explicit EventPanel(FakePanelPort &p) : port(p)
    {
        port.setResponder([this](const QByteArray &c) { return answer(c); });
    }

    QByteArray eventReply() const
    {
        QByteArray reply = "e\r\n";
        for (const QByteArray &e : events)
            reply += e + "\r\n";
        return reply + "OK\r\n";
    }

    QByteArray answer(const QByteArray &command)
    {
        if (command.isEmpty())
            return "\r\nOK\r\n";
        if (command == "t")
            return "t\r\n" + clock + "\r\nOK\r\n";
        if (command.startsWith('t') && command.size() == 13) {
            lastClockSet = command.mid(1);
            QByteArray hex;
            for (int i = 0; i < 12; i += 2)
                hex += QByteArray::number(command.mid(1 + i, 2).toInt(), 16).rightJustified(2, '0').toUpper();
            clock = hex;
            return "t\r\nOK\r\n";
        }
        if (command == "e" && !silentToE) {
            port.setByteTimeNs(byteTimeNs);
            port.inject(eventReply(), eventDelayNs);
            port.setByteTimeNs(0);
        }
        return {};
    }
};
