#include "events/widgets/EventFileDialog.h"

#include "events/EventFile.h"
#include "table/widgets/FileDialog.h"

namespace EventFileDialog {
namespace {
FileDialog::Kind kind()
{
    return {QStringLiteral("CorvalenEvents(*.Evt)"), QString::fromLatin1(EventFile::DefaultExtension),
            QString::fromLatin1(EventFile::DefaultName)};
}
} // namespace

void prepare(QFileDialog &dialog)
{
    FileDialog::prepare(dialog, QFileDialog::AcceptSave, kind());
}

QString choose(QWidget *parent)
{
    return FileDialog::choose(parent, QFileDialog::AcceptSave, kind());
}

} // namespace EventFileDialog
