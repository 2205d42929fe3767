#include "app/widgets/FramePrinting.h"

#include "app/widgets/FrameActions.h"
#include "app/widgets/FramePages.h"
#include "app/widgets/FrameRecords.h"
#include "archive/widgets/ArchiveView.h"
#include "directory/PhoneListReport.h"
#include "parameters/ParameterSheet.h"
#include "parameters/widgets/SystemPage.h"
#include "table/widgets/PrintChoicesDialog.h"
#include "table/widgets/ReportPreview.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTabWidget>

FramePrinting::FramePrinting(DirectoryContext &ctx, FramePages &pages, FrameRecords &records, FrameActions &actions, QWidget *window)
    : QObject(window)
    , ctx_(ctx)
    , pages_(pages)
    , records_(records)
    , actions_(actions)
    , window_(window)
{
}

void FramePrinting::enable()
{
    if (enabled_)
        return;
    enabled_ = true;
    auto *menu = new QMenu(QStringLiteral("&Print"), window_);
    menu->setObjectName(QStringLiteral("PrintMenu"));
    const auto add = [&](const QString &caption, const char *name, const QString &tip, void (FramePrinting::*run)()) {
        QAction *item = menu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        item->setStatusTip(tip);
        connect(item, &QAction::triggered, this, run);
    };
    add(QStringLiteral("&Residents List..."), "PrintResidents",
        QStringLiteral("The phone list for the notice board: names and rooms"), &FramePrinting::printResidentsList);
    add(QStringLiteral("&Parameter Sheet..."), "PrintParameters",
        QStringLiteral("The parameter page's settings on paper"), &FramePrinting::printParameterSheet);
    add(QStringLiteral("&Event Report..."), "PrintEvents",
        QStringLiteral("The events the Event Archive page selects, with their chart"),
        &FramePrinting::printEventReport);
    actions_.File1->insertMenu(actions_.FileExitItem, menu);
}

void FramePrinting::send(Output output, const Report &report, const QString &name)
{
    if (out_) {
        out_(output, report, name);
        return;
    }
    if (output == Output::Preview)
        ReportPreview::preview(window_, report);
    else
        ReportPreview::savePdf(window_, report, name);
}

void FramePrinting::printResidentsList()
{
    PrintChoicesDialog dialog(QStringLiteral("Print Residents List"),
                              {{QStringLiteral("Phone numbers")},
                               {QStringLiteral("Gate codes"), true},
                               {QStringLiteral("Sorted by room")}},
                              window_);
    if (!(ask_ ? ask_(dialog) : dialog.exec() == QDialog::Accepted))
        return;
    PhoneListReport::Options options;
    options.site = QDir::current().dirName();
    options.from = QStringLiteral("the phone list page");
    options.phoneNumbers = dialog.isChosen(0);
    options.codes = dialog.isChosen(1);
    options.byRoom = dialog.isChosen(2);
    const Report report =
        PhoneListReport::build(PhoneListReport::entriesOf(ctx_.directory.PhoneTable), options);
    send(dialog.action() == PrintChoicesDialog::Action::Print ? Output::Preview : Output::Pdf, report,
         QStringLiteral("Residents.pdf"));
}

void FramePrinting::printParameterSheet()
{
    PrintChoicesDialog dialog(QStringLiteral("Print Parameter Sheet"),
                              {{QStringLiteral("Gate codes and PIN"), true}}, window_);
    if (!(ask_ ? ask_(dialog) : dialog.exec() == QDialog::Accepted))
        return;
    ParameterSheet::Options options;
    options.site = QDir::current().dirName();
    options.from = QStringLiteral("the parameter page");
    options.secrets = dialog.isChosen(0);
    const Report report = ParameterSheet::build(
        ParameterSheet::fromControls(pages_.systemPage()->controls(), options.secrets), options);
    send(dialog.action() == PrintChoicesDialog::Action::Print ? Output::Preview : Output::Pdf, report,
         QStringLiteral("Parameters.pdf"));
}

// The report of what the archive page selects: the page is shown, so that
// the user sees (and may change) the filters the report follows.
void FramePrinting::printEventReport()
{
    if (!records_.archivePage())
        return;
    pages_.tabs()->setCurrentWidget(records_.archivePage());
    records_.showArchive();
    if (ArchiveView *view = records_.archiveView())
        send(Output::Preview, view->report(), QString());
}
