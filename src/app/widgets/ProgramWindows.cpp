#include "app/widgets/ProgramWindows.h"

#include "app/widgets/FrameStatusBar.h"

ProgramWindows::ProgramWindows(const DeviceMap &devices, UserPrompt *prompt)
    : port_(devices)
    , form_(port_, waiter_, devices, prompt)
    , about_(&form_)
    , enterPin_(form_.portChoice(), form_.prompt(), &form_)
    , transfer_(form_.statusSink(), &form_)
{
    port_.setObjectName(QStringLiteral("ComPort1"));
    form_.setAboutBox(&about_);
    form_.setLogOnDialog(&enterPin_);
    form_.setTransferWindow(&transfer_);
}

void ProgramWindows::show()
{
    form_.show();
    form_.raise();
    form_.activateWindow();
}
