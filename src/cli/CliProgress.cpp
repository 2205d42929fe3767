#include "cli/CliProgress.h"

#include "cli/CliConsole.h"
#include "link/CommandExchange.h"

namespace {
constexpr int kBarWidth = 30;
constexpr qint64 kRedrawMs = 200;
} // namespace

CliProgress::CliProgress(CliConsole &console, Mode mode)
    : console_(console)
    , mode_(mode)
{
}

void CliProgress::attach(CommandExchange &link)
{
    link_ = &link;
    QObject::connect(&link.port(), &SerialPort::readyRead, &link, [this] { onLines(); });
}

QString CliProgress::bar(int done, int total, qint64 elapsedMs)
{
    const int shown = total > 0 ? qBound(0, done, total) : 0;
    const int filled = total > 0 ? shown * kBarWidth / total : 0;
    QString text = QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('.'))
                   + QLatin1Char(']');
    const int percent = total > 0 ? shown * 100 / total : 0;
    text += QStringLiteral(" %1%").arg(percent, 3);
    if (shown > 0 && shown < total) {
        const qint64 leftS = (elapsedMs * (total - shown) / shown + 999) / 1000;
        text += leftS >= 60 ? QStringLiteral("  %1 min %2 s left").arg(leftS / 60).arg(leftS % 60, 2, 10, QLatin1Char('0'))
                            : QStringLiteral("  %1 s left").arg(leftS);
    }
    return text;
}

void CliProgress::stage(const QString &text)
{
    if (mode_ == Mode::Quiet || text.isEmpty() || text == lastLine_)
        return;
    finish();
    lastLine_ = text;
    stage_ = text;
    console_.err(text.toLocal8Bit() + '\n');
}

void CliProgress::setStatusText(const QString &text)
{
    stage(text);
}

void CliProgress::setCommandText(const QString &text)
{
    if (counting_ && !commands_.isEmpty() && !text.isEmpty() && commands_.contains(text.at(0).toLatin1()))
        update(done_ + 1);
}

void CliProgress::expectLines(int total)
{
    total_ = total;
    done_ = 0;
    commands_.clear();
    counting_ = true;
    seen_ = link_ ? link_->rx().ReceiveBuffer.size() : 0;
    lines_ = 0;
    started_.start();
    lastDrawMs_ = -1;
}

void CliProgress::expectCommands(const QByteArray &firsts, int total)
{
    expectLines(total);
    commands_ = firsts;
}

// Counts the line ends that reached the receive buffer since the last look
// (the buffer only grows during a bulk reply; a sender empties it at the start).
void CliProgress::onLines()
{
    if (!counting_ || !commands_.isEmpty() || !link_)
        return;
    const QByteArray &buffer = link_->rx().ReceiveBuffer;
    if (buffer.size() < seen_) {
        seen_ = 0;
        lines_ = 0;
    }
    lines_ += int(QByteArrayView(buffer).sliced(seen_).count('\n'));
    seen_ = buffer.size();
    update(lines_);
}

void CliProgress::update(int done)
{
    done_ = done;
    if (mode_ != Mode::Bar)
        return;
    const qint64 now = started_.elapsed();
    if (lastDrawMs_ >= 0 && now - lastDrawMs_ < kRedrawMs && done_ < total_)
        return;
    lastDrawMs_ = now;
    console_.err("\r" + (stage_ + QStringLiteral("  ") + bar(done_, total_, now)).toLocal8Bit() + "\x1b[K");
    barShown_ = true;
}

void CliProgress::finish()
{
    counting_ = false;
    if (barShown_) {
        console_.err("\n");
        barShown_ = false;
    }
}
