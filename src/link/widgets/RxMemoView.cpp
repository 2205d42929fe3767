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
    connect(&memo_, &ReplyMemo::appended, this, &RxMemoView::appendChunk);
    connect(&memo_, &ReplyMemo::cleared, this, [this] {
        pendingCr_ = false;
        clear();
    });
    connect(&memo_, &ReplyMemo::replaced, this, &RxMemoView::replaceText);
    replaceText(memo_.text());
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

void RxMemoView::appendChunk(const QByteArray &chunk)
{
    const QString text = displayText(chunk, &pendingCr_);
    if (text.isEmpty())
        return;
    QScrollBar *bar = verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    if (atBottom)
        bar->setValue(bar->maximum());
}

void RxMemoView::replaceText(const QByteArray &text)
{
    pendingCr_ = false;
    setPlainText(displayText(text, &pendingCr_));
}
