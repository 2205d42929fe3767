#include "link/LogOnDetails.h"
#include "link/PortChoice.h"
#include "link/widgets/TEnterPin.h"
#include "support/LinkHarness.h"

#include <QAccessible>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct EnterPinFixture : ::testing::Test
{
    QTemporaryDir dir;
    QString path = dir.filePath(QString::fromLatin1(LogOnDetails::kFileName));
    LinkHarness h;
    PortChoice ports{h.port, path};
    RecordingPrompt prompt;
    TEnterPin dialog{ports, prompt};

    void store(const LogOnDetails &details)
    {
        QString error;
        ASSERT_TRUE(details.write(path, &error)) << qPrintable(error);
    }
    QByteArray fileBytes() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

LogOnDetails remembered()
{
    LogOnDetails details;
    details.pin = "4321";
    details.phoneNumber = "0123456789";
    details.rememberDetails = true;
    details.remote = true;
    details.portNumber = 4;
    return details;
}
} // namespace

TEST_F(EnterPinFixture, ShowingFillsTheDialogFromTheDetailsFileAndRestoresThePort)
{
    store(remembered());
    dialog.show();

    EXPECT_EQ(dialog.CorvalenPin->text(), QStringLiteral("4321"));
    EXPECT_EQ(dialog.R_ph_num->text(), QStringLiteral("0123456789"));
    EXPECT_TRUE(dialog.StrDetail->isChecked());
    EXPECT_TRUE(dialog.RChkBox->isChecked());
    EXPECT_TRUE(dialog.R_ph_num->isEnabled());
    EXPECT_FALSE(dialog.Panel1->isVisible());
    EXPECT_EQ(h.port.portName(), QStringLiteral("COM4"));
    EXPECT_EQ(ports.checkedItem(), 4);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("EnterPin"));
}

TEST_F(EnterPinFixture, WithoutADetailsFileTheDialogKeepsItsValues)
{
    dialog.CorvalenPin->setText(QStringLiteral("77"));
    dialog.show();
    EXPECT_EQ(dialog.CorvalenPin->text(), QStringLiteral("77"));
    EXPECT_EQ(ports.checkedItem(), 2);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(EnterPinFixture, OkWithRememberDetailsStoresPinPhoneFlagsAndPortOwnerOnly)
{
    ports.comm31Click();
    dialog.show();
    dialog.CorvalenPin->setText(QStringLiteral("2468"));
    dialog.StrDetail->setChecked(true);
    dialog.Button1->click();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const LogOnDetails stored = LogOnDetails::fromBytes(fileBytes());
    EXPECT_EQ(fileBytes().size(), 40);
    EXPECT_EQ(stored.pin, QByteArray("2468"));
    EXPECT_TRUE(stored.rememberDetails);
    EXPECT_FALSE(stored.remote);
    EXPECT_EQ(stored.portNumber, 3);
    EXPECT_EQ(QFile::permissions(path) & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
}

TEST_F(EnterPinFixture, OkWithRememberDetailsClearedEmptiesThePinAndKeepsThePort)
{
    store(remembered());
    dialog.show();
    dialog.StrDetail->setChecked(false);
    dialog.Button1->click();

    const LogOnDetails stored = LogOnDetails::fromBytes(fileBytes());
    EXPECT_TRUE(stored.pin.isEmpty());
    EXPECT_TRUE(stored.phoneNumber.isEmpty());
    EXPECT_FALSE(stored.rememberDetails);
    EXPECT_FALSE(stored.remote);
    EXPECT_EQ(stored.portNumber, 4);
    EXPECT_EQ(dialog.pin(), QByteArray("4321")); // the log-on still uses what is typed
}

TEST_F(EnterPinFixture, ReturnInThePinFieldLogsOnWithoutTouchingTheDetailsFile)
{
    store(remembered());
    const QByteArray before = fileBytes();
    dialog.show();
    dialog.StrDetail->setChecked(false);
    dialog.CorvalenPin->setText(QStringLiteral("5555"));
    QTest::keyClick(dialog.CorvalenPin, Qt::Key_Return);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.pin(), QByteArray("5555"));
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(EnterPinFixture, ReturnInThePhoneFieldActsAsOk)
{
    dialog.show();
    dialog.RChkBox->click();
    EXPECT_TRUE(dialog.R_ph_num->isEnabled());
    QTest::keyClick(dialog.R_ph_num, Qt::Key_Enter);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(fileBytes().size(), 40);
}

TEST_F(EnterPinFixture, ADetailsFileThatCannotBeWrittenIsReportedAndTheDialogStaysOpen)
{
    PortChoice elsewhere(h.port, dir.filePath(QStringLiteral("missing/folder/corvalendata3.ini")));
    TEnterPin stuck(elsewhere, prompt);
    stuck.show();
    stuck.Button1->click();
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages.first().startsWith(QStringLiteral("Cannot create file")));
    EXPECT_TRUE(stuck.isVisible());
}

TEST_F(EnterPinFixture, CancelAndTheRemoteBoxBehave)
{
    dialog.show();
    EXPECT_FALSE(dialog.R_ph_num->isEnabled());
    EXPECT_FALSE(dialog.PhoneLabel->isEnabled());
    dialog.RChkBox->click();
    EXPECT_TRUE(dialog.PhoneLabel->isEnabled());
    dialog.RChkBox->click();
    EXPECT_FALSE(dialog.R_ph_num->isEnabled());
    dialog.Button2->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(EnterPinFixture, ThePinFieldHidesItsTextAndTakesSixteenCharacters)
{
    EXPECT_EQ(dialog.CorvalenPin->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.CorvalenPin->maxLength(), 16);
    EXPECT_EQ(dialog.R_ph_num->maxLength(), 16);
    dialog.show();
    QTest::keyClicks(dialog.CorvalenPin, QStringLiteral("12345678901234567890"));
    EXPECT_EQ(dialog.pin(), QByteArray("1234567890123456"));
}

TEST_F(EnterPinFixture, EveryControlHasAnAccessibleName)
{
    dialog.show();
    for (QWidget *control : dialog.findChildren<QWidget *>()) {
        if (qobject_cast<QLabel *>(control))
            continue;
        QAccessibleInterface *item = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->text(QAccessible::Name).isEmpty()) << qPrintable(control->objectName());
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.CorvalenPin)->text(QAccessible::Description),
              QStringLiteral("Enter the PIN to access Corvalen Programme Mode"));
}

