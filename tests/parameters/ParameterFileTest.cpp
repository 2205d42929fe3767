#include "parameters/ParameterControlInfo.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterFile.h"
#include "support/Recorders.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ParameterFile;
using E = ParamEdit;
using K = ParamCheck;

namespace {

QByteArray readAll(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The controls the file carries (RadioButton1 follows from two flags).
const K kFiledChecks[] = {K::opt930, K::opt931, K::opt932, K::opt933, K::opt934, K::GlobalCode,
                          K::opt936, K::opt937, K::rly2off, K::rly2key, K::rly2line, K::rly2tim};

bool filed(E e)
{
    return e != E::Phs_rc && e != E::Sil_time && e != E::Cont_time && e != E::NewPin;
}

} // namespace

class ParameterFiles : public ::testing::Test
{
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    bool save(ParameterControls &from, const QString &name)
    {
        CaptureParameterFile(from);
        return SaveParameterFile(from, name, prompt);
    }
    bool load(ParameterControls &into, const QString &name)
    {
        return LoadParameterFile(into, name, prompt) && ApplyParameterFile(into, prompt);
    }

    QTemporaryDir dir;
    RecordingPrompt prompt;
};

TEST_F(ParameterFiles, DefaultsGiveTheKnownBytesAndZeroReservedFields)
{
    ParameterControls c;
    ASSERT_TRUE(save(c, path("SysPara.sys")));
    const QByteArray bytes = readAll(path("SysPara.sys"));
    ASSERT_EQ(bytes.size(), 467);
    EXPECT_EQ(bytes.mid(295, 3), QByteArray("\x01" "3\0", 3));
    EXPECT_EQ(bytes.mid(298, 3), QByteArray("\x01" "1\0", 3));  // Phs_but
    EXPECT_EQ(bytes.mid(313, 3), QByteArray("\x02" "20", 3));   // Phs_ls
    EXPECT_EQ(bytes.mid(316, 3), QByteArray("\x02" "15", 3));   // Phs_na
    EXPECT_EQ(bytes.mid(319, 3), QByteArray("\x02" "00", 3));
    EXPECT_EQ(bytes.mid(322, 8), QByteArray("\0\0\1\1\0\0\0\0", 8));
    EXPECT_EQ(bytes.mid(331, 6), QByteArray("\x05" "36001"));
    EXPECT_EQ(bytes.mid(450, 6), QByteArray("\x05" "36008"));
    EXPECT_EQ(bytes.at(0), '\0'); // empty code_g1
    for (auto [from, size] : {std::pair{10, 5}, {25, 5}, {40, 5}, {113, 17}, {196, 99}, {330, 1}})
        EXPECT_EQ(bytes.mid(from, size), QByteArray(size, '\0')) << from;
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(ParameterFiles, TextsAreStoredAsShownAndCutToTheirCapacity)
{
    ParameterControls c;
    c.setText(E::Phs_run, "100");
    c.setText(E::code_g1, "12a4");
    c.setText(E::spd1, "*12#p3");
    c.setText(E::msg2, QByteArray(32, 'm'));
    c.setChecked(K::rly2line, true);
    c.setChecked(K::rly2tim, true);
    CaptureParameterFile(c);
    const QByteArray &bytes = c.fileRecord().bytes();
    EXPECT_EQ(bytes.mid(295, 3), QByteArray("\x02" "10"));
    EXPECT_EQ(bytes.mid(0, 5), QByteArray("\x04" "12a4"));
    EXPECT_EQ(bytes.mid(331, 7), QByteArray("\x06*12#p3"));
    EXPECT_EQ(bytes.mid(130, 33), QByteArray("\x20") + QByteArray(32, 'm'));
    EXPECT_EQ(bytes.mid(319, 3), QByteArray("\x02" "0:"));

    // A shorter text leaves the bytes after it as they were.
    c.setText(E::msg2, "ab");
    CaptureParameterFile(c);
    EXPECT_EQ(c.fileRecord().bytes().mid(130, 33), QByteArray("\x02" "ab") + QByteArray(30, 'm'));
}

TEST_F(ParameterFiles, LoadingLeavesTheUnfiledControlsAlone)
{
    ParameterControls source;
    source.setText(E::msg0, "From file");
    source.setText(E::Phs_rc, "9");
    ASSERT_TRUE(save(source, path("a.sys")));

    ParameterControls c;
    c.setText(E::Phs_rc, "33");
    c.setText(E::Sil_time, "7");
    c.setText(E::Cont_time, "8");
    c.setChecked(K::Opt_sw2_1, true);
    c.setText(E::NewPin, "secret");
    ASSERT_TRUE(load(c, path("a.sys")));
    EXPECT_EQ(c.text(E::msg0), QByteArray("From file"));
    EXPECT_EQ(c.text(E::Phs_rc), QByteArray("33"));
    EXPECT_EQ(c.text(E::Sil_time), QByteArray("7"));
    EXPECT_EQ(c.text(E::Cont_time), QByteArray("8"));
    EXPECT_TRUE(c.isChecked(K::Opt_sw2_1));
    EXPECT_EQ(c.text(E::NewPin), QByteArray("secret"));
}

TEST_F(ParameterFiles, AShortFileIsRefusedAndALongerOneLoadsItsFirstBytes)
{
    ParameterControls source;
    source.setText(E::msg1, "loaded");
    ASSERT_TRUE(save(source, path("full.sys")));
    const QByteArray image = readAll(path("full.sys"));
    writeAll(path("short.sys"), image.left(466));
    writeAll(path("long.sys"), image + "x");

    ParameterControls c;
    c.setText(E::msg1, "mine");
    c.fileRecord().setText(113, 16, "reserved kept"); // what an earlier file left
    const QByteArray before = c.fileRecord().bytes();
    EXPECT_FALSE(LoadParameterFile(c, path("short.sys"), prompt));
    EXPECT_EQ(prompt.messages, QStringList{QStringLiteral("Could not Load from file\r\n") + path("short.sys")});
    EXPECT_EQ(c.text(E::msg1), QByteArray("mine"));
    EXPECT_EQ(c.fileRecord().bytes(), before);

    prompt.messages.clear();
    ASSERT_TRUE(load(c, path("long.sys")));
    EXPECT_EQ(c.text(E::msg1), QByteArray("loaded"));
    EXPECT_EQ(c.fileRecord().bytes(), image);
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(ParameterFiles, LineTwoFlagsChooseTheRadioButton)
{
    ParameterControls source;
    CaptureParameterFile(source);
    QByteArray image = source.fileRecord().bytes();
    writeAll(path("fixed.sys"), image);
    image[323] = 1;
    image[329] = 1;
    writeAll(path("scroll.sys"), image);
    image[323] = 0;
    image[328] = 7; // any non-zero value is a tick
    writeAll(path("pulse.sys"), image);

    ParameterControls c;
    ASSERT_TRUE(load(c, path("scroll.sys")));
    EXPECT_TRUE(c.isChecked(K::opt931));
    EXPECT_FALSE(c.isEnabled(K::opt937));
    EXPECT_TRUE(c.isChecked(K::opt937));
    ASSERT_TRUE(load(c, path("pulse.sys")));
    EXPECT_TRUE(c.isChecked(K::opt936));
    EXPECT_FALSE(c.isChecked(K::opt931));
    ASSERT_TRUE(load(c, path("fixed.sys")));
    EXPECT_TRUE(c.isChecked(K::RadioButton1));
    EXPECT_TRUE(c.isEnabled(K::opt937));
}

TEST_F(ParameterFiles, LoadThenSaveGivesAnIdenticalFileReservedBytesIncluded)
{
    ParameterControls source;
    source.setText(E::code_sd2, "77");
    source.setText(E::msg3, "a scrolling line");
    source.setChecked(K::rly2key, true);
    source.setChecked(K::GlobalCode, true);
    CaptureParameterFile(source);
    QByteArray image = source.fileRecord().bytes();
    for (int i : {10, 27, 44, 113, 129, 196, 250, 294, 330})
        image[i] = char(0xA5 ^ i);
    image.replace(36 + 2, 3, "zzz"); // behind code_sd2's two characters
    writeAll(path("in.sys"), image);

    ParameterControls c;
    ASSERT_TRUE(load(c, path("in.sys")));
    ASSERT_TRUE(save(c, path("out.sys")));
    EXPECT_EQ(readAll(path("out.sys")), image);
}

TEST_F(ParameterFiles, AnEmptyRelayTwoFieldStopsTheApplyAfterTheTexts)
{
    ParameterControls source;
    source.setText(E::msg0, "set first");
    source.setText(E::spd1, "999");
    CaptureParameterFile(source);
    QByteArray image = source.fileRecord().bytes();
    image[319] = 0;
    image[322 + 5] = 1; // GlobalCode
    writeAll(path("bad.sys"), image);

    ParameterControls c;
    ASSERT_TRUE(LoadParameterFile(c, path("bad.sys"), prompt));
    EXPECT_FALSE(ApplyParameterFile(c, prompt));
    EXPECT_EQ(prompt.messages, QStringList{QStringLiteral("'' is not a valid integer value")});
    EXPECT_EQ(c.text(E::msg0), QByteArray("set first"));
    EXPECT_FALSE(c.isChecked(K::GlobalCode));
    EXPECT_EQ(c.text(E::spd1), QByteArray("36001"));
}

TEST_F(ParameterFiles, ALengthByteBeyondTheCapacityNeverReadsIntoTheNextField)
{
    ParameterControls source;
    source.setText(E::code_g2, "5678");
    CaptureParameterFile(source);
    QByteArray image = source.fileRecord().bytes();
    image[0] = char(200);
    image.replace(1, 4, "1234");
    writeAll(path("odd.sys"), image);
    ParameterControls c;
    ASSERT_TRUE(load(c, path("odd.sys")));
    EXPECT_EQ(c.text(E::code_g1), QByteArray("1234"));
    EXPECT_EQ(c.text(E::code_g2), QByteArray("5678"));
}

TEST_F(ParameterFiles, FilesThatCannotBeOpenedOrCreatedSayWhichAndChangeNothing)
{
    ParameterControls c;
    c.setText(E::msg0, "kept");
    const QString missing = path("nowhere/x.sys");
    EXPECT_FALSE(LoadParameterFile(c, missing, prompt));
    EXPECT_FALSE(SaveParameterFile(c, missing, prompt));
    EXPECT_EQ(prompt.messages,
              (QStringList{QStringLiteral("Cannot open file ") + missing, QStringLiteral("Cannot create file ") + missing}));
    EXPECT_EQ(c.text(E::msg0), QByteArray("kept"));
}

TEST_F(ParameterFiles, SavingReplacesAnExistingFile)
{
    writeAll(path("old.sys"), QByteArray(1000, 'o'));
    ParameterControls c;
    ASSERT_TRUE(save(c, path("old.sys")));
    EXPECT_EQ(readAll(path("old.sys")).size(), 467);
}

TEST_F(ParameterFiles, AnyControlStateRoundTripsThroughTheFile)
{
    QRandomGenerator rng(20240607);
    auto randomText = [&rng](int maxLength) {
        QByteArray t;
        const int n = rng.bounded(maxLength + 1);
        for (int i = 0; i < n; ++i)
            t.append(char(1 + rng.bounded(255))); // any byte but NUL
        return t;
    };
    const K lineTwo[] = {K::RadioButton1, K::opt931, K::opt936};
    const K relay2[] = {K::rly2off, K::rly2key, K::rly2line};

    for (int round = 0; round < 50; ++round) {
        ParameterControls c;
        for (int e = 0; e < ParamEditCount; ++e) {
            // A numeric edit keeps two characters in the file.
            const ParamEditInfo &info = ParameterControlInfo::edit(ParamEdit(e));
            c.setText(ParamEdit(e), randomText(info.numeric ? 2 : info.maxLength));
        }
        for (K k : {K::opt930, K::opt932, K::opt933, K::opt934, K::GlobalCode, K::opt937, K::rly2tim, K::Opt_sw2_1})
            c.setChecked(k, rng.bounded(2) == 1);
        c.setChecked(lineTwo[rng.bounded(3)], true);
        c.setChecked(relay2[rng.bounded(3)], true);

        const QString name = path("round.sys");
        ASSERT_TRUE(save(c, name));
        ParameterControls back;
        ASSERT_TRUE(load(back, name)) << round;
        for (int e = 0; e < ParamEditCount; ++e) {
            if (filed(ParamEdit(e))) {
                ASSERT_EQ(back.text(ParamEdit(e)), c.text(ParamEdit(e))) << round << " edit " << e;
            }
        }
        for (K k : kFiledChecks)
            ASSERT_EQ(back.isChecked(k), c.isChecked(k)) << round << " check " << int(k);
        ASSERT_EQ(back.isChecked(K::RadioButton1), c.isChecked(K::RadioButton1));
        ASSERT_EQ(back.isEnabled(K::rly2tim), c.isEnabled(K::rly2tim));
        ASSERT_EQ(back.isEnabled(K::opt937), c.isEnabled(K::opt937));

        ASSERT_TRUE(save(back, path("again.sys")));
        ASSERT_EQ(readAll(path("again.sys")), readAll(name)) << round;
    }
    EXPECT_TRUE(prompt.messages.isEmpty());
}
