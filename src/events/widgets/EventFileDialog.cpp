#include "events/widgets/EventFileDialog.h"

#include "events/EventFile.h"

namespace EventFileDialog {

void prepare(QFileDialog &dialog)
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // "All Files" matches every name here, also those without a dot.
    dialog.setNameFilters({QStringLiteral("CorvalenEvents(*.Evt)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QString::fromLatin1(EventFile::DefaultExtension));
    dialog.selectFile(QString::fromLatin1(EventFile::DefaultName));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
}

QString choose(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Save As"));
    prepare(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace EventFileDialog
