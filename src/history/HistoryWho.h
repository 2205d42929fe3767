#pragma once

#include <QString>

// Who did it: the operating system's user name and the computer's host name,
// as "user@host".
namespace HistoryWho {

QString current();

} // namespace HistoryWho
