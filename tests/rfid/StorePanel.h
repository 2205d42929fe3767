#pragma once

#include "support/FakePanelPort.h"

#include <QList>
#include <QMap>
#include <QSet>

// The panel's RFID store as the virtual panel keeps it: records 1408-1535 of
// 64 characters, "s14081535" to read them all, "c1418" to erase, "g" and "p"
// to store one, "r" to read one back. Faults on request: refusals, a record
// stored wrongly, silence.
struct StorePanel
{
    FakePanelPort &port;
    QMap<int, QByteArray> records;
    bool silent = false;         // answers nothing at all
    bool silentAfterErase = false;
    int refuseG = 0;             // the next n "g" answer "Error" (second line, no "OK")
    int refusePFirstLine = 0;    // the next n "p" answer "Error" as the only line
    int refusePWithOk = 0;       // the next n "p" answer their echo, "Error", then "OK"
    QSet<int> garbleG;           // "g" for these records stores something else
    QList<QByteArray> commandWords; // command word and record of every command

    explicit StorePanel(FakePanelPort &p) : port(p)
    {
        erase();
        port.setResponder([this](const QByteArray &c) { return answer(c); });
    }

    static QByteArray blank() { return QByteArray(64, '?'); }
    void erase()
    {
        for (int r = 1408; r <= 1535; ++r)
            records[r] = blank();
    }
    static QByteArray number(int record) { return QByteArray::number(record).rightJustified(4, '0'); }

    QByteArray answer(const QByteArray &command)
    {
        commandWords << command.left(5);
        if (silent)
            return {};
        if (command.isEmpty())
            return "\r\nOK\r\n";
        if (command == "s14081535") {
            QByteArray reply = "s14081535\r\n";
            for (int r = 1408; r <= 1535; ++r)
                reply += number(r) + " " + records.value(r) + "\r\n";
            return reply + "OK\r\n";
        }
        if (command == "c1418") {
            erase();
            if (silentAfterErase)
                silent = true;
            return "c1418\r\nOK\r\n";
        }
        const char word = command.at(0);
        const int record = command.mid(1, 4).toInt();
        const QByteArray text = command.mid(5);
        if (word == 'r')
            return command.left(5) + records.value(record) + "\r\nOK\r\n";
        if (word == 'g') {
            if (refuseG > 0) {
                --refuseG;
                return command.left(5) + "\r\nError\r\n";
            }
            records[record] = garbleG.contains(record) ? QByteArray(64, '0') : text;
            return command.left(5) + "\r\nOK\r\n";
        }
        if (word == 'p') {
            if (refusePFirstLine > 0) {
                --refusePFirstLine;
                return "Error\r\n";
            }
            if (refusePWithOk > 0) {
                --refusePWithOk;
                return command.left(5) + "\r\nError\r\nOK\r\n";
            }
            records[record] = text;
            return command.left(5) + "\r\nOK\r\n";
        }
        return {};
    }

    QList<QByteArray> commandsStartingWith(char word) const
    {
        QList<QByteArray> out;
        for (const QByteArray &c : commandWords)
            if (c.startsWith(word))
                out << c;
        return out;
    }
};
