#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes a JPEG picture held in memory with libjpeg. A damaged picture
// gives a null image, never an exit: libjpeg's errors come back here.
class JpegPicture
{
public:
    static QImage decode(const QByteArray &jpeg);
    // Reads the picture from a file or a Qt resource (":/...").
    static QImage load(const QString &path);
};
