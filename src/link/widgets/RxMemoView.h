#pragma once

#include "link/ReplyMemo.h"

#include <QPlainTextEdit>
#include <QTimer>

// Shows the received-text memo: read-only, no word wrap, a vertical scroll
// bar, no tab stop. An appended chunk is added at the end without rewriting
// the text. CR LF pairs show as line breaks, a lone CR or LF as a visible
// sign, other bytes by their Latin-1 character.
//
// The view follows the memo at a frame rate rather than chunk by chunk: a
// reply arriving in dozens of pieces, or an upload clearing and refilling the
// memo for every command, is laid out, painted and announced to assistive
// technology once a frame, always with the memo's whole text. While frozen
// (an exchange waits) the view keeps what it shows, as its pixels do, and
// catches up when thawed.
class RxMemoView : public QPlainTextEdit
{
    Q_OBJECT
public:
    static constexpr int kFrameMs = 40;

    explicit RxMemoView(ReplyMemo &memo, QWidget *parent = nullptr);

    // Brings the view up to the memo at once.
    void showNow();
    // Frozen: neither painted nor brought up to the memo.
    void setFrozen(bool frozen);

    // The display form of received bytes. pendingCr carries a CR that ended
    // the previous chunk, so a pair split across chunks still shows as a
    // line break.
    static QString displayText(const QByteArray &bytes, bool *pendingCr);

private:
    void memoChanged();

    ReplyMemo &memo_;
    QByteArray shown_; // the memo's text as the view shows it
    bool pendingCr_ = false;
    bool frozen_ = false;
    QTimer frame_;
};
