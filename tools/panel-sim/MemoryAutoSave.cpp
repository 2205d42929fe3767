#include "MemoryAutoSave.h"

#include "MemoryFile.h"
#include "PanelEngine.h"

MemoryAutoSave::MemoryAutoSave(PanelEngine &engine, const QString &path, QObject *parent)
    : QObject(parent)
    , engine_(engine)
    , path_(path)
{
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, [this] { saveNow(); });
}

void MemoryAutoSave::noteChange()
{
    pending_ = true;
    timer_.start();
}

bool MemoryAutoSave::saveNow(bool force)
{
    timer_.stop();
    if (!pending_ && !force)
        return true;
    pending_ = false;
    QString error;
    if (MemoryFile::write(path_, MemoryFile::capture(engine_, QDateTime::currentDateTime()), &error))
        return true;
    emit saveFailed(error);
    return false;
}
