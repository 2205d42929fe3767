#pragma once

#include <QDialog>

class HistoryStore;
class HistoryVersionModel;
class QLabel;
class QPlainTextEdit;
class QTableView;

// The audit view: the writes of a history only, newest first, with who,
// when, through what, what changed and the result; the chosen write's
// changes entry by entry below; "Export..." saves the list as a spreadsheet
// list (HistoryAudit).
class AuditDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AuditDialog(HistoryStore &store, QWidget *parent = nullptr);

    // Saves the list to the file; the outcome is shown under the list. True
    // when saved.
    bool exportTo(const QString &fileName);

    int writeCount() const;
    QString changesShown() const;
    QString status() const;

private:
    void showChanges();

    HistoryStore &store_;
    HistoryVersionModel *model_ = nullptr;
    QTableView *view_ = nullptr;
    QPlainTextEdit *changes_ = nullptr;
    QLabel *status_ = nullptr;
};
