#pragma once

#include <QWidget>
#include <array>

class QToolButton;
class Table;

// The navigator bar DBNavigator1 under the phone grid: first, prior, next,
// last, insert, delete and refresh. It only reports the clicks
// (buttonClicked); the page decides what each does, so that the delete asks
// its own question. The buttons are enabled by where the table's cursor is.
class PhoneNavigator : public QWidget
{
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Refresh };
    static constexpr int kButtons = Refresh + 1;

    explicit PhoneNavigator(Table &table, QWidget *parent = nullptr);

    QToolButton *button(Button which) const { return buttons_[which]; }

    // While locked (an exchange with the panel is waiting) clicks are
    // ignored; the buttons keep their look, so that the short keep-alive
    // exchanges do not make the bar flicker.
    void setLocked(bool locked) { locked_ = locked; }

signals:
    void buttonClicked(PhoneNavigator::Button which);

private:
    void updateButtons();

    Table &table_;
    std::array<QToolButton *, kButtons> buttons_{};
    bool locked_ = false;
};
