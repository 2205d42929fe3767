#include "archive/widgets/ArchiveFilterBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QDateEdit *dateEdit(const char *name, const QString &accessible, QWidget *parent)
{
    auto *d = new QDateEdit(QDate::currentDate(), parent);
    d->setObjectName(QLatin1String(name));
    d->setAccessibleName(accessible);
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setEnabled(false);
    d->setMinimumWidth(d->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) * 3 / 2
                       + d->fontMetrics().height() * 2);
    return d;
}

QComboBox *choice(const char *name, const QList<QPair<QString, int>> &items, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    for (const auto &item : items)
        c->addItem(item.first, item.second);
    return c;
}

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}
} // namespace

ArchiveFilterBar::ArchiveFilterBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("archiveFilters"));
    fromOn_ = new QCheckBox(QStringLiteral("&From"), this);
    fromOn_->setObjectName(QStringLiteral("fromOn"));
    fromOn_->setAccessibleDescription(QStringLiteral("Only events on or after the date beside it"));
    from_ = dateEdit("fromDate", QStringLiteral("From"), this);
    toOn_ = new QCheckBox(QStringLiteral("&To"), this);
    toOn_->setObjectName(QStringLiteral("toOn"));
    toOn_->setAccessibleDescription(QStringLiteral("Only events on or before the date beside it"));
    to_ = dateEdit("toDate", QStringLiteral("To"), this);

    const int any = -1;
    kind_ = choice("kind", {{QStringLiteral("any"), any}}, this);
    for (EventKind k : {EventKind::Room, EventKind::InCall, EventKind::Button, EventKind::Error})
        kind_->addItem(EventKinds::name(k), int(k));
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("roomOrClient"));
    text_->setPlaceholderText(QStringLiteral("part of a room or a name"));
    text_->setClearButtonEnabled(true);
    source_ = choice("source", {{QStringLiteral("any"), any}}, this);
    for (EventSource s : {EventSource::Local, EventSource::Remote, EventSource::RfId, EventSource::Error})
        source_->addItem(EventSources::name(s), int(s));
    relay_ = choice("relay", {{QStringLiteral("any"), any}, {QStringLiteral("0"), 0}, {QStringLiteral("1"), 1},
                              {QStringLiteral("2"), 2}}, this);
    clear_ = new QPushButton(QStringLiteral("C&lear filters"), this);
    clear_->setObjectName(QStringLiteral("clearFilters"));
    clear_->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(fromOn_, 0, 0);
    grid->addWidget(from_, 0, 1);
    grid->addWidget(toOn_, 0, 2);
    grid->addWidget(to_, 0, 3);
    grid->addWidget(label(QStringLiteral("&Kind:"), kind_, this), 0, 4);
    grid->addWidget(kind_, 0, 5);
    grid->addWidget(label(QStringLiteral("Room or &client:"), text_, this), 1, 0);
    grid->addWidget(text_, 1, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("&Source:"), source_, this), 1, 4);
    grid->addWidget(source_, 1, 5);
    grid->addWidget(label(QStringLiteral("&Relay:"), relay_, this), 1, 6);
    grid->addWidget(relay_, 1, 7);
    grid->addWidget(clear_, 0, 6, 1, 2);
    grid->setColumnStretch(8, 1);

    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { emit filterChanged(filter()); });
    connect(fromOn_, &QCheckBox::toggled, from_, &QWidget::setEnabled);
    connect(toOn_, &QCheckBox::toggled, to_, &QWidget::setEnabled);
    for (QCheckBox *box : {fromOn_, toOn_})
        connect(box, &QCheckBox::toggled, this, &ArchiveFilterBar::changed);
    for (QDateEdit *edit : {from_, to_})
        connect(edit, &QDateEdit::dateChanged, this, [this] {
            if (fromOn_->isChecked() || toOn_->isChecked())
                changed();
        });
    for (QComboBox *box : {kind_, source_, relay_})
        connect(box, &QComboBox::currentIndexChanged, this, &ArchiveFilterBar::changed);
    connect(text_, &QLineEdit::textChanged, this, &ArchiveFilterBar::changed);
    connect(clear_, &QPushButton::clicked, this, &ArchiveFilterBar::clear);
}

void ArchiveFilterBar::changed()
{
    if (!quiet_)
        settle_.start();
}

void ArchiveFilterBar::settleNow()
{
    if (settle_.isActive()) {
        settle_.stop();
        emit filterChanged(filter());
    }
}

EventFilter ArchiveFilterBar::filter() const
{
    EventFilter f;
    if (fromOn_->isChecked())
        f.from = from_->date();
    if (toOn_->isChecked())
        f.to = to_->date();
    if (const int k = kind_->currentData().toInt(); k >= 0)
        f.kind = EventKind(k);
    f.text = text_->text().trimmed();
    if (const int s = source_->currentData().toInt(); s >= 0)
        f.source = EventSource(s);
    if (const int r = relay_->currentData().toInt(); r >= 0)
        f.relay = QByteArray::number(r);
    return f;
}

void ArchiveFilterBar::setFilter(const EventFilter &f)
{
    quiet_ = true;
    fromOn_->setChecked(f.from.has_value());
    if (f.from)
        from_->setDate(*f.from);
    toOn_->setChecked(f.to.has_value());
    if (f.to)
        to_->setDate(*f.to);
    kind_->setCurrentIndex(qMax(0, kind_->findData(f.kind ? int(*f.kind) : -1)));
    text_->setText(f.text);
    source_->setCurrentIndex(qMax(0, source_->findData(f.source ? int(*f.source) : -1)));
    relay_->setCurrentIndex(f.relay.isEmpty() ? 0 : qMax(0, relay_->findText(QString::fromLatin1(f.relay))));
    quiet_ = false;
    settle_.stop();
}

void ArchiveFilterBar::suggestRange(const QDate &first, const QDate &last)
{
    quiet_ = true;
    if (!fromOn_->isChecked() && first.isValid())
        from_->setDate(first);
    if (!toOn_->isChecked() && last.isValid())
        to_->setDate(last);
    quiet_ = false;
}

void ArchiveFilterBar::clear()
{
    const bool wasEmpty = filter().isEmpty();
    setFilter({});
    if (!wasEmpty)
        emit filterChanged(filter());
}
