#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
struct HistoryDiff;

// Two versions (or a version and a page) compared, entry by entry, as text:
// a heading naming the two sides, the summary ("3 added, 1 removed, 2
// changed" or "no differences"), and a line per resident, field or tag.
class HistoryComparisonView : public QDialog
{
    Q_OBJECT
public:
    explicit HistoryComparisonView(QWidget *parent = nullptr);

    void showComparison(const QString &heading, const HistoryDiff &diff);
    // When the two could not be compared: the heading and why.
    void showError(const QString &heading, const QString &why);

    QString heading() const;
    QString summary() const;
    QString text() const;

private:
    QLabel *heading_ = nullptr;
    QLabel *summary_ = nullptr;
    QPlainTextEdit *text_ = nullptr;
};
