#include "table/widgets/FileDialog.h"

namespace FileDialog {

void prepare(QFileDialog &dialog, QFileDialog::AcceptMode mode, const Kind &kind)
{
    const bool opening = mode == QFileDialog::AcceptOpen;
    dialog.setObjectName(opening ? QStringLiteral("OpenDialog") : QStringLiteral("SaveDialog"));
    if (!kind.title.isEmpty())
        dialog.setWindowTitle(kind.title);
    else
        dialog.setWindowTitle(opening ? QStringLiteral("Open") : QStringLiteral("Save As"));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(opening ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters({kind.filter, QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(kind.defaultSuffix);
    dialog.selectFile(kind.proposedName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
}

QString choose(QWidget *parent, QFileDialog::AcceptMode mode, const Kind &kind)
{
    QFileDialog dialog(parent);
    prepare(dialog, mode, kind);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace FileDialog
