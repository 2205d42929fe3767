#include "link/widgets/RxMemoView.h"

#include <QScrollBar>
#include <QTextCursor>

namespace {
const QChar kCrSign(0x240D);
const QChar kLfSign(0x240A);
} // namespace

RxMemoView::RxMemoView(ReplyMemo &memo, QWidget *parent)
    : QPlainTextEdit(parent)
    , memo_(memo)
{
    setObjectName(QStringLiteral("RxMemo"));
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::ClickFocus);
    setTabChangesFocus(true);
    setUndoRedoEnabled(false);
    setAccessibleName(QStringLiteral("Received from the panel"));
    setAccessibleDescription(QStringLiteral("What the panel sent since the last command"));
    frame_.setSingleShot(true);
    frame_.setInterval(kFrameMs);
    connect(&frame_, &QTimer::timeout, this, &RxMemoView::showNow);
    connect(&memo_, &ReplyMemo::appended, this, &RxMemoView::memoChanged);
    connect(&memo_, &ReplyMemo::cleared, this, &RxMemoView::memoChanged);
    connect(&memo_, &ReplyMemo::replaced, this, &RxMemoView::memoChanged);
    showNow();
}

QString RxMemoView::displayText(const QByteArray &bytes, bool *pendingCr)
{
    QString out;
    out.reserve(bytes.size());
    bool cr = *pendingCr;
    for (char c : bytes) {
        if (cr) {
            cr = false;
            if (c == '\n') {
                out.append(QLatin1Char('\n'));
                continue;
            }
            out.append(kCrSign);
        }
        if (c == '\r') {
            cr = true;
            continue;
        }
        out.append(c == '\n' ? kLfSign : QChar(uchar(c)));
    }
    *pendingCr = cr;
    return out;
}

void RxMemoView::memoChanged()
{
    if (!frozen_ && !frame_.isActive())
        frame_.start();
}

void RxMemoView::setFrozen(bool frozen)
{
    frozen_ = frozen;
    setUpdatesEnabled(!frozen);
    if (frozen)
        frame_.stop();
    else
        showNow();
}

void RxMemoView::showNow()
{
    frame_.stop();
    const QByteArray &text = memo_.text();
    if (text == shown_)
        return;
    if (shown_.isEmpty() || !text.startsWith(shown_)) {
        pendingCr_ = false;
        setPlainText(displayText(text, &pendingCr_));
        shown_ = text;
        return;
    }
    // Only what came since: added at the end, the view kept at the bottom
    // when it was there.
    const QString added = displayText(text.mid(shown_.size()), &pendingCr_);
    shown_ = text;
    if (added.isEmpty())
        return;
    QScrollBar *bar = verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(added);
    if (atBottom)
        bar->setValue(bar->maximum());
}
