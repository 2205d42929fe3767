#include "history/LineDelta.h"

#include <QByteArrayView>
#include <QList>
#include <QtEndian>
#include <vector>

namespace LineDelta {

namespace {

QList<QByteArrayView> splitLines(const QByteArray &text)
{
    QList<QByteArrayView> out;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            break;
        out.append(QByteArrayView(text).sliced(start, end - start));
        start = end + 1;
    }
    out.append(QByteArrayView(text).sliced(start));
    return out;
}

void putU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

bool takeU32(QByteArrayView in, qsizetype &pos, quint32 &value)
{
    if (in.size() - pos < 4)
        return false;
    value = qFromBigEndian<quint32>(in.data() + pos);
    pos += 4;
    return true;
}

class Encoder
{
public:
    explicit Encoder(const QList<QByteArrayView> &target) : target_(target) {}

    void copy(int first, int count)
    {
        if (count <= 0)
            return;
        flushInserts();
        if (copyCount_ > 0 && copyFirst_ + copyCount_ == first) {
            copyCount_ += count;
            return;
        }
        flushCopy();
        copyFirst_ = first;
        copyCount_ = count;
    }
    void insert(int targetLine)
    {
        flushCopy();
        inserts_.push_back(targetLine);
    }
    QByteArray finish()
    {
        flushCopy();
        flushInserts();
        return out_;
    }

private:
    void flushCopy()
    {
        if (copyCount_ == 0)
            return;
        out_.append('C');
        putU32(out_, quint32(copyFirst_));
        putU32(out_, quint32(copyCount_));
        copyCount_ = 0;
    }
    void flushInserts()
    {
        if (inserts_.empty())
            return;
        out_.append('I');
        putU32(out_, quint32(inserts_.size()));
        for (int line : inserts_) {
            putU32(out_, quint32(target_.at(line).size()));
            out_.append(target_.at(line));
        }
        inserts_.clear();
    }

    const QList<QByteArrayView> &target_;
    QByteArray out_;
    int copyFirst_ = 0;
    int copyCount_ = 0;
    std::vector<int> inserts_;
};

// One step of the edit path through the middle part, in base (x) and
// target (y) line numbers relative to the part's start.
struct Step
{
    enum Kind { Same, Delete, Insert } kind;
    int x;
    int y;
};

// Myers' greedy forward search with the trace kept for the way back. The
// steps from (0,0) to (n,m), or none beyond maxEdits edits.
std::optional<std::vector<Step>> shortestEdit(const QList<QByteArrayView> &a, qsizetype aOff, int n,
                                              const QList<QByteArrayView> &b, qsizetype bOff, int m, int maxEdits)
{
    const int limit = std::min(n + m, maxEdits);
    const int offset = limit + 1;
    std::vector<int> v(size_t(2 * limit + 3), 0);
    std::vector<std::vector<int>> trace;
    int found = -1;
    for (int d = 0; d <= limit && found < 0; ++d) {
        trace.push_back(v);
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                                   : v[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a.at(aOff + x) == b.at(bOff + y)) {
                ++x;
                ++y;
            }
            v[offset + k] = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
    }
    if (found < 0)
        return std::nullopt;

    std::vector<Step> back;
    int x = n;
    int y = m;
    for (int d = found; d >= 0; --d) {
        const std::vector<int> &vd = trace[size_t(d)];
        const int k = x - y;
        const int prevK = (k == -d || (k != d && vd[offset + k - 1] < vd[offset + k + 1])) ? k + 1 : k - 1;
        const int prevX = d == 0 ? 0 : vd[offset + prevK];
        const int prevY = prevX - prevK;
        while (x > prevX && y > prevY) {
            --x;
            --y;
            back.push_back({Step::Same, x, y});
        }
        if (d > 0)
            back.push_back(x == prevX ? Step{Step::Insert, prevX, prevY} : Step{Step::Delete, prevX, prevY});
        x = prevX;
        y = prevY;
    }
    return std::vector<Step>(back.rbegin(), back.rend());
}

} // namespace

std::optional<QByteArray> make(const QByteArray &base, const QByteArray &target, int maxEdits)
{
    const QList<QByteArrayView> a = splitLines(base);
    const QList<QByteArrayView> b = splitLines(target);
    int prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a.at(prefix) == b.at(prefix))
        ++prefix;
    int suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix
           && a.at(a.size() - 1 - suffix) == b.at(b.size() - 1 - suffix))
        ++suffix;
    const int n = int(a.size()) - prefix - suffix;
    const int m = int(b.size()) - prefix - suffix;
    const std::optional<std::vector<Step>> steps = shortestEdit(a, prefix, n, b, prefix, m, maxEdits);
    if (!steps)
        return std::nullopt;

    Encoder out(b);
    out.copy(0, prefix);
    for (const Step &s : *steps) {
        if (s.kind == Step::Same)
            out.copy(prefix + s.x, 1);
        else if (s.kind == Step::Insert)
            out.insert(prefix + s.y);
    }
    out.copy(int(a.size()) - suffix, suffix);
    return out.finish();
}

std::optional<QByteArray> apply(const QByteArray &base, const QByteArray &delta)
{
    const QList<QByteArrayView> lines = splitLines(base);
    QByteArray out;
    out.reserve(base.size() + delta.size());
    bool first = true;
    const auto append = [&](QByteArrayView line) {
        if (!first)
            out.append('\n');
        out.append(line);
        first = false;
    };
    const QByteArrayView in(delta);
    qsizetype pos = 0;
    while (pos < in.size()) {
        const char op = in.at(pos++);
        quint32 a = 0;
        quint32 b = 0;
        if (op == 'C') {
            if (!takeU32(in, pos, a) || !takeU32(in, pos, b) || b == 0 || a > quint32(lines.size())
                || b > quint32(lines.size()) - a)
                return std::nullopt;
            for (quint32 i = a; i < a + b; ++i)
                append(lines.at(i));
        } else if (op == 'I') {
            if (!takeU32(in, pos, a) || a == 0)
                return std::nullopt;
            for (quint32 i = 0; i < a; ++i) {
                if (!takeU32(in, pos, b) || b > quint64(in.size() - pos))
                    return std::nullopt;
                append(in.sliced(pos, b));
                pos += b;
            }
        } else {
            return std::nullopt;
        }
    }
    if (first)
        return std::nullopt; // every text has at least one (possibly empty) line
    return out;
}

} // namespace LineDelta
