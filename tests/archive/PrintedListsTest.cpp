// The phone directory as a notice-board list and the parameter sheet: what
// is private stays off the paper unless asked for.
#include "PdfText.h"
#include "directory/PhoneFields.h"
#include "directory/PhoneListReport.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterFile.h"
#include "parameters/ParameterSheet.h"
#include "support/AccessibleNames.h"
#include "table/Table.h"
#include "table/widgets/PrintChoicesDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QList<QList<QByteArray>> residents()
{
    // Name, RoomNumber, PHnumber, Code1, Code2, spare, RFID, Addr
    return {{"Baker Tom", "102", "0211234567", "1111", "2222", "", "", "1000"},
            {"adams Helen", "9", "*31#0299887766", "3333", "4444", "", "", "1020"},
            {"M\xfcller J\xfcrgen", "4711", "0123p45", "5555", "", "", "", "1040"},
            {"", "", "", "", "", "", "", "1060"}, // an empty slot
            {"Clarke Ann", "10", "0400111222", "6666", "7777", "", "", "1080"}};
}

QString printed(const Report &report, const QTemporaryDir &dir)
{
    const QString file = dir.filePath(QStringLiteral("out.pdf"));
    QString error;
    EXPECT_TRUE(ReportPrinter::writePdf(report, file, &error)) << error.toStdString();
    return pdfText(file);
}

bool inOrder(const QString &text, const QStringList &words)
{
    qsizetype at = 0;
    for (const QString &w : words) {
        at = text.indexOf(w, at);
        if (at < 0)
            return false;
    }
    return true;
}
} // namespace

TEST(PhoneListReport, NamesAndRoomsOnlyUnlessAsked)
{
    QTemporaryDir dir;
    PhoneListReport::Options o;
    o.site = QStringLiteral("Harbour View");
    const QString plain = printed(PhoneListReport::build(residents(), o), dir);
    EXPECT_TRUE(plain.contains(QStringLiteral("Residents of Harbour View")));
    EXPECT_TRUE(plain.contains(QStringLiteral("4 residents")));
    // By name, ignoring case.
    EXPECT_TRUE(inOrder(plain, {QStringLiteral("adams Helen"), QStringLiteral("Baker Tom"), QStringLiteral("Clarke Ann"),
                                QStringLiteral("M\u00fcller J\u00fcrgen")}));
    for (const char *secret : {"0211234567", "1111", "2222", "5555", "*31#", "Phone", "Code"})
        EXPECT_FALSE(plain.contains(QLatin1String(secret))) << secret;

    o.phoneNumbers = true;
    const QString phones = printed(PhoneListReport::build(residents(), o), dir);
    EXPECT_TRUE(phones.contains(QStringLiteral("0211234567")));
    EXPECT_TRUE(phones.contains(QStringLiteral("*31#0299887766")));
    EXPECT_FALSE(phones.contains(QStringLiteral("1111")));

    o.codes = true;
    o.byRoom = true;
    const QString all = printed(PhoneListReport::build(residents(), o), dir);
    EXPECT_TRUE(all.contains(QStringLiteral("1111")));
    EXPECT_TRUE(all.contains(QStringLiteral("7777")));
    // By room, numbers by their value.
    EXPECT_TRUE(inOrder(all, {QStringLiteral("adams Helen"), QStringLiteral("Clarke Ann"), QStringLiteral("Baker Tom"),
                              QStringLiteral("M\u00fcller J\u00fcrgen")}));
}

TEST(PhoneListReport, FromThePhoneTableOrAPhoneListFile)
{
    Table table;
    table.redefine(PhoneFields::definition());
    table.open();
    for (const QList<QByteArray> &e : residents())
        table.appendRecord(e);
    EXPECT_EQ(PhoneListReport::entriesOf(table), residents());

    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("list.csv"));
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\nZed Zoe,7,0299,1234,,,,1000\r\n");
    f.close();
    QList<QList<QByteArray>> entries;
    QString error;
    ASSERT_TRUE(PhoneListReport::readFile(csv, &entries, &error));
    ASSERT_EQ(entries.size(), 1);
    const QString text = printed(PhoneListReport::build(entries, {}), dir);
    EXPECT_TRUE(text.contains(QStringLiteral("Zed Zoe")));
    EXPECT_FALSE(text.contains(QStringLiteral("1234")));

    EXPECT_FALSE(PhoneListReport::readFile(dir.filePath(QStringLiteral("missing.csv")), &entries, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot open file"))) << error.toStdString();
}

namespace {
class ParameterSheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        c.setText(ParamEdit::code_g1, "4711");
        c.setText(ParamEdit::code_ic2, "8642");
        c.setText(ParamEdit::NewPin, "9876");
        c.setText(ParamEdit::msg0, "Welcome");
        c.setText(ParamEdit::Phs_rt, "7");
        c.setText(ParamEdit::Phs_rc, "4");
        c.click(ParamCheck::rly2key);
        c.setChecked(ParamCheck::rly2tim, true);
        c.click(ParamCheck::opt936);
    }

    QString valueOf(const QList<ParameterSheet::Line> &lines, const QString &setting)
    {
        for (const ParameterSheet::Line &l : lines)
            if (l.setting == setting)
                return l.value;
        return QStringLiteral("<none>");
    }

    ParameterControls c;
};
} // namespace

