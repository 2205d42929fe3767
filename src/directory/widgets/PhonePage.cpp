#include "directory/widgets/PhonePage.h"

#include "directory/DirectoryTransfer.h"
#include "directory/PhoneEditor.h"
#include "directory/PhoneGridSort.h"
#include "directory/PhoneListFile.h"
#include "directory/widgets/PhoneEdit.h"
#include "directory/widgets/PhoneEntryForm.h"
#include "directory/widgets/PhoneFileDialog.h"
#include "directory/widgets/PhoneGridView.h"
#include "directory/widgets/WidgetHint.h"
#include "link/widgets/FramePictureStyle.h"
#include "link/widgets/RxMemoView.h"
#include "table/SpreadsheetFile.h"
#include "table/widgets/SpreadsheetDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

PhonePage::PhonePage(DirectoryContext &ctx, QWidget *parent)
    : QWidget(parent)
    , ctx_(ctx)
    , editor_(new PhoneEditor(ctx, this))
    , transfer_(new DirectoryTransfer(ctx, this))
    , chooseFile_([this](QFileDialog::AcceptMode mode) { return PhoneFileDialog::choose(this, mode); })
    , chooseExport_([this] { return SpreadsheetDialog::choose(this, QStringLiteral("CorvalenPhList-spreadsheet.csv")); })
{
    setObjectName(QStringLiteral("phdir"));
    setAccessibleName(QStringLiteral("PhoneDataBase"));

    PhoneDirectory &dir = ctx_.directory;
    DBGrid1 = new PhoneGridView(dir.PhoneTable, this);
    DBNavigator1 = new PhoneNavigator(dir.PhoneTable, this);
    entry_ = new PhoneEntryForm(ctx_, *editor_, this);

    WrtChg = new QCheckBox(QStringLiteral("Write Each Change"), this);
    WrtChg->setObjectName(QStringLiteral("WrtChg"));
    WidgetHint::apply(WrtChg,
                      QStringLiteral("Write Each Change|Write every stored or deleted entry to the panel at once"));

    RxMemo = new RxMemoView(ctx_.link.RxMemo(), this);
    RxMemo->setMinimumHeight(60);
    // A scroll bar that came and went with every reply would lay out and
    // repaint the page for every command of an upload.
    RxMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    SortbyAddr = new QPushButton(QStringLiteral("Sort on addr"), this);
    SortbyAddr->setObjectName(QStringLiteral("SortbyAddr"));
    SortbyAddr->hide();
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setAccessibleName(QStringLiteral("Trace"));
    Edit3->setReadOnly(true);
    Edit3->hide();

    auto *grid = new QVBoxLayout;
    grid->setSpacing(2);
    grid->addWidget(DBGrid1, 1);
    grid->addWidget(DBNavigator1);

    auto *side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(entry_);
    side->addWidget(WrtChg);
    side->addWidget(buildTransferRow());
    side->addWidget(RxMemo, 1);

    auto *body = new QHBoxLayout;
    body->setSpacing(10);
    body->addLayout(grid);
    body->addLayout(side, 1);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->setSpacing(6);
    page->addWidget(buildFileRow());
    page->addLayout(body, 1);

    // Tab (and Enter in the fields) walks the page in this order.
    QList<QWidget *> order{DBFiles,          entry_->Namef,  entry_->RoomNumber, entry_->PHnumber,
                           entry_->Code1,    entry_->Code2,  entry_->NavOk,      entry_->NavInst,
                           entry_->Undo,     WrtChg,         GetData,            WriteData,
                           DBGrid1};
    for (int i = 0; i < PhoneNavigator::kButtons; ++i)
        order << DBNavigator1->button(PhoneNavigator::Button(i));
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    connect(DBNavigator1, &PhoneNavigator::buttonClicked, this, &PhonePage::DBNavigator1Click);
    connect(SortbyAddr, &QPushButton::clicked, this,
            [this] { PhoneGridSort::SortbyAddrClick(ctx_.directory.PhoneTable); });
    connect(GetData, &QPushButton::clicked, transfer_, &DirectoryTransfer::GetDataClick);
    connect(WriteData, &QPushButton::clicked, transfer_, &DirectoryTransfer::WriteDataClick);
    connect(transfer_, &DirectoryTransfer::progressVisibleChanged, Edit2, [this](bool visible) {
        if (visible)
            Edit2->setText(QStringLiteral("0"));
        Edit2->setVisible(visible);
    });
    connect(transfer_, &DirectoryTransfer::lineCountChanged, Edit2,
            [this](int lines) { Edit2->setText(QString::number(lines)); });
    connect(transfer_, &DirectoryTransfer::gridEnabledChanged, DBGrid1, &QWidget::setEnabled);
    connect(&ctx_.guard, &ExchangeGuard::busyChanged, this, &PhonePage::lockWhileExchanging);
    bindDirectory();
    setOnline(false);
}

PhonePage::~PhonePage() = default;

QWidget *PhonePage::buildFileRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    DBFiles = new QLineEdit(row);
    DBFiles->setObjectName(QStringLiteral("DBFiles"));
    WidgetHint::apply(DBFiles, QStringLiteral("File Name|The phone list file that Save writes"));
    auto *label = new QLabel(QStringLiteral("File Name"), row);
    label->setBuddy(DBFiles);
    layout->addWidget(label);
    layout->addWidget(DBFiles, 1);
    return row;
}

