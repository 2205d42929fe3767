#pragma once

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <array>

class DeviceChoice;
class ExchangeGuard;
class PortChoice;

// The Port1 menu ("Port") with Comm11 to Comm41: exactly one item checked,
// following the port choice. Each item's tooltip and status tip name the
// device behind the port, and follow it when it changes. "Device..." asks
// for the device of the port chosen now. A choice made while an exchange
// waits is ignored.
class PortMenu : public QMenu
{
    Q_OBJECT
public:
    PortMenu(PortChoice &ports, DeviceChoice &devices, ExchangeGuard &guard, QWidget *parent = nullptr);

    QAction *item(int n) const { return items_.at(n - 1); }
    QAction *deviceItem() const { return DeviceItem_; }

signals:
    void deviceDialogRequested();

private:
    void choose(int n);
    void showChecked(int checkedItem);
    void showDevice(int n);

    PortChoice &ports_;
    DeviceChoice &devices_;
    ExchangeGuard &guard_;
    QActionGroup *group_;
    std::array<QAction *, 4> items_{};
    QAction *DeviceItem_ = nullptr;
};
