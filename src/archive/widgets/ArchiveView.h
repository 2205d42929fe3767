#pragma once

#include "archive/EventFilter.h"
#include "table/Report.h"
#include "table/widgets/FileDialog.h"

#include <QWidget>
#include <functional>

class ArchiveChartWidget;
class ArchiveFigureTable;
class ArchiveFilterBar;
class ArchiveTableModel;
class EventArchive;
class QLabel;
class QPushButton;
class QTableView;

// The event archive of a site, searched: the filters, how many events
// match, the matching events in a grid sorted by a click on a title (both
// ways), and beside them the chart of the matches per hour of the day and per
// day with its figures as a table. The chart is saved as PNG or SVG; the
// matches as a report (PDF, or printed from the preview) or for other
// programs (CSV for spreadsheets, JSON).
//
// Wiring: put it beside the event grid of the Events page (or in a window of
// its own) with the site's archive and name; call refresh() after a download
// was recorded:
//
//     auto *view = new ArchiveView(archive, parent);   // archive outlives the view
//     view->setSiteName(site.name);
//     ... archive.addDownload(d); view->refresh();
class ArchiveView : public QWidget
{
    Q_OBJECT
public:
    explicit ArchiveView(EventArchive &archive, QWidget *parent = nullptr);
    ~ArchiveView() override;

    void setSiteName(const QString &name) { site_ = name; }
    QString siteName() const { return site_; }

    // Selects anew with the filters as they stand (new events recorded).
    void refresh();
    EventFilter filter() const;
    // Sets the filters and selects.
    void setFilter(const EventFilter &filter);

    ArchiveTableModel &model() { return *model_; }
    // The report of the current matches. It reads them while it is printed:
    // print it before the filters change.
    Report report();

    // The buttons' actions.
    void saveChartPng();
    void saveChartSvg();
    void saveReportPdf();
    void printReport();
    void exportCsv();
    void exportJson();

    // Seams for tests: where file names come from (the save dialog; empty
    // means cancelled), where messages go (a message box), and how a report
    // is previewed for printing (QPrintPreviewDialog).
    using FileChooser = std::function<QString(QWidget *parent, const FileDialog::Kind &kind)>;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    void setMessageSink(std::function<void(const QString &)> sink) { message_ = std::move(sink); }
    void setPreviewer(std::function<void(QWidget *, const Report &)> previewer) { preview_ = std::move(previewer); }

signals:
    // The matches changed (a new filter, order or refresh).
    void selectionChanged();

private:
    void buildControls();
    void showSelection();
    QString chooseFile(const QString &filter, const QString &suffix, const QString &name, const QString &title);
    QString baseName() const;

    EventArchive &archive_;
    QString site_;
    ArchiveTableModel *model_ = nullptr;
    ArchiveFigureTable *figureTable_ = nullptr;
    ArchiveFilterBar *filters_ = nullptr;
    QLabel *count_ = nullptr;
    QTableView *grid_ = nullptr;
    ArchiveChartWidget *chart_ = nullptr;
    QTableView *figures_ = nullptr;
    FileChooser chooseFile_;
    std::function<void(const QString &)> message_;
    std::function<void(QWidget *, const Report &)> preview_;
    bool rangeSuggested_ = false;
};
