#include "events/widgets/EventClockBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
QLineEdit *clockEdit(const char *name, const QString &accessibleName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setAccessibleName(accessibleName);
    edit->setAlignment(Qt::AlignCenter);
    // Room for "00:00:00" and a locale's longer forms ("12:45:13 PM").
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00 PM")) + 16);
    return edit;
}
} // namespace

EventClockBox::EventClockBox(const ClockFields &clock, QWidget *parent)
    : QGroupBox(QStringLiteral(" Time "), parent)
    , clock_(clock)
{
    setObjectName(QStringLiteral("timerBox"));
    setAccessibleName(QStringLiteral("Time"));

    Stime = clockEdit("Stime", QStringLiteral("Corvalen's time"), this);
    Sdate = clockEdit("Sdate", QStringLiteral("Corvalen's date"), this);
    Ctime = clockEdit("Ctime", QStringLiteral("Time loaded at"), this);
    Cdate = clockEdit("Cdate", QStringLiteral("Date loaded at"), this);

    auto *panelTitle = new QLabel(QStringLiteral("Corvalen's"), this);
    auto *loadedTitle = new QLabel(QStringLiteral("Loaded At"), this);
    auto *timeLabel = new QLabel(QStringLiteral("Time:"), this);
    auto *dateLabel = new QLabel(QStringLiteral("Date:"), this);
    // A reader finds the panel's fields by their row label; every edit also
    // names its column and row in full.
    timeLabel->setBuddy(Stime);
    dateLabel->setBuddy(Sdate);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(4);
    grid->addWidget(panelTitle, 0, 1, Qt::AlignHCenter);
    grid->addWidget(loadedTitle, 0, 2, Qt::AlignHCenter);
    grid->addWidget(timeLabel, 1, 0);
    grid->addWidget(Stime, 1, 1);
    grid->addWidget(Ctime, 1, 2);
    grid->addWidget(dateLabel, 2, 0);
    grid->addWidget(Sdate, 2, 1);
    grid->addWidget(Cdate, 2, 2);

    connect(&clock_, &ClockFields::changed, this, &EventClockBox::showClock);
    showClock();
}

void EventClockBox::showClock()
{
    Stime->setText(clock_.Stime());
    Sdate->setText(clock_.Sdate());
    Ctime->setText(clock_.Ctime());
    Cdate->setText(clock_.Cdate());
}
