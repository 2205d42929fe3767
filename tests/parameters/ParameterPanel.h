#pragma once

#include "link/RecordNumber.h"

#include <QByteArray>
#include <QMap>
#include <QSet>

// A panel's parameter records behind FakePanelPort, answering as the virtual
// panel does: "r" gives the record after its five-character prefix, "p"
// stores (or is refused with "Error"), "d" lists each record after its
// address and a blank, "u" is acknowledged. A silent panel answers nothing.
struct ParameterPanel
{
    QMap<QByteArray, QByteArray> records;
    QSet<QByteArray> refused; // records whose "p" answers "Error"
    bool silent = false;
    // Replaces a record's reply line ("r" + number + content) when set.
    QMap<QByteArray, QByteArray> readLine;

    ParameterPanel()
    {
        records["0000"] = QByteArray("1234") + QByteArray(28, '\xFF');
        records["0001"] = "01030503021414000000140?0001000<";
        for (int r = 2; r <= 5; ++r)
            records[RecordNumber::fromInt(r)] = QByteArray(32, ' ');
        records["0006"] = QByteArray(32, '\xFF');
        for (int r = 7; r <= 10; ++r)
            records[RecordNumber::fromInt(r)] = QByteArray(32, '\xFF');
    }

    QByteArray operator()(const QByteArray &command)
    {
        if (silent)
            return {};
        if (command.isEmpty())
            return "\r\nOK\r\n";
        const QByteArray record = command.mid(1, 4);
        switch (command.at(0)) {
        case 'r':
            if (readLine.contains(record))
                return readLine.value(record) + "\r\nOK\r\n";
            return "r" + record + records.value(record) + "\r\nOK\r\n";
        case 'p':
            if (refused.contains(record))
                return "Error\r\n";
            records[record] = command.mid(5);
            return "p" + record + "\r\nOK\r\n";
        case 'd': {
            QByteArray reply = command + "\r\n";
            const int first = command.mid(1, 4).toInt();
            const int last = command.mid(5, 4).toInt();
            for (int r = first; r <= last; ++r) {
                const QByteArray number = RecordNumber::fromInt(r);
                if (records.contains(number))
                    reply += QByteArray::number(r * 32, 16).toUpper().rightJustified(4, '0') + " " +
                             records.value(number) + "\r\n";
            }
            return reply + "OK\r\n";
        }
        case 'u':
            return "u\r\nOK\r\n";
        }
        return {};
    }
};
