#include "link/ReplyMemo.h"

QList<QByteArray> ReplyMemo::splitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf("\r\n", start);
        if (end < 0) {
            lines.append(text.mid(start));
            break;
        }
        lines.append(text.mid(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool ReplyMemo::endsWithOkLine(const QByteArray &text)
{
    return text == "OK\r\n" || text.endsWith("\r\nOK\r\n");
}

void ReplyMemo::append(const QByteArray &chunk)
{
    if (chunk.isEmpty())
        return;
    text_.append(chunk);
    linesValid_ = false;
    emit appended(chunk);
}

void ReplyMemo::clear()
{
    text_.clear();
    lines_.clear();
    linesValid_ = true;
    emit cleared();
}

void ReplyMemo::setText(const QByteArray &text)
{
    text_ = text;
    linesValid_ = false;
    emit replaced(text_);
}

const QList<QByteArray> &ReplyMemo::lines() const
{
    if (!linesValid_) {
        lines_ = splitLines(text_);
        linesValid_ = true;
    }
    return lines_;
}

QByteArray ReplyMemo::line(int n) const
{
    const QList<QByteArray> &all = lines();
    if (n < 0 || n >= all.size())
        return {};
    return all.at(n);
}

int ReplyMemo::lineCount() const
{
    return int(lines().size());
}
