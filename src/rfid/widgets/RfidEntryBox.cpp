#include "rfid/widgets/RfidEntryBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {
QLineEdit *entryEdit(const char *name, const QString &caption, bool readOnly, QWidget *parent,
                     QGridLayout *grid, int column)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(readOnly);
    edit->setAccessibleName(caption);
    auto *label = new QLabel(caption, parent);
    label->setBuddy(edit);
    grid->addWidget(label, 0, column);
    grid->addWidget(edit, 1, column);
    return edit;
}
} // namespace

RfidEntryBox::RfidEntryBox(RfidPageState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Directory entry"), parent)
    , state_(state)
{
    setObjectName(QStringLiteral("rfEntry"));
    setAccessibleName(QStringLiteral("Directory entry"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(3);
    rfName = entryEdit("rfName", QStringLiteral("Name"), true, this, grid, 0);
    rfRoom = entryEdit("rfRoom", QStringLiteral("Room"), true, this, grid, 1);
    rfID = entryEdit("rfID", QStringLiteral("RF-ID code"), false, this, grid, 2);
    rfID->setMaxLength(RfidPageState::kRfidMaxLength);
    // Only 8-bit characters, so that the code keeps every byte typed.
    rfID->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\x{20}-\\x{7e}\\x{a0}-\\x{ff}]{0,10}")), rfID));
    const QFontMetrics fm = fontMetrics();
    rfName->setMinimumWidth(fm.averageCharWidth() * 16);
    rfRoom->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("000000")) + 14);
    rfID->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("DDDDDDDDDD")) + 14);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 2);

    Button1 = new QPushButton(QStringLiteral("Up Date"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(QStringLiteral("Up Date"));
    Button1->setToolTip(QStringLiteral("save this code to the database"));
    Button1->setStatusTip(QStringLiteral("save this code to the database"));
    Button1->setAccessibleDescription(QStringLiteral("save this code to the database"));
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("Del"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAccessibleName(QStringLiteral("Del"));
    Button2->setAccessibleDescription(QStringLiteral("Delete the whole directory entry"));
    Button2->setAutoDefault(false);

    Lc_exist = new QLabel(RfidPageState::kLcExistDesignCaption, this);
    Lc_exist->setObjectName(QStringLiteral("Lc_exist"));
    Lc_exist->setStyleSheet(QStringLiteral("color: #d00000; font-weight: bold;"));
    Lc_exist->setWordWrap(true);
    QSizePolicy keep = Lc_exist->sizePolicy();
    keep.setRetainSizeWhenHidden(true); // the buttons stay where they are
    Lc_exist->setSizePolicy(keep);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    grid->addLayout(buttons, 2, 0, 1, 3);
    grid->addWidget(Lc_exist, 3, 0, 1, 3);

    connect(&state_, &RfidPageState::rfNameChanged, rfName,
            [this](const QByteArray &text) { rfName->setText(QString::fromLatin1(text)); });
    connect(&state_, &RfidPageState::rfRoomChanged, rfRoom,
            [this](const QByteArray &text) { rfRoom->setText(QString::fromLatin1(text)); });
    connect(&state_, &RfidPageState::rfIDChanged, rfID, [this](const QByteArray &text) {
        const QString shown = QString::fromLatin1(text);
        if (rfID->text() != shown) // not while the user types it
            rfID->setText(shown);
    });
    connect(rfID, &QLineEdit::textEdited, &state_,
            [this](const QString &text) { state_.setRfID(text.toLatin1()); });
    connect(&state_, &RfidPageState::lcExistChanged, this, &RfidEntryBox::showCodeOwner);

    rfName->setText(QString::fromLatin1(state_.rfName()));
    rfRoom->setText(QString::fromLatin1(state_.rfRoom()));
    rfID->setText(QString::fromLatin1(state_.rfID()));
    showCodeOwner(state_.LcExistVisible(), state_.LcExistCaption());
}

void RfidEntryBox::showCodeOwner(bool visible, const QString &caption)
{
    Lc_exist->setText(caption);
    Lc_exist->setVisible(visible);
}
