#include "table/widgets/PrintChoicesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PrintChoicesDialog::PrintChoicesDialog(const QString &title, const QList<Choice> &choices, QWidget *parent)
    : QDialog(parent)
    , choices_(choices)
{
    setObjectName(QStringLiteral("PrintChoicesDialog"));
    setWindowTitle(title);
    auto *box = new QGroupBox(QStringLiteral("Include"), this);
    box->setAccessibleName(QStringLiteral("Include"));
    auto *boxLayout = new QVBoxLayout(box);
    for (const Choice &c : choices_) {
        auto *check = new QCheckBox(c.caption, box);
        check->setObjectName(QStringLiteral("choice%1").arg(boxes_.size()));
        boxLayout->addWidget(check);
        boxes_ << check;
        connect(check, &QCheckBox::toggled, this, &PrintChoicesDialog::updateWarning);
    }
    warning_ = new QLabel(this);
    warning_->setObjectName(QStringLiteral("privateWarning"));
    warning_->setWordWrap(true);
    warning_->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    warning_->setVisible(false);

    auto *buttons = new QDialogButtonBox(this);
    buttons->setAccessibleName(QStringLiteral("Print choices buttons"));
    QPushButton *print = buttons->addButton(QStringLiteral("&Print..."), QDialogButtonBox::AcceptRole);
    print->setObjectName(QStringLiteral("print"));
    QPushButton *pdf = buttons->addButton(QStringLiteral("Save as P&DF..."), QDialogButtonBox::AcceptRole);
    pdf->setObjectName(QStringLiteral("pdf"));
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(print, &QPushButton::clicked, this, [this] { action_ = Action::Print; });
    connect(pdf, &QPushButton::clicked, this, [this] { action_ = Action::Pdf; });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    print->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(warning_);
    layout->addWidget(buttons);
}

bool PrintChoicesDialog::isChosen(int index) const
{
    return index >= 0 && index < boxes_.size() && boxes_.at(index)->isChecked();
}

void PrintChoicesDialog::setChosen(int index, bool on)
{
    if (index >= 0 && index < boxes_.size())
        boxes_.at(index)->setChecked(on);
}

void PrintChoicesDialog::updateWarning()
{
    QStringList on;
    for (int i = 0; i < boxes_.size(); ++i)
        if (choices_.at(i).sensitive && boxes_.at(i)->isChecked())
            on << choices_.at(i).caption.toLower();
    warning_->setText(on.isEmpty() ? QString()
                                   : QStringLiteral("The paper will show %1: keep it where only those who may "
                                                    "open the gate can read it.")
                                         .arg(on.join(QStringLiteral(" and "))));
    warning_->setVisible(!on.isEmpty());
}
