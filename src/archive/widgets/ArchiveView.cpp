#include "archive/widgets/ArchiveView.h"

#include "archive/ArchiveExport.h"
#include "archive/ArchiveFigureTable.h"
#include "archive/ArchiveTableModel.h"
#include "archive/EventArchive.h"
#include "archive/EventReport.h"
#include "archive/widgets/ArchiveChartFiles.h"
#include "archive/widgets/ArchiveChartWidget.h"
#include "archive/widgets/ArchiveFilterBar.h"
#include "table/SpreadsheetFile.h"
#include "table/widgets/ReportPreview.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QPushButton *button(const QString &caption, const char *name, const QString &description, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleDescription(description);
    b->setToolTip(description);
    b->setAutoDefault(false);
    return b;
}

QGroupBox *group(const QString &title, const QList<QPushButton *> &buttons, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setAccessibleName(title);
    auto *row = new QHBoxLayout(box);
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return box;
}
} // namespace

ArchiveView::ArchiveView(EventArchive &archive, QWidget *parent)
    : QWidget(parent)
    , archive_(archive)
    , chooseFile_([](QWidget *p, const FileDialog::Kind &kind) {
        return FileDialog::choose(p, QFileDialog::AcceptSave, kind);
    })
    , message_([this](const QString &text) { QMessageBox::warning(this, QStringLiteral("Event archive"), text); })
    , preview_(&ReportPreview::preview)
{
    setObjectName(QStringLiteral("ArchiveView"));
    setAccessibleName(QStringLiteral("Event archive"));
    model_ = new ArchiveTableModel(archive_, this);
    figureTable_ = new ArchiveFigureTable(this);
    buildControls();
    connect(model_, &ArchiveTableModel::selectionChanged, this, &ArchiveView::showSelection);
    // Said where the count stands, without a message box in the user's way
    // (the view may be shown before anyone looks at it).
    connect(model_, &ArchiveTableModel::selectionFailed, this, [this](const QString &error) {
        count_->setText(QStringLiteral("The event archive cannot be read: %1").arg(error));
    });
    connect(filters_, &ArchiveFilterBar::filterChanged, model_, &ArchiveTableModel::setFilter);
    model_->setFilter({});
    // By when, oldest first, until a title is clicked.
    grid_->sortByColumn(0, Qt::AscendingOrder);
}

ArchiveView::~ArchiveView() = default;

void ArchiveView::buildControls()
{
    filters_ = new ArchiveFilterBar(this);

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("archiveCount"));
    count_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont bold = count_->font();
    bold.setBold(true);
    count_->setFont(bold);

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("archiveGrid"));
    grid_->setAccessibleName(QStringLiteral("Archived events"));
    grid_->setAccessibleDescription(QStringLiteral("The matching events; click a title to sort by it, again to "
                                                   "reverse"));
    grid_->setModel(model_);
    grid_->setSortingEnabled(true);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->horizontalHeader()->setStretchLastSection(true);
    // Widths from the texts a column holds, not from its rows (a million).
    const QFontMetrics fm = grid_->fontMetrics();
    const int pad = fm.horizontalAdvance(QStringLiteral("MM"));
    const QStringList widest{QStringLiteral("0000-00-00"), QStringLiteral("00:00:00"),
                             QStringLiteral("RoomNumber"), QStringLiteral("RlyNo"),
                             QStringLiteral("Remote"),     QStringLiteral("MMMMMMMMMMMMMM"),
                             QStringLiteral("0000-00-00 00:00")};
    for (int c = 0; c < widest.size(); ++c)
        grid_->setColumnWidth(c, fm.horizontalAdvance(widest.at(c)) + pad);

    chart_ = new ArchiveChartWidget(this);
    figures_ = new QTableView(this);
    figures_->setObjectName(QStringLiteral("chartFigures"));
    figures_->setAccessibleName(QStringLiteral("Chart figures"));
    figures_->setAccessibleDescription(QStringLiteral("The chart's figures: events per hour of the day, then per day"));
    figures_->setModel(figureTable_);
    figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    figures_->verticalHeader()->hide();
    figures_->horizontalHeader()->setStretchLastSection(true);
    figures_->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("without a date")) + pad);

    auto *png = button(QStringLiteral("Save as P&NG..."), "chartPng", QStringLiteral("Save the chart as a PNG picture"),
                       this);
    auto *svg = button(QStringLiteral("Save as S&VG..."), "chartSvg",
                       QStringLiteral("Save the chart as an SVG drawing"), this);
    auto *pdf = button(QStringLiteral("Save as &PDF..."), "reportPdf",
                       QStringLiteral("Save a report of the matching events, with the chart, as a PDF file"), this);
    auto *print = button(QStringLiteral("Pr&int..."), "reportPrint",
                         QStringLiteral("Print a report of the matching events, with a preview first"), this);
    auto *csv = button(QStringLiteral("Export &CSV..."), "exportCsv",
                       QStringLiteral("The matching events for spreadsheet programs"), this);
    auto *json = button(QStringLiteral("Export &JSON..."), "exportJson",
                        QStringLiteral("The matching events for other programs"), this);
    auto *refresh = button(QStringLiteral("R&efresh"), "refresh",
                           QStringLiteral("Read the archive again, with events recorded since"), this);
    connect(png, &QPushButton::clicked, this, &ArchiveView::saveChartPng);
    connect(svg, &QPushButton::clicked, this, &ArchiveView::saveChartSvg);
    connect(pdf, &QPushButton::clicked, this, &ArchiveView::saveReportPdf);
    connect(print, &QPushButton::clicked, this, &ArchiveView::printReport);
    connect(csv, &QPushButton::clicked, this, &ArchiveView::exportCsv);
    connect(json, &QPushButton::clicked, this, &ArchiveView::exportJson);
    connect(refresh, &QPushButton::clicked, this, &ArchiveView::refresh);

    auto *left = new QWidget(this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(filters_);
    auto *countRow = new QHBoxLayout;
    countRow->addWidget(count_, 1);
    countRow->addWidget(refresh);
    leftLayout->addLayout(countRow);
    leftLayout->addWidget(grid_, 1);
    auto *outputs = new QHBoxLayout;
    outputs->addWidget(group(QStringLiteral("Report"), {pdf, print}, this));
    outputs->addWidget(group(QStringLiteral("Events"), {csv, json}, this));
    outputs->addStretch(1);
    leftLayout->addLayout(outputs);

    auto *right = new QSplitter(Qt::Vertical, this);
    right->setObjectName(QStringLiteral("chartSide"));
    right->addWidget(chart_);
    right->addWidget(figures_);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 1);
    auto *rightBox = new QWidget(this);
    auto *rightLayout = new QVBoxLayout(rightBox);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(right, 1);
    rightLayout->addWidget(group(QStringLiteral("Chart"), {png, svg}, this));

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("archiveSplit"));
    split->addWidget(left);
    split->addWidget(rightBox);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(split);
}

