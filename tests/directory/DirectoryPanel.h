#pragma once

#include "support/FakePanelPort.h"

#include <QByteArray>
#include <QMap>
#include <QSet>

// A panel's directory memory behind a FakePanelPort, answering as the
// virtual panel does: "d" lists every record of the model (address, one
// blank, the content with the phone digits filled up with "?" to 16), "w"
// and "b" store a text (an empty text erases), "r" reads a record back,
// "f5a" erases everything, a bare CR answers "OK" as line 1.
class DirectoryPanel
{
public:
    explicit DirectoryPanel(qint32 directoryEnd = 0x9000) : lastRecord_(directoryEnd / 32) {}

    void attach(FakePanelPort &port)
    {
        port.setResponder([this](const QByteArray &command) { return answer(command); });
    }

    QMap<int, QByteArray> records;     // record number -> stored text
    QSet<int> refusing;                // records whose writes are not stored
    bool eraseAnswers = true;          // "f5a" is acknowledged
    int stallAfterRecords = -1;        // "d" stops (no "OK") after this many record lines
    int writes = 0;

    void store(int record, const QByteArray &text) { records[record] = text; }

    static QByteArray listed(const QByteArray &text)
    {
        // The phone digits (the fifth field) are filled up with "?" to 16.
        QList<QByteArray> parts = text.split(',');
        if (parts.size() < 6)
            return text;
        parts[4] = parts[4].leftJustified(16, '?', true);
        return parts.join(',');
    }

    QByteArray answer(const QByteArray &command)
    {
        if (command.isEmpty())
            return "\r\nOK\r\n";
        const char word = command.at(0);
        if (word == 'r' && command.size() >= 5) {
            const int record = command.mid(1, 4).toInt();
            return command.left(5) + records.value(record) + "\r\nOK\r\n";
        }
        if ((word == 'w' || word == 'b') && command.size() >= 5) {
            const int record = command.mid(1, 4).toInt();
            ++writes;
            if (record >= 128 && record <= lastRecord_ && !refusing.contains(record)) {
                if (command.size() == 5)
                    records.remove(record);
                else
                    records[record] = command.mid(5);
            }
            return command.left(5) + "\r\nOK\r\n";
        }
        if (command == "f5a") {
            if (!eraseAnswers)
                return {};
            records.clear();
            return "f5a\r\nOK\r\n";
        }
        if (command == "d01281152") {
            QByteArray reply = "d01281152\r\n";
            int listedCount = 0;
            for (int record = 128; record <= lastRecord_; ++record) {
                if (stallAfterRecords >= 0 && listedCount == stallAfterRecords)
                    return reply;
                reply += QByteArray::number(record * 32, 16).toUpper().rightJustified(4, '0') + ' '
                       + (records.contains(record) ? listed(records.value(record)) : QByteArray()) + "\r\n";
                ++listedCount;
            }
            return reply + "OK\r\n";
        }
        return {};
    }

private:
    int lastRecord_;
};
