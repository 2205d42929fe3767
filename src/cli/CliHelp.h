#pragma once

#include <QString>

// The texts of --help: for the program, and for each group of jobs. The
// manual page is made from the program's text, so both say the same.
namespace CliHelp {

// program: the name the command was started as.
QString usage(const QString &program);
QString groupUsage(const QString &program, const QString &group);
QString version(const QString &program);
// The line after a usage error.
QString tryHelp(const QString &program);

} // namespace CliHelp