// A panel opened as a site: its PIN comes from and goes to the site's store;
// the details file keeps its 40 bytes with the PIN field empty, also when it
// held a PIN from before.
TEST_F(EnterPinFixture, ASitesPinIsKeptOutsideTheDetailsFile)
{
    struct Keeper : PinKeeper
    {
        std::optional<QByteArray> kept;
        QList<std::pair<QByteArray, bool>> calls;
        std::optional<QByteArray> keptPin() override { return kept; }
        void keep(const QByteArray &pin, bool remember) override { calls.append({pin, remember}); }
    } keeper;
    keeper.kept = QByteArray("9753");
    store(remembered()); // PIN 4321 from before the site
    dialog.setPinKeeper(&keeper);
    dialog.show();
    EXPECT_EQ(dialog.CorvalenPin->text(), QStringLiteral("9753"));

    dialog.CorvalenPin->setText(QStringLiteral("1357"));
    dialog.Button1->click();
    const QByteArray bytes = fileBytes();
    ASSERT_EQ(bytes.size(), LogOnDetails::kSize);
    const LogOnDetails stored = LogOnDetails::fromBytes(bytes);
    EXPECT_TRUE(stored.pin.isEmpty());
    EXPECT_EQ(bytes.left(17), QByteArray(17, '\0'));
    EXPECT_TRUE(stored.rememberDetails);
    EXPECT_EQ(stored.phoneNumber, QByteArray("0123456789"));
    ASSERT_EQ(keeper.calls.size(), 1);
    EXPECT_EQ(keeper.calls.first(), std::make_pair(QByteArray("1357"), true));

    // Without "Store details" the site's PIN is forgotten.
    keeper.kept.reset();
    dialog.show();
    EXPECT_TRUE(dialog.CorvalenPin->text().isEmpty()); // the old file's 4321 is not offered
    dialog.CorvalenPin->setText(QStringLiteral("1357"));
    dialog.StrDetail->setChecked(false);
    dialog.Button1->click();
    ASSERT_EQ(keeper.calls.size(), 2);
    EXPECT_FALSE(keeper.calls.last().second);
    EXPECT_FALSE(fileBytes().contains("1357"));
}
