#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

// The received-text memo: everything the panel sent since it was last
// cleared, kept as bytes. It is also the reply parser: its lines are the text
// split at CR LF pairs (a lone CR or LF is part of a line), line 0 being the
// first line received after the last clear; a CR LF at the very end does not
// start another line. A widget shows it by following the signals, so that an
// appended chunk never rewrites the whole text.
class ReplyMemo : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    const QByteArray &text() const { return text_; }
    void append(const QByteArray &chunk);
    void clear();
    void setText(const QByteArray &text);

    // Line n, or the empty text when there is none.
    QByteArray line(int n) const;
    int lineCount() const;
    const QList<QByteArray> &lines() const;

    static QList<QByteArray> splitLines(const QByteArray &text);

    // Whether received text ends with an "OK" line of its own: the whole
    // text is "OK" CR LF, or that line follows a CR LF. A line that merely
    // ends in "OK" (a resident's name at the end of a chunk) does not count.
    static bool endsWithOkLine(const QByteArray &text);

signals:
    void appended(const QByteArray &chunk);
    void cleared();
    void replaced(const QByteArray &text);

private:
    QByteArray text_;
    mutable QList<QByteArray> lines_;
    mutable bool linesValid_ = true;
};
