#pragma once

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <array>

class DeviceMap;
class ExchangeGuard;
class PortChoice;

// The Port1 menu ("Port") with Comm11 to Comm41: exactly one item checked,
// following the port choice. Each item's hint names the device behind the
// port. A choice made while an exchange waits is ignored.
class PortMenu : public QMenu
{
    Q_OBJECT
public:
    PortMenu(PortChoice &ports, const DeviceMap &devices, ExchangeGuard &guard, QWidget *parent = nullptr);

    QAction *item(int n) const { return items_.at(n - 1); }

private:
    void choose(int n);
    void showChecked(int checkedItem);

    PortChoice &ports_;
    ExchangeGuard &guard_;
    QActionGroup *group_;
    std::array<QAction *, 4> items_{};
};
