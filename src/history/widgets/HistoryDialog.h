#pragma once

#include "history/HistoryVersion.h"

#include <QDialog>
#include <QList>

class HistoryComparisonView;
class HistoryStore;
class HistoryVersionModel;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

// File > "History...": the versions of one history, newest first (version,
// date, kind, action, entries, what changed since the version before, the
// result or how often it was seen, who and through what), filtered by kind.
//
//  - Compare: two chosen versions of one kind, entry by entry (the older
//    one first), in a comparison view.
//  - Compare with Page: emits compareWithPageRequested(version); the
//    window answers with showComparisonWithPage(version, what the page of
//    that kind holds, in HistoryContent form).
//  - Open in Page and Restore: emit their requests with the version; the
//    window runs them (Restore: a backup first, the comparison, the
//    question and the model check, as for a backup).
//  - Audit...: the writes only, with Export (AuditDialog).
//
// Wiring, in the main window:
//
//     HistoryDialog dialog(history, this);
//     connect(&dialog, &HistoryDialog::compareWithPageRequested, ..., [&](const HistoryVersion &v) {
//         dialog.showComparisonWithPage(v, pageContent(v.kind)); });
//     connect(&dialog, &HistoryDialog::openInPageRequested, ...);
//     connect(&dialog, &HistoryDialog::restoreRequested, ...);
//     dialog.exec();
class HistoryDialog : public QDialog
{
    Q_OBJECT
public:
    explicit HistoryDialog(HistoryStore &store, QWidget *parent = nullptr);

    // Lists the versions again (after a restore, say).
    void refresh();
    // The kind shown; none for all.
    void setKindFilter(std::optional<BackupKind> kind);

    // The chosen versions, in list order.
    QList<HistoryVersion> chosen() const;
    void choose(const QList<qint64> &ids);

    // The comparison opened last, if any.
    HistoryComparisonView *comparison() const { return comparison_; }

public slots:
    void compareChosen();
    void showComparisonWithPage(const HistoryVersion &version, const QByteArray &pageContent);

signals:
    void compareWithPageRequested(const HistoryVersion &version);
    void openInPageRequested(const HistoryVersion &version);
    void restoreRequested(const HistoryVersion &version);

private:
    void updateButtons();
    HistoryComparisonView *openComparison();
    static QString describe(const HistoryVersion &v);

    HistoryStore &store_;
    HistoryVersionModel *model_ = nullptr;
    QTableView *view_ = nullptr;
    QComboBox *kind_ = nullptr;
    QLabel *count_ = nullptr;
    QPushButton *compare_ = nullptr;
    QPushButton *compareWithPage_ = nullptr;
    QPushButton *openInPage_ = nullptr;
    QPushButton *restore_ = nullptr;
    HistoryComparisonView *comparison_ = nullptr;
};
