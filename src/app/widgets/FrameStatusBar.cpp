#include "app/widgets/FrameStatusBar.h"

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
    addWidget(first_, 1);
    addPermanentWidget(second_);
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
    const int room = second_->contentsRect().width() - 2 * second_->margin() - 4;
    const QString shown = second_->fontMetrics().elidedText(text, Qt::ElideRight, room);
    second_->setText(shown);
    second_->setToolTip(shown == text ? QString() : text);
}
