#include "app/widgets/PortMenu.h"

#include "app/widgets/FrameActions.h"
#include "link/DeviceMap.h"
#include "link/ExchangeGuard.h"
#include "link/PortChoice.h"

PortMenu::PortMenu(PortChoice &ports, const DeviceMap &devices, ExchangeGuard &guard, QWidget *parent)
    : QMenu(QStringLiteral("Port"), parent)
    , ports_(ports)
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
        FrameActions::applyHint(action, QStringLiteral("%1|Use COM%2 on %1").arg(devices.device(n)).arg(n));
        group_->addAction(action);
        items_[n - 1] = action;
        connect(action, &QAction::triggered, this, [this, n] { choose(n); });
    }
    connect(&ports_, &PortChoice::checkedChanged, this, &PortMenu::showChecked);
    showChecked(ports_.checkedItem());
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
