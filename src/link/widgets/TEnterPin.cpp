#include "link/widgets/TEnterPin.h"

#include "link/LogOnDetails.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
// Up to 16 printable 8-bit characters: what the panel and the details file
// can hold.
QValidator *latin1Text(QObject *parent)
{
    return new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\x{20}-\\x{7e}\\x{a0}-\\x{ff}]{0,16}")), parent);
}

void describe(QWidget *w, const QString &name, const QString &hint)
{
    w->setAccessibleName(name);
    if (!hint.isEmpty()) {
        w->setToolTip(hint);
        w->setStatusTip(hint);
        w->setAccessibleDescription(hint);
    }
}
} // namespace

TEnterPin::TEnterPin(PortChoice &ports, UserPrompt &prompt, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)
    , ports_(ports)
    , prompt_(prompt)
{
    setObjectName(QStringLiteral("EnterPin"));
    setWindowTitle(QStringLiteral("EnterPin"));
    setModal(true);

    CorvalenPin = new QLineEdit(this);
    CorvalenPin->setObjectName(QStringLiteral("CorvalenPin"));
    CorvalenPin->setMaxLength(16);
    CorvalenPin->setEchoMode(QLineEdit::Password);
    CorvalenPin->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    CorvalenPin->setValidator(latin1Text(CorvalenPin));
    describe(CorvalenPin, QStringLiteral("PIN"), QStringLiteral("Enter the PIN to access Corvalen Programme Mode"));
    CorvalenPin->installEventFilter(this);
    PinLabel = new QLabel(QStringLiteral("&PIN"), this);
    PinLabel->setObjectName(QStringLiteral("Label1"));
    PinLabel->setBuddy(CorvalenPin);

    StrDetail = new QCheckBox(QStringLiteral("Remember Details"), this);
    StrDetail->setObjectName(QStringLiteral("StrDetail"));
    describe(StrDetail, QStringLiteral("Remember Details"),
             QStringLiteral("Keep the PIN in the details file for the next log-on"));

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    describe(Button1, QStringLiteral("Ok"), QString());
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    describe(Button2, QStringLiteral("Cancel"), QString());

    // The Remote group: never shown; its values only travel through the
    // details file.
    Panel1 = new QGroupBox(QStringLiteral("Remote"), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAccessibleName(QStringLiteral("Remote"));
    RChkBox = new QCheckBox(QStringLiteral("Remote"), Panel1);
    RChkBox->setObjectName(QStringLiteral("RChkBox"));
    describe(RChkBox, QStringLiteral("Remote"), QString());
    R_ph_num = new QLineEdit(Panel1);
    R_ph_num->setObjectName(QStringLiteral("R_ph_num"));
    R_ph_num->setMaxLength(16);
    R_ph_num->setValidator(latin1Text(R_ph_num));
    describe(R_ph_num, QStringLiteral("Phone #"), QString());
    R_ph_num->installEventFilter(this);
    PhoneLabel = new QLabel(QStringLiteral("Phone #"), Panel1);
    PhoneLabel->setObjectName(QStringLiteral("Label2"));
    PhoneLabel->setBuddy(R_ph_num);
    auto *remote = new QHBoxLayout(Panel1);
    remote->addWidget(RChkBox);
    remote->addWidget(PhoneLabel);
    remote->addWidget(R_ph_num);
    Panel1->hide();
    applyRemote(false, false);

    auto *pinRow = new QHBoxLayout;
    pinRow->addWidget(PinLabel);
    pinRow->addWidget(CorvalenPin, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(pinRow);
    layout->addWidget(StrDetail);
    layout->addWidget(Panel1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    CorvalenPin->setMinimumWidth(160);

    connect(Button1, &QPushButton::clicked, this, &TEnterPin::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(RChkBox, &QCheckBox::clicked, this, &TEnterPin::RChkBoxClick);
}

std::optional<QByteArray> TEnterPin::askPin()
{
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return pin();
}

QByteArray TEnterPin::pin() const
{
    return CorvalenPin->text().toLatin1();
}

void TEnterPin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

void TEnterPin::FormShow()
{
    LogOnDetails details;
    if (LogOnDetails::read(ports_.detailsFileName(), &details)) {
        CorvalenPin->setText(QString::fromLatin1(details.pin));
        R_ph_num->setText(QString::fromLatin1(details.phoneNumber));
        StrDetail->setChecked(details.rememberDetails);
        RChkBox->setChecked(details.remote);
        applyRemote(details.remote, false);
        if (details.portNumber >= 1 && details.portNumber <= 4)
            ports_.choose(details.portNumber);
    }
    if (keeper_) {
        // A PIN a details file still holds from before the panel was a site
        // is not offered: the site's own store decides.
        const std::optional<QByteArray> kept = keeper_->keptPin();
        CorvalenPin->setText(kept ? QString::fromLatin1(*kept) : QString());
    }
    // Whatever is typed first replaces a PIN kept from before.
    CorvalenPin->setFocus();
    CorvalenPin->selectAll();
}

void TEnterPin::Button1Click()
{
    LogOnDetails details;
    if (StrDetail->isChecked()) {
        details.pin = CorvalenPin->text().toLatin1().left(LogOnDetails::kTextCapacity);
        details.phoneNumber = R_ph_num->text().toLatin1().left(LogOnDetails::kTextCapacity);
        details.rememberDetails = true;
        details.remote = RChkBox->isChecked();
    }
    details.portNumber = ports_.PortNumber();
    if (keeper_)
        details.pin.clear();
    QString error;
    if (!details.write(ports_.detailsFileName(), &error)) {
        prompt_.message(error, UserPrompt::Kind::Error);
        return;
    }
    if (keeper_)
        keeper_->keep(CorvalenPin->text().toLatin1().left(LogOnDetails::kTextCapacity), StrDetail->isChecked());
    accept();
}

void TEnterPin::CorvalenPinKeyPress()
{
    accept(); // nothing is stored
}

void TEnterPin::R_ph_numKeyPress()
{
    Button1Click();
}

void TEnterPin::RChkBoxClick()
{
    applyRemote(RChkBox->isChecked(), true);
}

void TEnterPin::applyRemote(bool checked, bool moveFocus)
{
    R_ph_num->setEnabled(checked);
    PhoneLabel->setEnabled(checked);
    QPalette palette = R_ph_num->palette();
    palette.setColor(QPalette::Base, checked ? this->palette().color(QPalette::Base)
                                             : this->palette().color(QPalette::Button));
    R_ph_num->setPalette(palette);
    if (checked && moveFocus)
        R_ph_num->setFocus();
}

bool TEnterPin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == CorvalenPin) {
                CorvalenPinKeyPress();
                return true;
            }
            if (watched == R_ph_num) {
                R_ph_numKeyPress();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