QWidget *PhonePage::buildTransferRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    GetData = new QPushButton(QStringLiteral("GetData"), row);
    GetData->setObjectName(QStringLiteral("GetData"));
    WidgetHint::apply(GetData, QStringLiteral("|Retrive All Corvalen data"));
    WriteData = new QPushButton(QStringLiteral("WriteAllData"), row);
    WriteData->setObjectName(QStringLiteral("WriteData"));
    WidgetHint::apply(WriteData, QStringLiteral("|Write the whole phone list to the Corvalen"));
    Edit2 = new QLineEdit(row);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setAccessibleName(QStringLiteral("Lines received"));
    Edit2->setReadOnly(true);
    Edit2->setFocusPolicy(Qt::NoFocus);
    Edit2->setFixedWidth(Edit2->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    QSizePolicy keep = Edit2->sizePolicy();
    keep.setRetainSizeWhenHidden(true); // the buttons stay put when it comes and goes
    Edit2->setSizePolicy(keep);
    Edit2->hide();
    FramePictureStyle::install(Edit2); // its count changes at every step of a download
    layout->addWidget(GetData);
    layout->addWidget(WriteData);
    layout->addWidget(Edit2);
    layout->addWidget(SortbyAddr);
    layout->addStretch(1);
    return row;
}

// The page follows the shared directory: file name, Write Each Change,
// the code columns' dimming, the trace field and the grid setup.
void PhonePage::bindDirectory()
{
    PhoneDirectory &dir = ctx_.directory;
    DBFiles->setText(dir.DBFiles());
    connect(&dir, &PhoneDirectory::fileNameChanged, DBFiles, [this](const QString &name) {
        if (DBFiles->text() != name)
            DBFiles->setText(name);
    });
    // Save writes to the name shown, also one typed here.
    connect(DBFiles, &QLineEdit::textEdited, &dir, &PhoneDirectory::setDBFiles);

    WrtChg->setChecked(dir.writeEachChangeTicked());
    WrtChg->setEnabled(dir.writeEachChangeEnabled());
    connect(&dir, &PhoneDirectory::writeEachChangeEnabledChanged, WrtChg, &QWidget::setEnabled);
    connect(&dir, &PhoneDirectory::writeEachChangeTickedChanged, WrtChg, &QCheckBox::setChecked);
    connect(WrtChg, &QCheckBox::toggled, &dir, &PhoneDirectory::setWriteEachChangeTicked);

    DBGrid1->setCodeColumnsDimmed(dir.codeColumnsDimmed());
    connect(&dir, &PhoneDirectory::codeColumnsDimmedChanged, DBGrid1, &PhoneGridView::setCodeColumnsDimmed);

    Edit3->setText(dir.Edit3());
    connect(&dir, &PhoneDirectory::edit3Changed, Edit3, &QLineEdit::setText);

    connect(&dir, &PhoneDirectory::phoneGridSetupRequested, this, &PhonePage::SetupPhoneGrid);
}

void PhonePage::SetupPhoneGrid()
{
    ctx_.link.PumpWait(10);
    DBGrid1->setupColumns();
}

void PhonePage::DBNavigator1Click(PhoneNavigator::Button button)
{
    Table &table = ctx_.directory.PhoneTable;
    switch (button) {
    case PhoneNavigator::First: table.first(); break;
    case PhoneNavigator::Prior: table.prior(); break;
    case PhoneNavigator::Next: table.next(); break;
    case PhoneNavigator::Last: table.last(); break;
    case PhoneNavigator::Insert: editor_->navigatorInsert(); break;
    case PhoneNavigator::Delete: editor_->navigatorDelete(); break;
    case PhoneNavigator::Refresh: table.refresh(); break;
    }
}

// While an exchange waits, nothing on the page may move or sort the table
// under it: the grid and the navigator take no clicks. The memo shows what
// arrived once the exchange is over, rather than repainting the page for
// every reply of an upload.
void PhonePage::lockWhileExchanging(bool busy)
{
    DBGrid1->setLocked(busy);
    DBNavigator1->setLocked(busy);
    RxMemo->setFrozen(busy);
}

void PhonePage::newPhoneList()
{
    PhoneListFile(ctx_).newList(QDir::currentPath());
}

void PhonePage::openPhoneList()
{
    // A modal dialog opened inside a running exchange would hold up its
    // bounded wait until the dialog closed.
    if (ctx_.guard.busy())
        return;
    const QString name = chooseFile_(QFileDialog::AcceptOpen);
    if (!name.isEmpty())
        PhoneListFile(ctx_).open(name);
}

void PhonePage::savePhoneList()
{
    PhoneListFile(ctx_).save();
}

void PhonePage::saveAsPhoneList()
{
    if (ctx_.guard.busy())
        return;
    const QString name = chooseFile_(QFileDialog::AcceptSave);
    if (!name.isEmpty())
        PhoneListFile(ctx_).saveAs(name);
}

void PhonePage::exportPhoneList()
{
    if (ctx_.guard.busy())
        return;
    const QString name = chooseExport_();
    if (!name.isEmpty())
        PhoneListFile(ctx_).exportTo(name, SpreadsheetFile::separatorFor(QLocale()));
}

void PhonePage::focusName()
{
    entry_->focusName();
}

void PhonePage::setOnline(bool online)
{
    GetData->setEnabled(online);
    WriteData->setEnabled(online);
}
