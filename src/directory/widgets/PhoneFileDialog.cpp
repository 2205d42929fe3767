#include "directory/widgets/PhoneFileDialog.h"

#include "directory/PhoneListFile.h"

namespace PhoneFileDialog {

void prepare(QFileDialog &dialog, QFileDialog::AcceptMode mode)
{
    dialog.setObjectName(mode == QFileDialog::AcceptOpen ? QStringLiteral("OpenDialog")
                                                         : QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // "All Files" matches every name here, also those without a dot.
    dialog.setNameFilters({QStringLiteral("Corvalen (*.csv)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(QLatin1String(PhoneListFile::kDefaultName));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
}

QString choose(QWidget *parent, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    prepare(dialog, mode);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace PhoneFileDialog
