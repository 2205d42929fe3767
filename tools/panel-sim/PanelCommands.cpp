#include "PanelCommands.h"

#include "PanelLines.h"

#include <optional>

namespace {
using PanelLines::kCrLf;

// Four decimal digits at the start of text.
std::optional<int> recordAt(const QByteArray &text, qsizetype at = 0)
{
    if (text.size() < at + 4)
        return std::nullopt;
    int value = 0;
    for (qsizetype i = at; i < at + 4; ++i) {
        const char c = text.at(i);
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A changed read-back: the first byte is replaced by another visible one
// (an empty record gains one).
QByteArray altered(QByteArray content)
{
    if (content.isEmpty())
        return "#";
    content[0] = content.at(0) == '#' ? '*' : '#';
    return content;
}
} // namespace

PanelReply PanelCommands::echoOk(const QByteArray &firstLine)
{
    return {firstLine + kCrLf, true, 0};
}

PanelReply PanelCommands::error()
{
    return {QByteArray("Error") + kCrLf, false, 0};
}

PanelReply PanelCommands::run(const QByteArray &command)
{
    const char word = command.isEmpty() ? '\0' : command.at(0);
    const QByteArray args = command.mid(1);
    switch (word) {
    case 'r':
        return read(args);
    case 'w':
    case 'b':
        return writeDirectory(word, args);
    case 'p':
        return program(args);
    case 'g':
        return store(args);
    case 'd':
        return dump(args);
    case 's':
        return dumpStore(args);
    case 't':
        return clock(args);
    }
    if (command == "f5a") {
        memory_.eraseDirectory();
        return echoOk(command);
    }
    if (command == "c1418") {
        memory_.eraseRfid();
        return echoOk(command);
    }
    if (command == "e")
        return events();
    if (command == "u")
        return echoOk(command);
    return error();
}

PanelReply PanelCommands::read(const QByteArray &args)
{
    const std::optional<int> record = recordAt(args);
    if (!record || args.size() != 4 || !memory_.exists(*record))
        return error();
    QByteArray content = memory_.record(*record);
    if (faults_.badReadback > 0) {
        --faults_.badReadback;
        content = altered(content);
    }
    return echoOk("r" + args + content);
}

PanelReply PanelCommands::writeDirectory(char word, const QByteArray &args)
{
    const std::optional<int> record = recordAt(args);
    if (!record || memory_.area(*record) != PanelMemory::Area::Directory)
        return error();
    if (faults_.errorW > 0) {
        --faults_.errorW;
        return error();
    }
    memory_.setRecord(*record, args.mid(4));
    return echoOk(word + args.left(4));
}

PanelReply PanelCommands::program(const QByteArray &args)
{
    const std::optional<int> record = recordAt(args);
    if (!record)
        return error();
    const PanelMemory::Area area = memory_.area(*record);
    if (area != PanelMemory::Area::Parameter && area != PanelMemory::Area::Rfid)
        return error();
    if (faults_.errorP > 0) {
        --faults_.errorP;
        // Refused: a parameter record answers "Error" at once; an RFID
        // record first echoes the command, as "g" does.
        if (area == PanelMemory::Area::Rfid)
            return {"p" + args.left(4) + kCrLf + "Error" + kCrLf, false, 0};
        return error();
    }
    memory_.setRecord(*record, args.mid(4));
    return echoOk("p" + args.left(4));
}

PanelReply PanelCommands::store(const QByteArray &args)
{
    const std::optional<int> record = recordAt(args);
    const QByteArray echo = "g" + args.left(4) + kCrLf;
    if (!record || memory_.area(*record) != PanelMemory::Area::Rfid)
        return {echo + "Error" + kCrLf, false, 0};
    if (faults_.errorG > 0) {
        --faults_.errorG;
        return {echo + "Error" + kCrLf, false, 0};
    }
    memory_.setRecord(*record, args.mid(4));
    return {echo, true, 0};
}

PanelReply PanelCommands::dump(const QByteArray &args)
{
    const std::optional<int> first = recordAt(args), last = recordAt(args, 4);
    if (!first || !last || args.size() != 8 || *first > *last)
        return error();
    QByteArray text = "d" + args + kCrLf;
    if (faults_.noRecords)
        return {text, true, 0};
    for (int r = *first; r <= *last; ++r) {
        const PanelMemory::Area area = memory_.area(r);
        if (area == PanelMemory::Area::None)
            continue;
        const QByteArray content = memory_.record(r);
        text += PanelLines::readLine(r, area == PanelMemory::Area::Directory && !content.isEmpty()
                                            ? PanelLines::directoryContent(content)
                                            : content);
        text += kCrLf;
    }
    return {text, true, 0};
}

PanelReply PanelCommands::dumpStore(const QByteArray &args)
{
    const std::optional<int> first = recordAt(args), last = recordAt(args, 4);
    if (!first || !last || args.size() != 8 || *first > *last)
        return error();
    QByteArray text = "s" + args + kCrLf;
    if (faults_.noRecords)
        return {text, true, 0};
    for (int r = qMax(*first, int(PanelMemory::kFirstRfid)); r <= qMin(*last, int(PanelMemory::kLastRfid)); ++r)
        text += PanelLines::storeLine(r, memory_.record(r)) + kCrLf;
    return {text, true, 0};
}

PanelReply PanelCommands::clock(const QByteArray &args)
{
    if (args.isEmpty())
        return {QByteArray("t") + kCrLf + PanelLines::clockLine(clock_.now()) + kCrLf, true, 0};
    if (!clock_.setFromDigits(args))
        return error();
    return echoOk("t");
}

PanelReply PanelCommands::events()
{
    QByteArray text = QByteArray("e") + kCrLf;
    int number = 0;
    for (const PanelEvent &event : memory_.events())
        text += PanelLines::eventLine(++number, event) + kCrLf;
    return {text, true, 0};
}
