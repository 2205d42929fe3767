#include "directory/widgets/PhoneNavigator.h"

#include "directory/widgets/WidgetHint.h"
#include "table/Table.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace {
struct ButtonInfo
{
    const char *objectName;
    const char16_t *glyph;
    const char *hint; // also the accessible name: it tells the button from the page's own Insert
};
// Glyphs every common font has.
constexpr ButtonInfo kInfo[PhoneNavigator::kButtons] = {
    {"NavFirst", u"|\u25C0", "First record"},  {"NavPrior", u"\u25C0", "Prior record"},
    {"NavNext", u"\u25B6", "Next record"},     {"NavLast", u"\u25B6|", "Last record"},
    {"NavInsert", u"+", "Insert record"},       {"NavDelete", u"\u2212", "Delete record"},
    {"NavRefresh", u"\u21BB", "Refresh data"},
};
} // namespace

PhoneNavigator::PhoneNavigator(Table &table, QWidget *parent)
    : QWidget(parent)
    , table_(table)
{
    setObjectName(QStringLiteral("DBNavigator1"));
    setAccessibleName(QStringLiteral("Phone list navigator"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    for (int i = 0; i < kButtons; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(kInfo[i].objectName));
        b->setText(QString::fromUtf16(kInfo[i].glyph));
        b->setAccessibleName(QLatin1String(kInfo[i].hint));
        WidgetHint::apply(b, QLatin1String(kInfo[i].hint));
        b->setMinimumWidth(30);
        b->setFocusPolicy(Qt::TabFocus);
        row->addWidget(b);
        buttons_[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] {
            if (!locked_)
                emit buttonClicked(Button(i));
        });
    }
    row->addStretch(1);

    for (auto signal : {&Table::afterScroll, &Table::resetDone, &Table::reordered})
        connect(&table_, signal, this, &PhoneNavigator::updateButtons);
    connect(&table_, &Table::rowInserted, this, &PhoneNavigator::updateButtons);
    connect(&table_, &Table::rowRemoved, this, &PhoneNavigator::updateButtons);
    // Like the grid, the buttons rest while the table's controls are
    // suspended (a download filling a thousand entries, an upload walking
    // them) and catch up once when they come back.
    connect(&table_, &Table::controlsEnabled, this, [this](bool enabled) {
        if (enabled)
            updateButtons();
    });
    updateButtons();
}

void PhoneNavigator::updateButtons()
{
    if (table_.controlsDisabled())
        return;
    const bool open = table_.isOpen();
    const int count = table_.count();
    const int position = table_.position(); // -1 while a new entry is being added
    const bool adding = open && table_.state() == Table::State::Insert;
    const bool back = open && count > 0 && (adding || position > 1);
    const bool forward = open && count > 0 && (adding || (position > 0 && position < count));
    buttons_[First]->setEnabled(back);
    buttons_[Prior]->setEnabled(back);
    buttons_[Next]->setEnabled(forward);
    buttons_[Last]->setEnabled(forward);
    buttons_[Insert]->setEnabled(open);
    buttons_[Delete]->setEnabled(open && (count > 0 || adding));
    buttons_[Refresh]->setEnabled(open);
}