void ArchiveView::showSelection()
{
    const ArchiveFigures &f = model_->figures();
    const QLocale locale;
    QString text = f.total == 1 ? QStringLiteral("1 event") : QStringLiteral("%1 events").arg(locale.toString(f.total));
    if (!filter().isEmpty())
        text += QStringLiteral(" match");
    if (f.undated > 0)
        text += QStringLiteral(" (%1 without a date)").arg(locale.toString(f.undated));
    count_->setText(text);
    chart_->setFigures(f);
    figureTable_->setFigures(f);
    if (!rangeSuggested_ && f.firstDay.isValid()) {
        filters_->suggestRange(f.firstDay, f.lastDay());
        rangeSuggested_ = true;
    }
    emit selectionChanged();
}

void ArchiveView::refresh()
{
    filters_->settleNow();
    model_->refresh();
}

EventFilter ArchiveView::filter() const
{
    return filters_->filter();
}

void ArchiveView::setFilter(const EventFilter &filter)
{
    filters_->setFilter(filter);
    model_->setFilter(filter);
}

Report ArchiveView::report()
{
    return EventReport::build(model_->selection(), site_);
}

QString ArchiveView::baseName() const
{
    return site_.isEmpty() ? QStringLiteral("Events") : QStringLiteral("Events %1").arg(site_);
}

QString ArchiveView::chooseFile(const QString &filter, const QString &suffix, const QString &name,
                                const QString &title)
{
    filters_->settleNow();
    return chooseFile_ ? chooseFile_(this, {filter, suffix, name, title}) : QString();
}

void ArchiveView::saveChartPng()
{
    const QString file = chooseFile(QStringLiteral("PNG picture (*.png)"), QStringLiteral("png"),
                                    baseName() + QStringLiteral(" chart.png"), QStringLiteral("Save Chart as PNG"));
    QString error;
    if (!file.isEmpty() && !ArchiveChartFiles::savePng(model_->figures(), file, ArchiveChartFiles::kPngSize, &error))
        message_(error);
}

void ArchiveView::saveChartSvg()
{
    const QString file = chooseFile(QStringLiteral("SVG drawing (*.svg)"), QStringLiteral("svg"),
                                    baseName() + QStringLiteral(" chart.svg"), QStringLiteral("Save Chart as SVG"));
    QString error;
    if (!file.isEmpty()
        && !ArchiveChartFiles::saveSvg(model_->figures(), file, baseName(), ArchiveChartFiles::kSvgSize, &error))
        message_(error);
}

void ArchiveView::saveReportPdf()
{
    const QString file = chooseFile(QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"),
                                    baseName() + QStringLiteral(".pdf"), QStringLiteral("Save Report as PDF"));
    QString error;
    if (!file.isEmpty() && !ReportPrinter::writePdf(report(), file, &error))
        message_(error);
}

void ArchiveView::printReport()
{
    filters_->settleNow();
    if (preview_)
        preview_(this, report());
}

void ArchiveView::exportCsv()
{
    const QString file = chooseFile(QStringLiteral("Spreadsheet (*.csv)"), QStringLiteral("csv"),
                                    baseName() + QStringLiteral(".csv"), QStringLiteral("Export CSV"));
    QString error;
    if (!file.isEmpty()
        && !ArchiveExport::saveCsv(model_->selection(), file, SpreadsheetFile::separatorFor(QLocale()), &error))
        message_(error);
}

void ArchiveView::exportJson()
{
    const QString file = chooseFile(QStringLiteral("JSON (*.json)"), QStringLiteral("json"),
                                    baseName() + QStringLiteral(".json"), QStringLiteral("Export JSON"));
    QString error;
    if (!file.isEmpty() && !ArchiveExport::saveJson(model_->selection(), file, &error))
        message_(error);
}
