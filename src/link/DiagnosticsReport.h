#pragma once

#include "link/DeviceMap.h"
#include "link/SerialDevice.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The file a user sends to whoever helps them when the link misbehaves:
// the program's version, the port with its device and line settings, the
// four ports' devices and where each came from, the serial devices present,
// and this session's traffic journal (the PIN already masked in it).
struct DiagnosticsReport
{
    QString version;
    QDateTime written;
    QString portName;            // "COM2"
    DeviceMap devices;
    QString settingsFile;        // the remembered devices
    SerialDevices present;
    QString journalFile;         // empty when nothing was journalled
    QString journalError;        // why the journal stopped, if it did
    QByteArray journal;

    // The line settings the program opens every port with.
    static QString lineSettings();
    QByteArray compose() const;
};
