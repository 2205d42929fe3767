#include "table/widgets/SpreadsheetDialog.h"

#include "table/widgets/FileDialog.h"

namespace SpreadsheetDialog {
namespace {
FileDialog::Kind kind(const QString &proposedName)
{
    return {kCsvFilter, QStringLiteral("csv"), proposedName, QStringLiteral("Export for spreadsheet")};
}

// A name typed without an ending gets the chosen form's. (The dialog itself
// swaps the ending of a typed name for the chosen filter's.)
void followFilter(QFileDialog &dialog, const QString &filter)
{
    if (filter == kWorkbookFilter)
        dialog.setDefaultSuffix(QStringLiteral("xlsx"));
    else if (filter == kCsvFilter)
        dialog.setDefaultSuffix(QStringLiteral("csv"));
}
} // namespace

void prepare(QFileDialog &dialog, const QString &proposedName)
{
    FileDialog::prepare(dialog, QFileDialog::AcceptSave, kind(proposedName));
    QStringList filters = dialog.nameFilters();
    filters.insert(1, kWorkbookFilter);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(kCsvFilter);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &filter) { followFilter(dialog, filter); });
}

QString choose(QWidget *parent, const QString &proposedName)
{
    QFileDialog dialog(parent);
    prepare(dialog, proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace SpreadsheetDialog
