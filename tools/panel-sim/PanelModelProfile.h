#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What tells the panel models apart: the identity the panel announces when it
// wakes up, and how far its phone directory reaches. Directory slots start at
// address 1000 (hex), record 0128, and run in steps of 20 (hex) to the
// model's last slot.
struct PanelModelProfile
{
    QString name;         // "100", "200", "500", "1000"; empty for an unrecognised identity
    QByteArray identity;  // "Corvalen_1000_Xarn"
    int directoryEnd = 0x9000;

    static constexpr int kFirstDirectorySlot = 0x1000;

    int firstDirectoryRecord() const { return kFirstDirectorySlot / 32; }
    int lastDirectoryRecord() const { return directoryEnd / 32; }
    int directorySlots() const { return lastDirectoryRecord() - firstDirectoryRecord() + 1; }

    // "100", "200", "500" or "1000"; anything else is taken as an identity
    // the program does not know, with the directory of the largest model.
    static PanelModelProfile forModel(const QString &nameOrIdentity);
    static bool isModelName(const QString &name);
    static QStringList modelNames();
};
