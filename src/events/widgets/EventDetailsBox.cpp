#include "events/widgets/EventDetailsBox.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

EventDetailsBox::EventDetailsBox(QWidget *parent)
    : QGroupBox(QStringLiteral("Event Details"), parent)
{
    setObjectName(QStringLiteral("EventDetails"));
    setAccessibleName(QStringLiteral("Event Details"));

    auto *form = new QFormLayout(this);
    form->setContentsMargins(8, 4, 8, 6);
    form->setVerticalSpacing(4);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    auto row = [this, form](const char *name, const QString &caption, bool readOnly) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(readOnly);
        edit->setAccessibleName(caption);
        auto *label = new QLabel(caption, this);
        label->setBuddy(edit);
        form->addRow(label, edit);
        return edit;
    };
    E_Numb = row("E_Numb", QStringLiteral("Event #"), true);
    E_Room = row("E_Room", QStringLiteral("Room Number"), true);
    E_Client = row("E_Client", QStringLiteral("Client"), true);
    E_relay = row("E_relay", QStringLiteral("Relay"), false);
    E_source = row("E_source", QStringLiteral("Set by"), false);
    E_time = row("E_time", QStringLiteral("Event time"), false);
    E_date = row("E_date", QStringLiteral("Date"), false);
}

void EventDetailsBox::showDetails(const EventDetails &details)
{
    E_Numb->setText(QString::fromLatin1(details.E_Numb));
    E_Room->setText(QString::fromLatin1(details.E_Room));
    E_Client->setText(QString::fromLatin1(details.E_Client));
    E_relay->setText(QString::fromLatin1(details.E_relay));
    E_source->setText(QString::fromLatin1(details.E_source));
    E_time->setText(QString::fromLatin1(details.E_time));
    E_date->setText(QString::fromLatin1(details.E_date));
}
