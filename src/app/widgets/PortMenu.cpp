#include "app/widgets/PortMenu.h"

#include "app/widgets/ActionHint.h"
#include "link/DeviceChoice.h"
#include "link/ExchangeGuard.h"
#include "link/PortChoice.h"

PortMenu::PortMenu(PortChoice &ports, DeviceChoice &devices, ExchangeGuard &guard, QWidget *parent)
    : QMenu(QStringLiteral("Port"), parent)
    , ports_(ports)
    , devices_(devices)
    , guard_(guard)
    , group_(new QActionGroup(this))
{
    setObjectName(QStringLiteral("Port1"));
    menuAction()->setObjectName(QStringLiteral("Port1Item"));
    menuAction()->setStatusTip(QStringLiteral("Choose the serial port of the panel"));
    group_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    static const char *const names[4] = {"Comm11", "comm21", "comm31", "Comm41"};
    for (int n = 1; n <= 4; ++n) {
        QAction *action = addAction(QStringLiteral("Comm%1").arg(n));
        action->setObjectName(QLatin1String(names[n - 1]));
        action->setCheckable(true);
        group_->addAction(action);
        items_[n - 1] = action;
        showDevice(n);
        connect(action, &QAction::triggered, this, [this, n] { choose(n); });
    }
    addSeparator();
    DeviceItem_ = addAction(QStringLiteral("Device..."));
    DeviceItem_->setObjectName(QStringLiteral("DeviceItem"));
    ActionHint::apply(DeviceItem_,
                            QStringLiteral("Device|Choose the serial device or serial server of the port chosen now"));
    connect(DeviceItem_, &QAction::triggered, this, [this] {
        if (!guard_.busy())
            emit deviceDialogRequested();
    });
    connect(&ports_, &PortChoice::checkedChanged, this, &PortMenu::showChecked);
    connect(&devices_, &DeviceChoice::deviceChanged, this, &PortMenu::showDevice);
    showChecked(ports_.checkedItem());
}

void PortMenu::showDevice(int n)
{
    if (n < 1 || n > 4)
        return;
    const QString device = devices_.devices().device(n);
    ActionHint::apply(items_[n - 1], QStringLiteral("%1|Use COM%2 on %1").arg(device).arg(n));
}

void PortMenu::choose(int n)
{
    if (guard_.refusesClick()) {
        showChecked(ports_.checkedItem());
        return;
    }
    ports_.choose(n);
    showChecked(ports_.checkedItem());
}

void PortMenu::showChecked(int checkedItem)
{
    for (int n = 1; n <= 4; ++n)
        items_[n - 1]->setChecked(n == checkedItem);
}
