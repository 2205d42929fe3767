#include "sites/SiteBookFormat.h"

#include "sites/SiteAddress.h"
#include "sites/SiteFolders.h"

#include <QDir>
#include <QHash>
#include <QStringTokenizer>
#include <array>
#include <algorithm>
#include <QSet>
#include <QStringDecoder>

namespace SiteBookFormat {

namespace {

// The keys, in the order a block is written.
enum Key {
    Id, Name, Address, Notes, Folder, Pin, PinFilePath, Model, LastContact, LastOpened, LastBackup, BackupResult,
    BackupMessage, KeyCount
};
const QStringList kKeys = {
    QStringLiteral("id"),           QStringLiteral("name"),          QStringLiteral("address"),
    QStringLiteral("notes"),        QStringLiteral("folder"),        QStringLiteral("pin"),
    QStringLiteral("pin-file"),     QStringLiteral("model"),         QStringLiteral("last-contact"),
    QStringLiteral("last-opened"),  QStringLiteral("last-backup"),   QStringLiteral("backup-result"),
    QStringLiteral("backup-message")};

const char kHeader[] =
    "# Corvalen-Pro site book: a [site] block for each site, a \"key = value\" a line.\n"
    "# Keys: id, name, address, notes, folder, pin (keyring, file or none), pin-file,\n"
    "# model, last-contact, last-opened, last-backup, backup-result (ok or failed),\n"
    "# backup-message. In a value \\n stands for a line break and \\\\ for a backslash;\n"
    "# times are UTC. A mistake is reported with its line, and the program does not\n"
    "# save over a book that has one. Comments other than these are not kept.\n";

// One [site] block while it is read.
struct Block
{
    int line = 0;
    Site site;
    std::array<int, KeyCount> keyLines{}; // the line each key was on, 0 when none
};

class Reader
{
public:
    explicit Reader(QString sitesFolder)
        : sitesFolder_(std::move(sitesFolder))
    {
    }

    Parsed run(const QByteArray &bytes);

private:
    void line(int number, const QString &text);
    void setting(int number, Key key, const QString &value);
    void finishBlock();
    void mistake(int line, const QString &text) { parsed_.mistakes.append({line, text}); }

