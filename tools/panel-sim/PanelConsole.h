#pragma once

#include <QObject>
#include <QString>

class PanelServer;

// The panel's own terminal: logs to standard error what the panel receives
// (never the PIN) and when the program comes on the line or leaves it, and turns
// key presses into what happens at the panel (a tag at the reader, noise on
// the line, a dropped OK, silence).
class PanelConsole : public QObject
{
    Q_OBJECT
public:
    PanelConsole(PanelServer &server, bool quiet, QObject *parent = nullptr);

    static void print(const QString &line); // to standard error
    void onKey(char key);

signals:
    void quitRequested();

private:
    QByteArray nextStoredTag();

    PanelServer &server_;
    bool quiet_;
    int tagIndex_ = 0;
};
