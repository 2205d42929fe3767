#pragma once

#include <QByteArray>
#include <QString>

// The main window's two-panel status bar, as the code below the windows
// sees it: the first panel shows status texts, the second the last command
// written to the panel (or "Ready").
class StatusSink
{
public:
    virtual ~StatusSink() = default;
    virtual void setStatusText(const QString &text) = 0;
    virtual void setCommandText(const QString &text) = 0;
    // A bulk transfer (its transfer window showing) starts or ends: many
    // commands a second follow each other. A sink may show them at a
    // readable pace meanwhile; at the end the last one shows.
    virtual void transferRunning(bool running) { (void)running; }

    // The command as it went to the panel; its final CR is not shown.
    void showCommand(const QByteArray &command)
    {
        QByteArray shown = command;
        if (shown.endsWith('\r'))
            shown.chop(1);
        setCommandText(QString::fromLatin1(shown));
    }
};
