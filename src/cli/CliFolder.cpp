#include "cli/CliFolder.h"

#include <QDir>

namespace CliFolder {

QString records()
{
    return QDir::currentPath();
}

} // namespace CliFolder
