#pragma once

#include <QString>

// The folder whose history and event archive a run of corvalen-cli reads
// and adds to: the working folder, as the window's without a site.
namespace CliFolder {

QString records();

} // namespace CliFolder
