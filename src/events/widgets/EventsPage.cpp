#include "events/widgets/EventsPage.h"

#include "events/EventDetails.h"
#include "events/EventFile.h"
#include "events/EventSort.h"
#include "events/EventTransfer.h"
#include "events/widgets/EventClockBox.h"
#include "events/widgets/EventDetailsBox.h"
#include "events/widgets/EventFileDialog.h"
#include "table/SpreadsheetFile.h"
#include "table/widgets/SpreadsheetDialog.h"
#include "table/widgets/TableGrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A hint shows as the tooltip; its long part goes to the status bar and is
// what a reader tells about the control.
void setHint(QWidget *w, const QString &hint, const QString &longHint = {})
{
    const QString longText = longHint.isEmpty() ? hint : longHint;
    w->setToolTip(hint);
    w->setStatusTip(longText);
    w->setAccessibleDescription(longText);
}

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(caption);
    b->setAutoDefault(false);
    b->setEnabled(false); // until logged on
    return b;
}
} // namespace

EventsPage::EventsPage(TransferContext &ctx, QWidget *parent)
    : QWidget(parent)
    , ctx_(ctx)
    , chooseFile_(&EventFileDialog::choose)
    , chooseExport_([](QWidget *parent) { return SpreadsheetDialog::choose(parent, QStringLiteral("Events-spreadsheet.csv")); })
{
    setObjectName(QStringLiteral("Events"));
    setAccessibleName(QStringLiteral("Events"));
    buildControls();

    connect(&log_.EventTable, &Table::afterScroll, this, &EventsPage::EventTableAfterScroll);
    connect(&log_.EventTable, &Table::resetDone, this, &EventsPage::EventTableAfterScroll);
    connect(&log_.EventTable, &Table::reordered, this, &EventsPage::EventTableAfterScroll);
    connect(&log_, &EventLog::rowsLoaded, DBGrid2, &TableGrid::fitColumns);
    connect(&log_, &EventLog::downloadCompleted, this, &EventsPage::saveAsOffered);
    connect(&log_, &EventLog::downloadProblemChanged, this, &EventsPage::showDownloadProblem);
    connect(DBGrid2, &TableGrid::titleClicked, this, &EventsPage::DBGrid2TitleClick);
    connect(dnLoad, &QPushButton::clicked, this, &EventsPage::dnLoadClick);
    connect(Set_time, &QPushButton::clicked, this, &EventsPage::Set_timeClick);
}

// The controls show the event log, which is a member: they go first, before
// the members they read from are destroyed.
EventsPage::~EventsPage()
{
    qDeleteAll(findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
}

void EventsPage::buildControls()
{
    DBGrid2 = new TableGrid(log_.EventTable, this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setAccessibleName(QStringLiteral("Event log"));
    DBGrid2->setAccessibleDescription(QStringLiteral("The events of the last download; click a title to sort"));
    DBGrid2->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    DBGrid2->horizontalHeader()->setStretchLastSection(true);

    dnLoad = button("dnLoad", QStringLiteral("Down Load"), this);
    setHint(dnLoad, QStringLiteral("Load Data"), QStringLiteral("Load Event Data From Corvalen"));
    Set_time = button("Set_time", QStringLiteral("Set_time"), this);
    setHint(Set_time, QStringLiteral("Set the Corvalen Time"));

    timerBox = new EventClockBox(log_.clock, this);
    details_ = new EventDetailsBox(this);

    // Says that the last Down Load failed, and so that the rows and "Loaded
    // At" are those of an earlier one; hidden while all is well. Its text is
    // what a reader reads out.
    dnLoadProblem_ = new QLabel(this);
    dnLoadProblem_->setObjectName(QStringLiteral("dnLoadProblem"));
    dnLoadProblem_->setWordWrap(true);
    dnLoadProblem_->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    dnLoadProblem_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    dnLoadProblem_->setVisible(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(dnLoad);
    buttons->addWidget(Set_time);

    // The side column is as wide as the clock group; the grid has the rest.
    auto *sidePanel = new QWidget(this);
    auto *side = new QVBoxLayout(sidePanel);
    side->setContentsMargins(0, 0, 0, 0);
    side->addLayout(buttons);
    side->addWidget(dnLoadProblem_);
    side->addWidget(timerBox);
    side->addWidget(details_);
    side->addStretch(1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(DBGrid2, 1);
    layout->addWidget(sidePanel);
    sidePanel->setMaximumWidth(timerBox->sizeHint().width());
}

void EventsPage::setOnline(bool online)
{
    dnLoad->setEnabled(online);
    Set_time->setEnabled(online);
}

void EventsPage::dnLoadClick()
{
    EventTransfer(ctx_, log_, clock_).dnLoadClick();
}

void EventsPage::Set_timeClick()
{
    EventTransfer(ctx_, log_, clock_).Set_timeClick();
}

void EventsPage::showDownloadProblem(const QString &text)
{
    dnLoadProblem_->setText(text);
    dnLoadProblem_->setVisible(!text.isEmpty());
}

void EventsPage::DBGrid2TitleClick(const QByteArray &column)
{
    ::DBGrid2TitleClick(log_.EventTable, column);
}

void EventsPage::EventTableAfterScroll()
{
    // A download fills the table with the grid suspended; the details
    // follow once it has gone to the first row.
    if (log_.EventTable.controlsDisabled())
        return;
    details_->showDetails(::EventTableAfterScroll(log_.EventTable));
}

void EventsPage::saveAsEventFile()
{
    writeEventFile(chooseFile_, [this](const QString &fileName, QString *error) {
        return EventFile::save(fileName, log_, error);
    });
}

void EventsPage::exportEventFile()
{
    writeEventFile(chooseExport_, [this](const QString &fileName, QString *error) {
        return EventFile::exportTo(fileName, log_, SpreadsheetFile::separatorFor(QLocale()), error);
    });
}

void EventsPage::writeEventFile(const FileChooser &choose,
                                const std::function<bool(const QString &, QString *)> &write)
{
    if (!log_.EventTable.isOpen())
        return; // nothing downloaded yet
    const QString fileName = choose ? choose(this) : QString();
    if (fileName.isEmpty())
        return;
    QString error;
    if (!write(fileName, &error))
        ctx_.prompt.message(error, UserPrompt::Kind::Error);
}
