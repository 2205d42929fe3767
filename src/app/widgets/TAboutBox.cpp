#include "app/widgets/TAboutBox.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/resources/corvalen.png")));
    ProgramIcon->setAccessibleName(QStringLiteral("Program icon"));

    ProductName = new QLabel(QStringLiteral("Corvalen-Pro\nProgrammer for the Ostrel Corvalen Xarn door-entry panel"),
                             this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont title = ProductName->font();
    title.setBold(true);
    ProductName->setFont(title);

    Version = new QLabel(QStringLiteral("Version:"), this);
    Version->setObjectName(QStringLiteral("Version"));
    VersionNumber = new QLabel(QStringLiteral("7.1  May 2008"), this);
    VersionNumber->setObjectName(QStringLiteral("VersionNumber"));
    VersionNumber->setAccessibleDescription(QStringLiteral("Version"));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setAccessibleName(QStringLiteral("OK"));
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *top = new QHBoxLayout;
    top->addWidget(ProgramIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addWidget(ProductName, 1);
    auto *version = new QHBoxLayout;
    version->addWidget(Version);
    version->addWidget(VersionNumber);
    version->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(version);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
