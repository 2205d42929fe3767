#pragma once

#include "cli/CliCommand.h"

#include <QString>
#include <QStringList>

// The options of the commands over the folder's records and of the printed
// lists:
//
//   --kind K            history: directory, parameters or tags;
//                       events query: room, InCall, Butt. or error
//   --from DATE, --to DATE, --room TEXT, --source S   events query
//   --csv FILE          events query: the selection as a spreadsheet list
//   --pdf FILE          events query, directory print, parameters print
//   --with-phones       directory print: the telephone numbers too
//   --with-codes        directory print: Code1 and Code2; parameters print:
//                       the gate codes
//   --from-panel        print what the panel holds instead of a file
struct CliRecordOptions
{
    QString kind;
    QString from;
    QString to;
    QString room;
    QString source;
    QString csv;
    QString pdf;
    bool withPhones = false;
    bool withCodes = false;
    bool fromPanel = false;

    // Takes the option at args[i] (and its value); false when it is none of
    // these. *error says what is wrong with one that is.
    bool take(const QStringList &args, qsizetype &i, QString *error);
    // What is wrong with these options for the command; empty when nothing.
    QString check(const CliCommand &command, const QStringList &operands) const;
};
