#pragma once

#include "archive/EventFilter.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// The archive view's filter controls: a date range whose edges are ticked
// on, the kind, a text found in the room or the client, the source and the
// relay, and "Clear filters". A change is announced a moment after the user
// stops typing or choosing (filterChanged), so a million events are not
// selected again at every key.
class ArchiveFilterBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kSettleMs = 300;

    explicit ArchiveFilterBar(QWidget *parent = nullptr);

    EventFilter filter() const;
    // Sets the controls without announcing it.
    void setFilter(const EventFilter &filter);
    // The dates the range edges show while they are off (the archive's
    // first and last day).
    void suggestRange(const QDate &first, const QDate &last);
    // Announces a pending change at once.
    void settleNow();

signals:
    void filterChanged(const EventFilter &filter);

private:
    void changed();
    void clear();

    QCheckBox *fromOn_ = nullptr;
    QDateEdit *from_ = nullptr;
    QCheckBox *toOn_ = nullptr;
    QDateEdit *to_ = nullptr;
    QComboBox *kind_ = nullptr;
    QLineEdit *text_ = nullptr;
    QComboBox *source_ = nullptr;
    QComboBox *relay_ = nullptr;
    QPushButton *clear_ = nullptr;
    QTimer settle_;
    bool quiet_ = false;
};
