#include "parameters/widgets/ParameterFileDialog.h"

#include "parameters/ParameterPageInfo.h"

#include <QStringList>

namespace ParameterFileDialog {

void prepare(QFileDialog &dialog, QFileDialog::AcceptMode mode)
{
    using namespace ParameterPageInfo;
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // "All Files" matches every name here, also those without a dot.
    dialog.setNameFilters({QStringLiteral("CorvalenParameters(*.sys)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QString::fromLatin1(kDefaultExtension));
    dialog.selectFile(QString::fromLatin1(kDefaultFileName));
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

} // namespace ParameterFileDialog
