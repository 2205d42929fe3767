#pragma once

#include <QObject>
#include <QString>

// The four clock fields of the event page: the panel's time and date as read
// by the last download (Stime, Sdate) and the computer's time and date at
// that download (Ctime, Cdate). Only a download changes them; they keep
// their values from one download to the next.
class ClockFields : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    QString Stime() const { return stime_; }
    QString Sdate() const { return sdate_; }
    QString Ctime() const { return ctime_; }
    QString Cdate() const { return cdate_; }

    void setStime(const QString &text);
    void setSdate(const QString &text);
    void setCtime(const QString &text);
    void setCdate(const QString &text);

signals:
    void changed();

private:
    void set(QString &field, const QString &text);

    QString stime_ = QStringLiteral("00:00:00");
    QString sdate_ = QStringLiteral("00/00");
    QString ctime_ = QStringLiteral("00:00:00");
    QString cdate_ = QStringLiteral("00/00/00");
};
