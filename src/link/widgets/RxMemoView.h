#pragma once

#include "link/ReplyMemo.h"

#include <QPlainTextEdit>

// Shows the received-text memo: read-only, no word wrap, a vertical scroll
// bar, no tab stop. An appended chunk is added at the end without rewriting
// the text. CR LF pairs show as line breaks, a lone CR or LF as a visible
// sign, other bytes by their Latin-1 character.
class RxMemoView : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit RxMemoView(ReplyMemo &memo, QWidget *parent = nullptr);

    // The display form of received bytes. pendingCr carries a CR that ended
    // the previous chunk, so a pair split across chunks still shows as a
    // line break.
    static QString displayText(const QByteArray &bytes, bool *pendingCr);

private:
    void appendChunk(const QByteArray &chunk);
    void replaceText(const QByteArray &text);

    ReplyMemo &memo_;
    bool pendingCr_ = false;
};
