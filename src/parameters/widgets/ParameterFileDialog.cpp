#include "parameters/widgets/ParameterFileDialog.h"

#include "parameters/ParameterPageInfo.h"
#include "table/widgets/FileDialog.h"

namespace ParameterFileDialog {
namespace {
FileDialog::Kind kind()
{
    using namespace ParameterPageInfo;
    return {QStringLiteral("CorvalenParameters(*.sys)"), QString::fromLatin1(kDefaultExtension),
            QString::fromLatin1(kDefaultFileName)};
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

} // namespace ParameterFileDialog
