#pragma once

#include <QByteArray>
#include <QString>

// The details file "corvalendata3.ini" in the working directory: despite its
// name one binary record of exactly 40 bytes, integers little-endian.
//   0  17  PIN: length byte (0-16), then 16 character bytes
//  17  17  remote phone number: length byte, then 16 character bytes
//  34   1  Remember Details (1/0)
//  35   1  Remote (1/0)
//  36   4  PortNumber, 32-bit signed; 1 to 4 name a port
// The PIN is kept in plain text, so the file is created readable by its
// owner only.
struct LogOnDetails
{
    static constexpr int kSize = 40;
    static constexpr int kTextCapacity = 16;
    static constexpr const char *kFileName = "corvalendata3.ini";

    QByteArray pin;
    QByteArray phoneNumber;
    bool rememberDetails = false;
    bool remote = false;
    qint32 portNumber = 0;

    QByteArray toBytes() const;
    // Bytes missing from a shorter record count as zero; a length byte
    // above 16 is taken as 16.
    static LogOnDetails fromBytes(const QByteArray &bytes);

    // False when the file is missing or cannot be read.
    static bool read(const QString &fileName, LogOnDetails *details);
    // Creates or overwrites the file; false with *error when that fails.
    bool write(const QString &fileName, QString *error) const;
};

// Puts the port number into bytes 36-39 of an existing details file and
// leaves the other bytes alone. A missing or unwritable file is left as it
// is; nothing is reported.
void StorePortNumber(const QString &fileName, qint32 portNumber);
