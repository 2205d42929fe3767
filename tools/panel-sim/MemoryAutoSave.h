#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class PanelEngine;

// Keeps the memory file up to date: a change is saved a quarter of a second
// later (a burst of writes is saved once), and whatever is left when the
// panel stops. Each save replaces the file atomically.
class MemoryAutoSave : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDelayMs = 250;

    MemoryAutoSave(PanelEngine &engine, const QString &path, QObject *parent = nullptr);

    void noteChange();
    // Saves now if a change is pending (or always, when forced).
    bool saveNow(bool force = false);
    QString path() const { return path_; }

signals:
    void saveFailed(const QString &message);

private:
    PanelEngine &engine_;
    QString path_;
    QTimer timer_;
    bool pending_ = false;
};
