#pragma once

#include "link/TransferFeedback.h"

#include <QStringList>

// Records what a transfer showed, in order ("show", "hide", "busy", "idle",
// "blink", "steady", "keepalive on", "keepalive off", "led 21").
class RecordingFeedback : public TransferFeedback
{
public:
    void showTransferWindow() override { add("show"); windowShown = true; }
    void hideTransferWindow() override { add("hide"); windowShown = false; }
    void setBusyCursor(bool busy) override { add(busy ? "busy" : "idle"); busyCursor = busy; }
    void startLampBlink() override { add("blink"); blinking = true; }
    void stopLampBlink() override { add("steady"); blinking = false; }
    void startKeepAlive() override { add("keepalive on"); keepAlive = true; }
    void stopKeepAlive() override { add("keepalive off"); keepAlive = false; }
    void setLedImage(int image) override { add(QStringLiteral("led %1").arg(image)); ledImage = image; }

    QStringList events;
    bool windowShown = false;
    bool busyCursor = false;
    bool blinking = false;
    bool keepAlive = true;
    int ledImage = 22;

private:
    void add(const QString &e) { events << e; }
};