TEST_F(ParameterSheetTest, GateCodesAndThePinOnlyWhenAsked)
{
    const QList<ParameterSheet::Line> plain = ParameterSheet::fromControls(c, false);
    EXPECT_EQ(valueOf(plain, QStringLiteral("Relay on time (s)")), QStringLiteral("7"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("Auto-Answer Ring count")), QStringLiteral("4"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("Fixed1")), QStringLiteral("Welcome"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("SpeedNo.3")), QStringLiteral("36003"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("Relay2 Override")), QStringLiteral("On a key press"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("Don't use timer")), QStringLiteral("on"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("LCD Line2 Options")), QStringLiteral("Enable pulsing msgs"));
    for (const ParameterSheet::Line &l : plain) {
        EXPECT_NE(l.value, QStringLiteral("4711"));
        EXPECT_NE(l.value, QStringLiteral("9876"));
    }

    QTemporaryDir dir;
    ParameterSheet::Options o;
    o.site = QStringLiteral("Harbour View");
    const QString text = printed(ParameterSheet::build(plain, o), dir);
    EXPECT_TRUE(text.contains(QStringLiteral("Parameters of Harbour View")));
    EXPECT_TRUE(text.contains(QStringLiteral("Gate codes and the PIN are not printed.")));
    EXPECT_TRUE(text.contains(QStringLiteral("Welcome")));
    EXPECT_FALSE(text.contains(QStringLiteral("4711")));
    EXPECT_FALSE(text.contains(QStringLiteral("8642")));
    EXPECT_FALSE(text.contains(QStringLiteral("9876")));

    o.secrets = true;
    const QString open = printed(ParameterSheet::build(ParameterSheet::fromControls(c, true), o), dir);
    EXPECT_TRUE(open.contains(QStringLiteral("4711")));
    EXPECT_TRUE(open.contains(QStringLiteral("8642")));
    EXPECT_TRUE(open.contains(QStringLiteral("9876")));
    EXPECT_FALSE(open.contains(QStringLiteral("not printed")));
}

TEST_F(ParameterSheetTest, AParameterFileGivesWhatItHolds)
{
    ParameterFile::CaptureParameterFile(c);
    const QList<ParameterSheet::Line> plain = ParameterSheet::fromFileRecord(c.fileRecord(), false);
    EXPECT_EQ(valueOf(plain, QStringLiteral("Relay on time (s)")), QStringLiteral("7"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("Fixed1")), QStringLiteral("Welcome"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("Relay2 Override")), QStringLiteral("On a key press"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("Don't use timer")), QStringLiteral("on"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("LCD Line2 Options")), QStringLiteral("Enable pulsing msgs"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("Sw. off after gate release")), QStringLiteral("on"));
    // The file has no place for these.
    EXPECT_EQ(valueOf(plain, QStringLiteral("Auto-Answer Ring count")), QStringLiteral("<none>"));
    EXPECT_EQ(valueOf(plain, QStringLiteral("Enable Ubrin compatibility for relay control")), QStringLiteral("<none>"));
    for (const ParameterSheet::Line &l : plain)
        EXPECT_NE(l.value, QStringLiteral("4711"));

    const QList<ParameterSheet::Line> open = ParameterSheet::fromFileRecord(c.fileRecord(), true);
    EXPECT_EQ(valueOf(open, QStringLiteral("Global Gate Codes, Relay1")), QStringLiteral("4711"));
    EXPECT_EQ(valueOf(open, QStringLiteral("Incomming Calls Gate Codes, Relay2")), QStringLiteral("8642"));
    EXPECT_EQ(valueOf(open, QStringLiteral("New PIN")), QStringLiteral("<none>")); // never in the file
}

TEST(PrintChoicesDialog, PrivateChoicesStartOffAndWarnWhenTicked)
{
    PrintChoicesDialog d(QStringLiteral("Print Residents List"),
                         {{QStringLiteral("Phone numbers")}, {QStringLiteral("Gate codes"), true}});
    d.show();
    EXPECT_FALSE(d.isChosen(0));
    EXPECT_FALSE(d.isChosen(1));
    QLabel *warning = d.findChild<QLabel *>(QStringLiteral("privateWarning"));
    ASSERT_TRUE(warning);
    EXPECT_FALSE(warning->isVisible());
    d.setChosen(0, true);
    EXPECT_FALSE(warning->isVisible()); // phone numbers open no gate
    QCheckBox *codes = d.findChild<QCheckBox *>(QStringLiteral("choice1"));
    QTest::mouseClick(codes, Qt::LeftButton, {}, QPoint(6, codes->height() / 2));
    EXPECT_TRUE(d.isChosen(1));
    EXPECT_TRUE(warning->isVisible());
    EXPECT_TRUE(warning->text().contains(QStringLiteral("gate codes")));
    EXPECT_TRUE(unnamedControls(d).isEmpty()) << unnamedControls(d).join(u", ").toStdString();
    QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("pdf")), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.action(), PrintChoicesDialog::Action::Pdf);
}
