// Line deltas: any text rebuilt byte for byte from its base, small deltas for
// small changes, refusal beyond the edit limit, and malformed deltas refused
// rather than applied.
#include "history/LineDelta.h"

#include <QList>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QByteArray randomLine(QRandomGenerator &random)
{
    QByteArray line;
    const int size = random.bounded(12);
    for (int i = 0; i < size; ++i)
        line.append(char(random.bounded(256)));
    return line.replace('\n', 'n');
}

void expectRoundTrip(const QByteArray &base, const QByteArray &target)
{
    const std::optional<QByteArray> delta = LineDelta::make(base, target, 1000);
    ASSERT_TRUE(delta);
    const std::optional<QByteArray> rebuilt = LineDelta::apply(base, *delta);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(*rebuilt, target);
}

} // namespace

TEST(LineDeltas, RebuildEveryTextExactly)
{
    expectRoundTrip("", "");
    expectRoundTrip("", "a\r\nb\r\n");
    expectRoundTrip("a\r\nb\r\n", "");
    expectRoundTrip("a\nb", "a\nb\n");        // a last line end appears
    expectRoundTrip("a\nb\n", "a\nb");        // and goes
    expectRoundTrip("\n\n\n", "\n");
    expectRoundTrip("x\ny\nz", "z\ny\nx");
    expectRoundTrip(QByteArray("a\0b\nc", 5), QByteArray("a\0c\nc\xff", 6));

    QRandomGenerator random(7);
    for (int round = 0; round < 300; ++round) {
        QList<QByteArray> lines;
        for (int i = random.bounded(40); i > 0; --i)
            lines.append(randomLine(random));
        QList<QByteArray> edited = lines;
        for (int e = random.bounded(8); e > 0; --e) {
            const int at = edited.isEmpty() ? 0 : random.bounded(int(edited.size()));
            switch (random.bounded(3)) {
            case 0: edited.insert(at, randomLine(random)); break;
            case 1: if (!edited.isEmpty()) edited.removeAt(at); break;
            default: if (!edited.isEmpty()) edited[at] = lines.value(random.bounded(int(lines.size()) + 1)); break;
            }
        }
        expectRoundTrip(lines.join('\n'), edited.join('\n'));
    }
}

TEST(LineDeltas, AreSmallForSmallChangesAndRefusedBeyondTheLimit)
{
    QList<QByteArray> lines;
    for (int i = 0; i < 1000; ++i)
        lines.append("Resident " + QByteArray::number(i) + ",101,02110000,1234,,,,1000");
    const QByteArray base = lines.join("\r\n");
    lines[10] = "Someone else,101,02119999,1234,,,,1140";
    lines.removeAt(500);
    lines.insert(900, "New resident,999,0,,,,,1FE0");
    const std::optional<QByteArray> delta = LineDelta::make(base, lines.join("\r\n"), 100);
    ASSERT_TRUE(delta);
    EXPECT_LT(delta->size(), 200);

    QList<QByteArray> other;
    for (int i = 0; i < 1000; ++i)
        other.append("Other " + QByteArray::number(i));
    EXPECT_FALSE(LineDelta::make(base, other.join("\r\n"), 100));
}

TEST(LineDeltas, AMalformedDeltaIsRefusedNotApplied)
{
    const QByteArray base = "a\nb\nc";
    const std::optional<QByteArray> delta = LineDelta::make(base, "a\nX\nc", 10);
    ASSERT_TRUE(delta);
    for (qsizetype cut = 0; cut < delta->size(); ++cut) {
        const std::optional<QByteArray> partial = LineDelta::apply(base, delta->left(cut));
        // A shorter delta may be a whole one by itself, but never reads
        // beyond what it holds.
        if (partial) {
            EXPECT_NE(*partial, QByteArray("a\nX\nc"));
        }
    }
    const QByteArray beyond = QByteArray("C") + QByteArray("\0\0\0\2\0\0\0\2", 8); // lines 2-3 of a 3-line base
    EXPECT_FALSE(LineDelta::apply(base, beyond));
    const QByteArray huge = QByteArray("I") + QByteArray("\0\0\0\1\x7f\xff\xff\xff", 8) + "x";
    EXPECT_FALSE(LineDelta::apply(base, huge));
    EXPECT_FALSE(LineDelta::apply(base, "Z"));
    EXPECT_FALSE(LineDelta::apply(base, QByteArray()));
}
