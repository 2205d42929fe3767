// The whole main window on the virtual panel through a real pseudo-terminal:
// log on with the dialog's PIN, read every parameter, change the PIN and log
// on again with it. Real time, a few seconds.
#include "PtyPanelServer.h"
#include "app/widgets/TCorvalenForm.h"
#include "link/DeviceMap.h"
#include "link/EventLoopWaiter.h"
#include "link/PanelModel.h"
#include "link/SystemSerialPort.h"
#include "parameters/ParameterControls.h"
#include "parameters/widgets/SystemPage.h"
#include "support/Recorders.h"
#include "support/ScriptedPin.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct WindowOnPanel : ::testing::Test
{
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    PanelEngine engine{QStringLiteral("500")};
    PtyPanelServer server{engine};
    DeviceMap devices;
    std::unique_ptr<SystemSerialPort> port;
    EventLoopWaiter waiter;
    RecordingPrompt prompt;
    ScriptedPin pin;
    std::unique_ptr<TCorvalenForm> form;

    void SetUp() override
    {
        QDir::setCurrent(dir.path());
        server.setPacing(false);
        QString error;
        ASSERT_TRUE(server.open(&error)) << qPrintable(error);
        devices.setDevice(2, server.devicePath());
        port = std::make_unique<SystemSerialPort>(devices);
        form = std::make_unique<TCorvalenForm>(*port, waiter, devices, &prompt);
        form->setLogOnDialog(&pin);
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(previousDir);
    }
    bool logOn(const QByteArray &typed)
    {
        pin.answers << typed;
        form->connection().OnLine1Click();
        return form->link().conn().LoggedOn;
    }
    void click(const char *name)
    {
        auto *button = form->findChild<QPushButton *>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isEnabled()) << name;
        button->click();
    }
};
} // namespace

TEST_F(WindowOnPanel, LogOnReadEverythingChangeThePinAndLogOnWithIt)
{
    ASSERT_TRUE(logOn("1234")) << qPrintable(prompt.messages.join(QLatin1Char('|')));
    EXPECT_EQ(form->windowTitle(), IdentifyPanel("Corvalen_500_Xarn")->caption);
    EXPECT_EQ(form->link().conn().DirectoryEnd, 0x5100);
    EXPECT_TRUE(engine.loggedOn());

    engine.memory().setRecord(2, QByteArray("Harbour View    Enter Room No.  "));
    click("ReadAll");
    ParameterControls &controls = form->systemPage()->controls();
    EXPECT_EQ(controls.text(ParamEdit::msg0), QByteArray("Harbour View    "));
    EXPECT_EQ(controls.text(ParamEdit::msg1), QByteArray("Enter Room No.  "));
    EXPECT_EQ(controls.text(ParamEdit::Phs_ls), QByteArray("20"));
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(prompt.messages.join(QLatin1Char('|')));

    controls.setText(ParamEdit::NewPin, "9876");
    click("UpDatePIN");
    EXPECT_EQ(prompt.messages, QStringList{QStringLiteral("NEW PIN Programmed")});
    EXPECT_EQ(engine.pin(), QByteArray("9876"));

    form->connection().OnLine1Click(); // log off
    EXPECT_FALSE(form->link().conn().LoggedOn);
    EXPECT_FALSE(form->link().port().isOpen());

    prompt.messages.clear();
    EXPECT_FALSE(logOn("1234"));
    EXPECT_EQ(prompt.messages, QStringList{QStringLiteral("Failed to Connect\r\nCheck PIN")});
    EXPECT_TRUE(logOn("9876"));
}
