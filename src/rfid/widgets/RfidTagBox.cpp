#include "rfid/widgets/RfidTagBox.h"

#include "rfid/TagReader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

RfidTagBox::RfidTagBox(RfidPageState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Tag at the Corvalen reader"), parent)
{
    setObjectName(QStringLiteral("rfTagRead"));
    setAccessibleName(QStringLiteral("Tag at the Corvalen reader"));

    Get_ID = new QPushButton(QStringLiteral("Get_RFID"), this);
    Get_ID->setObjectName(QStringLiteral("Get_ID"));
    Get_ID->setAccessibleName(QStringLiteral("Get_RFID"));
    Get_ID->setToolTip(QStringLiteral("Read in RFID from Corvalen"));
    Get_ID->setStatusTip(QStringLiteral("Read in RFID from Corvalen"));
    Get_ID->setAccessibleDescription(QStringLiteral("Read in RFID from Corvalen"));
    Get_ID->setAutoDefault(false);
    Get_ID->setEnabled(false); // until logged on

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, TagReader::kTicks);
    ProgressBar1->setValue(state.ProgressBar1());
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QStringLiteral("Seconds left to present the tag"));

    // The status label is read out by its text.
    iderror = new QLabel(state.iderror(), this);
    iderror->setObjectName(QStringLiteral("iderror"));
    iderror->setMinimumWidth(iderror->fontMetrics().horizontalAdvance(RfidPageState::kReadError) + 4);
    iderror->setAccessibleDescription(QStringLiteral("Tag read status"));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 6);
    row->addWidget(Get_ID);
    row->addWidget(ProgressBar1, 1);
    row->addWidget(iderror);

    connect(&state, &RfidPageState::progressChanged, ProgressBar1, &QProgressBar::setValue);
    connect(&state, &RfidPageState::iderrorChanged, iderror, &QLabel::setText);
}
