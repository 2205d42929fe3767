#include "app/widgets/FrameStatusBar.h"

#include <QEvent>

#include <algorithm>

namespace {
// What the bar's own layout puts beside its panels: a margin on the left
// and a spacing on each side of the stretch between the panels.
constexpr int kBarGaps = 2 + 6 + 6;
} // namespace

FrameStatusBar::FrameStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(false);
    first_ = new QLabel(this);
    first_->setObjectName(QStringLiteral("StatusPanel0"));
    first_->setAccessibleDescription(QStringLiteral("Status"));
    first_->setTextFormat(Qt::PlainText);
    second_ = new QLabel(this);
    second_->setObjectName(QStringLiteral("StatusPanel1"));
    second_->setAccessibleDescription(QStringLiteral("Last command"));
    second_->setTextFormat(Qt::PlainText);
    second_->setFixedWidth(kCommandPanelWidth);
    second_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Each panel paints its own background, so a new text repaints the
    // panel alone and not the bar and the window behind it.
    for (QLabel *panel : {first_, second_})
        panel->setAutoFillBackground(true);
    addWidget(first_, 1);
    addPermanentWidget(second_);
    fixPanelSizes();
    commandFrame_.setSingleShot(true);
    connect(&commandFrame_, &QTimer::timeout, this, &FrameStatusBar::showCommandNow);
}

void FrameStatusBar::fixPanelSizes()
{
    // sizeHint() of a label depends on its text; the line height of its
    // font and frame does not.
    const int frame = 2 * second_->frameWidth();
    const int line = fontMetrics().height();
    first_->setFixedHeight(line + 2 * first_->frameWidth());
    second_->setFixedHeight(line + frame);
    first_->setFixedWidth(std::max(0, contentsRect().width() - kCommandPanelWidth - kBarGaps));
}

void FrameStatusBar::resizeEvent(QResizeEvent *event)
{
    first_->setFixedWidth(std::max(0, contentsRect().width() - kCommandPanelWidth - kBarGaps));
    QStatusBar::resizeEvent(event);
}

void FrameStatusBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fixPanelSizes();
    QStatusBar::changeEvent(event);
}

void FrameStatusBar::setStatusText(const QString &text)
{
    // A new status text wins over a hint still showing.
    clearMessage();
    first_->setText(text);
}

void FrameStatusBar::showBusy()
{
    if (first_->text() != kBusy)
        beforeBusy_ = first_->text();
    setStatusText(kBusy);
}

void FrameStatusBar::busyEnded()
{
    // A hint showing over the panel stays.
    if (first_->text() == kBusy)
        first_->setText(beforeBusy_);
}

void FrameStatusBar::setCommandText(const QString &text)
{
    command_ = text;
    if (transfer_ && commandShown_.isValid() && commandShown_.elapsed() < kCommandFrameMs) {
        if (!commandFrame_.isActive())
            commandFrame_.start(int(kCommandFrameMs - commandShown_.elapsed()));
        return;
    }
    showCommandNow();
}

void FrameStatusBar::transferRunning(bool running)
{
    transfer_ = running;
    if (!running && (commandFrame_.isActive() || shownCommand_ != command_))
        showCommandNow();
}

void FrameStatusBar::showCommandNow()
{
    commandFrame_.stop();
    commandShown_.start();
    shownCommand_ = command_;
    const QString &text = command_;
    const int room = second_->contentsRect().width() - 2 * second_->margin() - 4;
    const QString shown = second_->fontMetrics().elidedText(text, Qt::ElideRight, room);
    second_->setText(shown);
    second_->setToolTip(shown == text ? QString() : text);
}
