#pragma once

#include "link/StatusSink.h"
#include "link/NoWindowFeedback.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

class CliConsole;
class CommandExchange;

// Progress on standard error, fed by what the window would show: the status
// bar's texts are the stages, and the count of a bulk transfer comes either
// from the reply lines that reach the receive buffer (downloads) or from the
// commands sent (uploads). On a terminal one line is redrawn as a bar with the percentage
// and the time left; elsewhere each stage is one line; --quiet shows nothing.
// The transfer window, cursor, lamp and keep-alive have nothing to show here.
class CliProgress : public StatusSink, public NoWindowFeedback
{
public:
    enum class Mode { Quiet, Lines, Bar };

    CliProgress(CliConsole &console, Mode mode);

    // The exchange whose received lines are counted (set once it exists).
    void attach(CommandExchange &link);

    // A stage of the job's own.
    void stage(const QString &text);
    // Counts received reply lines up to `total` from now on.
    void expectLines(int total);
    // Counts commands beginning with one of `firsts` up to `total` from now on.
    void expectCommands(const QByteArray &firsts, int total);
    // What has been counted since the last expect...().
    int counted() const { return done_; }
    // The count is over; the bar's line is ended.
    void finish();

    void setStatusText(const QString &text) override;
    void setCommandText(const QString &text) override;

    // "[#####.....]  50%  12 s left" for done of total after elapsedMs.
    static QString bar(int done, int total, qint64 elapsedMs);

private:
    void onLines();
    void update(int done);

    CliConsole &console_;
    Mode mode_;
    CommandExchange *link_ = nullptr;
    QString stage_;
    QString lastLine_;
    int total_ = 0;
    int done_ = 0;
    qsizetype seen_ = 0; // bytes of the receive buffer counted
    int lines_ = 0;
    QByteArray commands_;
    bool counting_ = false;
    bool barShown_ = false;
    QElapsedTimer started_;
    qint64 lastDrawMs_ = -1;
};
