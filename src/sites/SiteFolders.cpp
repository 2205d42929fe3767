#include "sites/SiteFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

namespace SiteFolders {

QString defaultBase()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).filePath(QStringLiteral("Corvalen-Pro/sites"));
}

namespace {
bool refused(QChar c)
{
    static const QString kRefused = QStringLiteral("/\\:*?\"<>|");
    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
           || c == QChar::LineSeparator || c == QChar::ParagraphSeparator || kRefused.contains(c);
}

bool reservedOnWindows(const QString &name)
{
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QSet<QString> kReserved = {
        QStringLiteral("CON"),  QStringLiteral("PRN"),  QStringLiteral("AUX"),  QStringLiteral("NUL"),
        QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4"),
        QStringLiteral("COM5"), QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3"),
        QStringLiteral("LPT4"), QStringLiteral("LPT5"), QStringLiteral("LPT6"), QStringLiteral("LPT7"),
        QStringLiteral("LPT8"), QStringLiteral("LPT9")};
    return kReserved.contains(stem);
}

// Cuts the name to at most maxBytes of UTF-8 without splitting a character.
QString cutToBytes(const QString &name, int maxBytes)
{
    QString out;
    int bytes = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const qsizetype width = name.at(i).isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        const QString piece = name.mid(i, width);
        const int pieceBytes = int(piece.toUtf8().size());
        if (bytes + pieceBytes > maxBytes)
            break;
        out += piece;
        bytes += pieceBytes;
        i += width - 1;
    }
    return out;
}

QString trimmedEnds(QString name)
{
    while (!name.isEmpty() && (name.front() == QLatin1Char('.') || name.front().isSpace()))
        name.remove(0, 1);
    while (!name.isEmpty() && (name.back() == QLatin1Char('.') || name.back().isSpace()))
        name.chop(1);
    return name;
}
} // namespace

QString safeName(const QString &siteName)
{
    QString name;
    name.reserve(siteName.size());
    for (QChar c : siteName)
        name += refused(c) ? QChar(c.isSpace() || c.category() == QChar::Other_Control ? u' ' : u'-') : c;
    name = trimmedEnds(name.simplified());
    name = trimmedEnds(cutToBytes(name, kMaxBytes));
    if (name.isEmpty())
        return QStringLiteral("site");
    if (reservedOnWindows(name))
        name.prepend(QLatin1Char('_'));
    return name;
}

QString newFolder(const QString &base, const QString &siteName, const QStringList &taken)
{
    QSet<QString> used;
    for (const QString &folder : taken)
        used.insert(QDir::cleanPath(folder).toCaseFolded());
    const QDir dir(base);
    for (const QString &entry : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        used.insert(QDir::cleanPath(dir.filePath(entry)).toCaseFolded());

    const QString stem = safeName(siteName);
    QString candidate = QDir::cleanPath(dir.filePath(stem));
    for (int n = 2; used.contains(candidate.toCaseFolded()); ++n)
        candidate = QDir::cleanPath(dir.filePath(QStringLiteral("%1 (%2)").arg(stem).arg(n)));
    return candidate;
}

} // namespace SiteFolders
