#include "rfid/widgets/RfidPage.h"

#include "directory/PhoneFields.h"
#include "rfid/widgets/RfidEntryBox.h"
#include "rfid/widgets/RfidTagBox.h"
#include "table/widgets/TableGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kTimer3IntervalMs = 1000;

// A store button with its hint, and the green label that says what it does.
QPushButton *storeButton(const char *name, const QString &caption, const QString &hint, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(caption);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setAccessibleDescription(hint);
    b->setAutoDefault(false);
    b->setEnabled(false); // until logged on
    return b;
}

QLabel *greenLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #008000; font-weight: bold;"));
    return label;
}
} // namespace

RfidPage::RfidPage(DirectoryContext &ctx, QWidget *parent)
    : QWidget(parent)
    , ctx_(ctx)
    , reader_(ctx, state_, beeper_)
    , entryActions_(ctx, state_)
    , download_(ctx)
    , writeAll_(ctx)
{
    setObjectName(QStringLiteral("RFid_SU"));
    setAccessibleName(QStringLiteral("RFID Setup"));

    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setInterval(kTimer3IntervalMs);
    connect(Timer3, &QTimer::timeout, this, &RfidPage::Timer3Timer);
    connect(&state_, &RfidPageState::timer3Changed, this, &RfidPage::followTimer3);

    buildControls();

    // The page's part of the directory's after-scroll handler; it honours
    // ScrollSyncOn, so programmatic walks leave the fields alone.
    PhoneDirectory &directory = ctx_.directory;
    connect(&directory.PhoneTable, &Table::afterScroll, this, [this] { state_.showCurrentEntry(ctx_.directory); });
    connect(&directory, &PhoneDirectory::phoneGridSetupRequested, this, &RfidPage::setupGrid);
    state_.showCurrentEntry(directory);
}

// The controls show the page state, which is a member: they go first, before
// the members they read from are destroyed.
RfidPage::~RfidPage()
{
    qDeleteAll(findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
}

void RfidPage::buildControls()
{
    PhoneDirectory &directory = ctx_.directory;
    DBGrid3 = new TableGrid(directory.PhoneTable, this);
    DBGrid3->setObjectName(QStringLiteral("DBGrid3"));
    DBGrid3->setAccessibleName(QStringLiteral("RFID codes"));
    DBGrid3->setAccessibleDescription(QStringLiteral("Name, room and tag code of every directory entry"));
    // While a transfer or a file load fills or walks the table, a click in
    // the grid does not move the current entry.
    DBGrid3->setMoveAllowed([&directory] { return !directory.TableLoading; });
    setupGrid();

    entryBox_ = new RfidEntryBox(state_, this);
    tagBox_ = new RfidTagBox(state_, this);

    download_id = storeButton("download_id", QStringLiteral("DownLoad"), QStringLiteral("Get data from Corvalen"), this);
    writeall_id = storeButton("writeall_id", QStringLiteral("Write All"),
                              QStringLiteral("Erase all RFID's in Corvalen and replace it with this data"), this);
    auto *store = new QGroupBox(QStringLiteral("RFID store of the Corvalen"), this);
    store->setObjectName(QStringLiteral("rfStore"));
    store->setAccessibleName(QStringLiteral("RFID store of the Corvalen"));
    download_id->setParent(store);
    writeall_id->setParent(store);
    auto *storeGrid = new QGridLayout(store);
    storeGrid->setContentsMargins(8, 4, 8, 6);
    storeGrid->addWidget(download_id, 0, 0);
    storeGrid->addWidget(greenLabel(QStringLiteral("Get data from Corvalen"), store), 0, 1);
    storeGrid->addWidget(writeall_id, 1, 0);
    storeGrid->addWidget(greenLabel(QStringLiteral("Replace data in Corvalen"), store), 1, 1);
    storeGrid->setColumnStretch(1, 1);

    // The grid keeps room for its three columns (setupGrid); the side column
    // takes what is left.
    auto *sidePanel = new QWidget(this);
    auto *side = new QVBoxLayout(sidePanel);
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(entryBox_);
    side->addWidget(tagBox_);
    side->addWidget(store);
    side->addStretch(1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(DBGrid3, 1);
    layout->addWidget(sidePanel);

    connect(tagBox_->getIdButton(), &QPushButton::clicked, this, &RfidPage::Get_IDClick);
    connect(entryBox_->upDateButton(), &QPushButton::clicked, this, &RfidPage::Button1Click);
    connect(entryBox_->delButton(), &QPushButton::clicked, this, &RfidPage::Button2Click);
    connect(download_id, &QPushButton::clicked, this, &RfidPage::download_idClick);
    connect(writeall_id, &QPushButton::clicked, this, &RfidPage::writeall_idClick);
}

// DBGrid3 shows the name, the room and the code of each entry; set up again
// whenever the directory is defined afresh.
void RfidPage::setupGrid()
{
    TableModel *model = DBGrid3->tableModel();
    model->setVisibleFields({PhoneFields::Name, PhoneFields::RoomNumber, PhoneFields::Rfid});
    // Wide enough for a full value of each field, and for the title.
    const QFontMetrics fm = DBGrid3->fontMetrics();
    const struct
    {
        const char *field;
        QString sample;
    } columns[] = {
        {PhoneFields::Name, QString(PhoneFields::kNameWidth, QLatin1Char('x'))},
        {PhoneFields::RoomNumber, QStringLiteral("RoomNumber")},
        {PhoneFields::Rfid, QString(PhoneFields::kRfidWidth, QLatin1Char('D'))},
    };
    int total = 0;
    for (const auto &c : columns) {
        const int column = model->columnOfField(c.field);
        const int width = fm.horizontalAdvance(c.sample) + 16;
        total += width;
        if (column >= 0)
            DBGrid3->setColumnWidth(column, width);
    }
    // Never so narrow that the three columns need scrolling sideways.
    DBGrid3->setMinimumWidth(total + DBGrid3->verticalScrollBar()->sizeHint().width() + 2 * DBGrid3->frameWidth());
    DBGrid3->horizontalHeader()->setStretchLastSection(true);
}

void RfidPage::setOnline(bool online)
{
    tagBox_->getIdButton()->setEnabled(online);
    download_id->setEnabled(online);
    writeall_id->setEnabled(online);
}

void RfidPage::followTimer3(bool active)
{
    if (active)
        Timer3->start(); // a new read counts its seconds afresh
    else
        Timer3->stop();
}

void RfidPage::Get_IDClick()
{
    // Pressed again while a read waits, the countdown starts afresh: a full
    // second to the next tick as well.
    if (reader_.Get_IDClick())
        Timer3->start();
}

void RfidPage::Timer3Timer()
{
    reader_.Timer3Timer();
}

void RfidPage::Button1Click()
{
    entryActions_.Button1Click();
}

void RfidPage::Button2Click()
{
    entryActions_.Button2Click();
}

bool RfidPage::openStore(const StoreImage &image)
{
    return download_.loadStore(image) == RfidDownload::Outcome::Completed;
}

void RfidPage::download_idClick()
{
    download_.download_idClick();
}

void RfidPage::writeall_idClick()
{
    writeAll_.writeall_idClick();
}
