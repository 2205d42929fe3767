#include "table/widgets/ReportPreview.h"

#include "table/widgets/FileDialog.h"

#include <QMessageBox>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace ReportPreview {

void preview(QWidget *parent, const Report &report)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(report.title);
    printer.setPageOrientation(report.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("ReportPreview"));
    dialog.setWindowTitle(QStringLiteral("Print %1").arg(report.title));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&report, &dialog](QPrinter *p) {
        QString error;
        if (!ReportPrinter::print(report, *p, &error))
            QMessageBox::warning(&dialog, dialog.windowTitle(), error);
    });
    dialog.exec();
}

QString savePdf(QWidget *parent, const Report &report, const QString &proposedName)
{
    const QString fileName = FileDialog::choose(
        parent, QFileDialog::AcceptSave,
        {QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"), proposedName, QStringLiteral("Save Report as PDF")});
    if (fileName.isEmpty())
        return {};
    QString error;
    if (!ReportPrinter::writePdf(report, fileName, &error)) {
        QMessageBox::warning(parent, QStringLiteral("Save Report as PDF"), error);
        return {};
    }
    return fileName;
}

} // namespace ReportPreview