    QString sitesFolder_;
    Parsed parsed_;
    std::optional<Block> block_;
    bool unknownBlock_ = false; // inside a block already reported as unknown
    QHash<QString, int> nameLines_; // name key -> line
    QHash<QUuid, int> idLines_;
    QHash<QString, int> folderLines_;
};

Parsed Reader::run(const QByteArray &bytes)
{
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    // Usually the whole book is good UTF-8 and is decoded at once; otherwise
    // line by line, to name the lines that are not.
    QStringDecoder whole(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = whole.decode(rest);
    if (!whole.hasError()) {
        int number = 0;
        for (QStringView lineText : QStringTokenizer(text, u'\n')) {
            ++number;
            if (lineText.endsWith(u'\r'))
                lineText.chop(1);
            line(number, lineText.toString());
        }
    } else {
        int number = 0;
        for (QByteArrayView raw : QByteArrayView(rest).toByteArray().split('\n')) {
            ++number;
            if (raw.endsWith('\r'))
                raw.chop(1);
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString decoded = utf8.decode(raw);
            if (!utf8.hasError()) {
                line(number, decoded);
            } else { // read on, so that this is the one mistake reported for it
                mistake(number, QStringLiteral("this line is not UTF-8 text (save the book as UTF-8)"));
                line(number, QString::fromLatin1(raw));
            }
        }
    }
    finishBlock();

    // Folders for blocks that had none, apart from every folder named.
    QStringList taken;
    for (const Site &site : std::as_const(parsed_.sites))
        if (!site.folder.isEmpty())
            taken << site.folder;
    for (Site &site : parsed_.sites) {
        if (site.id.isNull()) {
            site.id = QUuid::createUuid();
            parsed_.completed = true;
        }
        if (site.folder.isEmpty()) {
            site.folder = SiteFolders::newFolder(sitesFolder_, site.name, taken);
            taken << site.folder;
            parsed_.completed = true;
        }
    }
    std::stable_sort(parsed_.mistakes.begin(), parsed_.mistakes.end(),
              [](const Mistake &a, const Mistake &b) { return a.line < b.line; });
    return parsed_;
}

void Reader::line(int number, const QString &raw)
{
    const QString text = raw.trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
        return;
    if (text.startsWith(QLatin1Char('['))) {
        finishBlock();
        unknownBlock_ = text.compare(QLatin1String("[site]"), Qt::CaseInsensitive) != 0;
        if (unknownBlock_) {
            mistake(number, QStringLiteral("\"%1\" is not a block the book knows; a site starts with [site]").arg(text));
            return;
        }
        block_ = Block{number, {}, {}};
        return;
    }
    if (unknownBlock_) // its lines belong to the mistake already reported
        return;
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0) {
        mistake(number, QStringLiteral("\"%1\" is not a setting: write key = value").arg(text));
        return;
    }
    const QString keyText = text.left(equals).trimmed().toLower();
    const QString value = text.mid(equals + 1).trimmed();
    const qsizetype keyIndex = kKeys.indexOf(keyText);
    if (keyIndex < 0) {
        mistake(number,
                QStringLiteral("unknown key \"%1\" (the keys are %2)").arg(keyText, kKeys.join(QStringLiteral(", "))));
        return;
    }
    const Key key = Key(keyIndex);
    if (!block_) {
        mistake(number, QStringLiteral("\"%1\" stands before the first [site]").arg(keyText));
        return;
    }
    if (const int seen = block_->keyLines[key]) {
        mistake(number, QStringLiteral("\"%1\" is given twice for this site (also on line %2)").arg(keyText).arg(seen));
        return;
    }
    block_->keyLines[key] = number;
    setting(number, key, unescaped(value));
}

void Reader::setting(int number, Key key, const QString &value)
{
    Site &site = block_->site;
    QString error;
    QDateTime when;
    switch (key) {
    case Id:
        site.id = QUuid::fromString(value);
        if (site.id.isNull())
            mistake(number, QStringLiteral("\"%1\" is not an id (such as 0b9c4e0e-3f4b-4d1e-9a55-6d3b0f1c2a77)").arg(value));
        break;
    case Name:
        site.name = SiteText::cleanName(value);
        break;
    case Address:
        if (const std::optional<QString> address = SiteAddress::normalised(value, &error))
            site.address = *address;
        else
            mistake(number, QStringLiteral("bad address: %1").arg(error));
        break;
    case Notes:
        site.notes = value;
        break;
    case Folder:
        if (!value.isEmpty() && !QDir::isAbsolutePath(value))
            mistake(number, QStringLiteral("the folder \"%1\" is not a full path (starting with /)").arg(value));
        site.folder = value.isEmpty() ? QString() : QDir::cleanPath(value);
        break;
    case Pin:
        if (!SiteText::pinKeepingFromWord(value, &site.pinKeeping))
            mistake(number, QStringLiteral("pin is \"%1\"; write keyring, file or none").arg(value));
        break;
    case PinFilePath:
        if (!value.isEmpty() && !QDir::isAbsolutePath(value))
            mistake(number, QStringLiteral("the PIN file \"%1\" is not a full path (starting with /)").arg(value));
        site.pinFile = value.isEmpty() ? QString() : QDir::cleanPath(value);
        break;
    case Model:
        site.model = value;
        break;
    case BackupResult:
        if (!SiteText::backupResultFromWord(value, &site.backupResult))
            mistake(number, QStringLiteral("backup-result is \"%1\"; write ok or failed").arg(value));
        break;
    case BackupMessage:
        site.backupMessage = value;
        break;
    case LastContact:
    case LastOpened:
    case LastBackup:
        if (!SiteText::timeFromText(value, &when))
            mistake(number, QStringLiteral("%1 is \"%2\", not a time such as 2024-05-02T02:00:04Z")
                                .arg(kKeys.at(key), value));
        else
            (key == LastContact ? site.lastContact : key == LastOpened ? site.lastOpened : site.lastBackup) = when;
        break;
    case KeyCount:
        break;
    }
}

void Reader::finishBlock()
{
    if (!block_)
        return;
    Block block = std::move(*block_);
    block_.reset();
    const Site &site = block.site;
    if (site.name.isEmpty()) {
        const int at = block.keyLines[Name] ? block.keyLines[Name] : block.line;
        mistake(at, QStringLiteral("the site that starts on line %1 has no name").arg(block.line));
    } else {
        const QString key = SiteText::nameKey(site.name);
        const int at = block.keyLines[Name];
        if (const auto other = nameLines_.constFind(key); other != nameLines_.cend())
            mistake(at, QStringLiteral("the name \"%1\" is already used by the site on line %2 (names must differ, "
                                       "also when upper and lower case are ignored)")
                            .arg(site.name)
                            .arg(*other));
        else
            nameLines_.insert(key, block.line);
    }
    if (!block.keyLines[Address])
        mistake(block.line, QStringLiteral("the site that starts on line %1 has no address").arg(block.line));
    if (!site.id.isNull()) {
        const int at = block.keyLines[Id];
        if (const auto other = idLines_.constFind(site.id); other != idLines_.cend())
            mistake(at, QStringLiteral("the id is already used by the site on line %1 (a copied block? remove "
                                       "this id line and the program gives the site a new one)")
                            .arg(*other));
        else
            idLines_.insert(site.id, block.line);
    }
    if (!site.folder.isEmpty()) {
        // Two sites in one folder would share their files and backups.
        const int at = block.keyLines[Folder];
        if (const auto other = folderLines_.constFind(site.folder); other != folderLines_.cend())
            mistake(at, QStringLiteral("the folder is already the folder of the site on line %1; each site needs "
                                       "a folder of its own")
                            .arg(*other));
        else
            folderLines_.insert(site.folder, block.line);
    }
    parsed_.sites.append(site);
}

void addLine(QByteArray &out, const char *key, const QString &value, bool always = false)
{
    if (value.isEmpty() && !always)
        return;
    out += key;
    out += " = ";
    out += escaped(value).toUtf8();
    out += '\n';
}

} // namespace

Parsed parse(const QByteArray &bytes, const QString &sitesFolder)
{
    return Reader(sitesFolder).run(bytes);
}

QByteArray format(const QList<Site> &sites)
{
    QByteArray out(kHeader);
    for (const Site &site : sites) {
        out += "\n[site]\n";
        addLine(out, "id", site.id.toString(QUuid::WithoutBraces), true);
        addLine(out, "name", site.name, true);
        addLine(out, "address", site.address, true);
        addLine(out, "notes", site.notes);
        addLine(out, "folder", site.folder, true);
        addLine(out, "pin", SiteText::pinKeepingWord(site.pinKeeping), true);
        addLine(out, "pin-file", site.pinFile);
        addLine(out, "model", site.model);
        addLine(out, "last-contact", SiteText::timeText(site.lastContact));
        addLine(out, "last-opened", SiteText::timeText(site.lastOpened));
        addLine(out, "last-backup", SiteText::timeText(site.lastBackup));
        addLine(out, "backup-result", SiteText::backupResultWord(site.backupResult));
        addLine(out, "backup-message", site.backupMessage);
    }
    return out;
}

QString describe(const QList<Mistake> &mistakes, int maxLines)
{
    QStringList lines;
    for (const Mistake &m : mistakes) {
        if (lines.size() == maxLines) {
            lines << QStringLiteral("... and %1 more").arg(mistakes.size() - maxLines);
            break;
        }
        lines << QStringLiteral("line %1: %2").arg(m.line).arg(m.text);
    }
    return lines.join(QLatin1Char('\n'));
}

QString escaped(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        // Blanks at either end would be trimmed away when read.
        else if (c == QLatin1Char(' ') && (i == 0 || i == value.size() - 1))
            out += QLatin1String("\\s");
        else if ((c.isSpace() && (i == 0 || i == value.size() - 1)) || c.category() == QChar::Other_Control)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString unescaped(const QString &value)
{
    if (!value.contains(QLatin1Char('\\')))
        return value;
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(i + 1);
        // \xHH and \uHHHH: exactly that many hexadecimal digits.
        const int digits = next == QLatin1Char('x') ? 2 : next == QLatin1Char('u') ? 4 : 0;
        const QString hexText = value.mid(i + 2, digits);
        bool hexOk = digits > 0 && hexText.size() == digits;
        for (QChar h : hexText) {
            const char16_t u = h.unicode();
            hexOk = hexOk && ((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F'));
        }
        const uint hex = hexOk ? hexText.toUInt(nullptr, 16) : 0;
        hexOk = hexOk && !QChar::isSurrogate(hex); // half a character is no character
        if (next == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (next == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (next == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (hexOk) {
            out += QChar(char16_t(hex));
            i += digits;
        } else { // not an escape: the backslash stands for itself (C:\temp)
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}

} // namespace SiteBookFormat
