#include "directory/widgets/PhoneFileDialog.h"

#include "directory/PhoneListFile.h"
#include "table/widgets/FileDialog.h"

namespace PhoneFileDialog {
namespace {
FileDialog::Kind kind()
{
    return {QStringLiteral("Corvalen (*.csv)"), QStringLiteral("csv"), QLatin1String(PhoneListFile::kDefaultName)};
}
} // namespace

void prepare(QFileDialog &dialog, QFileDialog::AcceptMode mode)
{
    FileDialog::prepare(dialog, mode, kind());
}

QString choose(QWidget *parent, QFileDialog::AcceptMode mode)
{
    return FileDialog::choose(parent, mode, kind());
}

} // namespace PhoneFileDialog
