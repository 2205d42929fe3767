// The whole main window on the virtual panel through a real pseudo-terminal:
// log on with the dialog's PIN, read every parameter, change the PIN and log
// on again with it. Real time, a few seconds.
#include "FormOnPanel.h"
#include "link/PanelModel.h"
#include "parameters/ParameterControls.h"
#include "parameters/widgets/SystemPage.h"

#include <QTabWidget>

// A 500 model: the identity decides the caption and the directory's end.
struct WindowOnPanel : FormOnPanel
{
    void SetUp() override
    {
        engine.setIdentity("Corvalen_500_Xarn");
        FormOnPanel::SetUp();
    }
};

TEST_F(WindowOnPanel, LogOnReadEverythingChangeThePinAndLogOnWithIt)
{
    ASSERT_TRUE(logOn("1234")) << qPrintable(prompt.messages.join(QLatin1Char('|')));
    EXPECT_EQ(form->windowTitle(), IdentifyPanel("Corvalen_500_Xarn")->caption);
    EXPECT_EQ(form->link().conn().DirectoryEnd, 0x5100);
    EXPECT_TRUE(engine.loggedOn());

    engine.memory().setRecord(2, QByteArray("Harbour View    Enter Room No.  "));
    form->PbuttClick(); // the parameter page, as a user opens it
    click("ReadAll");
    ParameterControls &controls = form->systemPage()->controls();
    EXPECT_EQ(controls.text(ParamEdit::msg0), QByteArray("Harbour View    "));
    EXPECT_EQ(controls.text(ParamEdit::msg1), QByteArray("Enter Room No.  "));
    EXPECT_EQ(controls.text(ParamEdit::Phs_ls), QByteArray("20"));
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(prompt.messages.join(QLatin1Char('|')));

    controls.setText(ParamEdit::NewPin, "9876");
    control<QTabWidget>("PhParam")->setCurrentIndex(4); // "Set PIN"
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
