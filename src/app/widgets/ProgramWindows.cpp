#include "app/widgets/ProgramWindows.h"

#include "app/widgets/FrameSites.h"
#include "app/widgets/FrameStatusBar.h"

#include <QDateTime>

ProgramWindows::ProgramWindows(const DeviceMap &devices, UserPrompt *prompt)
    : settings_(PortSettings::defaultFileName())
    , devices_(devices)
    , line_(devices_)
    , journal_(TrafficJournal::defaultFolder(), TrafficJournal::localClock())
    , port_(line_, journal_, [this] { return QStringLiteral("%1 (%2)").arg(line_.portName(), line_.deviceName()); })
    , form_(port_, waiter_, devices_, prompt, nullptr, settings_.fileName())
    , about_(&form_)
    , enterPin_(form_.portChoice(), form_.prompt(), &form_)
    , transfer_(form_.statusSink(), &form_)
{
    port_.setObjectName(QStringLiteral("ComPort1"));
    form_.setJournal(&journal_);
    form_.setAboutBox(&about_);
    form_.setLogOnDialog(&enterPin_);
    form_.sites().setPinDialog(&enterPin_);
    form_.setTransferWindow(&transfer_);
}

void ProgramWindows::show()
{
    form_.show();
    form_.raise();
    form_.activateWindow();
}
