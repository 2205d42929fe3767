#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class CommandExchange;

// What a write that erases will put on the panel, as the one who keeps the
// panel's present content sees it: which of the panel's three contents it
// replaces, how to read that content whole, how to keep it in files and
// what the write changes. Each domain describes its own content; the code
// that keeps backups knows only this.
class PanelContent
{
public:
    enum class Kind { Directory, Parameters, Tags };

    // One file of what is kept, in the program's own formats.
    struct File
    {
        QString suffix; // without the dot
        QByteArray bytes;
    };
    // The panel's content as it is now, read whole.
    struct Held
    {
        QList<File> files; // the first one stands for the rest
        int count = 0;     // residents, records or tags
        QString changes;   // what the write changes, for the question's details
    };

    virtual ~PanelContent() = default;

    virtual Kind kind() const = 0;
    // How messages name the content: "phone list", "parameters", "RFID codes".
    virtual QString what() const = 0;
    // Reads what the panel holds now and compares it with what will be
    // written; none, with the reason, when the reply was not whole.
    virtual std::optional<Held> readHeld(CommandExchange &link, QString *why) const = 0;
};
