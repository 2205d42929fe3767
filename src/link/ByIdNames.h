#pragma once

#include <QHash>
#include <QString>

// The stable names udev gives serial devices in /dev/serial/by-id: symbolic
// links named after the adapter's maker, model and serial number that point
// at whatever node (/dev/ttyUSB0, /dev/ttyACM1) the adapter got this time.
class ByIdNames
{
public:
    static constexpr const char *kFolder = "/dev/serial/by-id";

    // Reads the links of the folder (default: kFolder). A missing folder (no
    // USB serial adapter plugged in) gives no names.
    explicit ByIdNames(const QString &folder = QString::fromLatin1(kFolder));

    // The by-id path of a node (taken through its own links too), or empty.
    QString nameOf(const QString &node) const;
    qsizetype size() const { return byNode_.size(); }

private:
    QHash<QString, QString> byNode_; // canonical node -> by-id path
};
