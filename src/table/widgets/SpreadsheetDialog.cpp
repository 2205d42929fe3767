#include "table/widgets/SpreadsheetDialog.h"

#include "table/widgets/FileDialog.h"

namespace SpreadsheetDialog {
namespace {
FileDialog::Kind kind(const QString &proposedName)
{
    return {QStringLiteral("Spreadsheet (*.csv)"), QStringLiteral("csv"), proposedName,
            QStringLiteral("Export for spreadsheet")};
}
} // namespace

void prepare(QFileDialog &dialog, const QString &proposedName)
{
    FileDialog::prepare(dialog, QFileDialog::AcceptSave, kind(proposedName));
}

QString choose(QWidget *parent, const QString &proposedName)
{
    return FileDialog::choose(parent, QFileDialog::AcceptSave, kind(proposedName));
}

} // namespace SpreadsheetDialog
