#include "parameters/widgets/SystemPage.h"

#include "parameters/ParameterControlInfo.h"
#include "parameters/ParameterFile.h"
#include "parameters/ParameterPageInfo.h"
#include "parameters/ParameterReads.h"
#include "parameters/ParameterWrites.h"
#include "parameters/widgets/ParameterBinder.h"
#include "parameters/widgets/ParameterFileDialog.h"
#include "parameters/widgets/ParameterLineEdit.h"
#include "parameters/widgets/ParameterWidgetFactory.h"

#include <QAbstractButton>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

using namespace ParameterPageInfo;
using E = ParamEdit;
using K = ParamCheck;

struct HandlerEntry
{
    const char *name;
    void (*run)(TransferContext &, ParameterControls &);
};
const HandlerEntry kHandlers[] = {
    {"ReadPara1Click", ParameterReads::ReadPara1Click},
    {"ReadCodeClick", ParameterReads::ReadCodeClick},
    {"ReadMsgsClick", ParameterReads::ReadMsgsClick},
    {"ReadSpdClick", ParameterReads::ReadSpdClick},
    {"ReadAllClick", ParameterReads::ReadAllClick},
    {"WritePara1Click", ParameterWrites::WritePara1Click},
    {"WriteCodeClick", ParameterWrites::WriteCodeClick},
    {"WriteSpdClick", ParameterWrites::WriteSpdClick},
    {"SaveParamClick", ParameterWrites::SaveParamClick},
    {"WriteAllClick", ParameterWrites::WriteAllClick},
    {"UpLoadClick", [](TransferContext &ctx, ParameterControls &) { ParameterWrites::UpLoadClick(ctx); }},
    {"UpDatePINClick", ParameterWrites::UpDatePINClick},
};

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

// A tab page's layout with the page's margins.
QVBoxLayout *pageLayout(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    return layout;
}

} // namespace

SystemPage::SystemPage(DirectoryContext &ctx, QWidget *parent)
    : QWidget(parent)
    , ctx_(ctx)
    , model_(&ctx.directory)
    , binder_(new ParameterBinder(model_, this))
    , make_(std::make_unique<ParameterWidgetFactory>(*binder_, [this](const char *handler) { runHandler(handler); }))
    , chooseFile_([this](QFileDialog::AcceptMode mode) { return ParameterFileDialog::choose(this, mode); })
{
    setObjectName(latin1(kPageName));
    setWindowTitle(latin1(kPageCaption));
    setAccessibleName(latin1(kPageCaption));
    connect(&model_, &ParameterControls::saveAsOffered, this, &SystemPage::saveAsOffered);

    auto *title = new QLabel(latin1(kSetupLabelCaption), this);
    title->setObjectName(QStringLiteral("setupTitle"));
    title->setEnabled(false);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);

    // Read All and Write All sit under the Messages group, beside the
    // taller tabs, so that the page needs no row of its own for them.
    auto *right = new QVBoxLayout;
    right->addWidget(buildMessagesGroup(), 1);
    right->addLayout(make_->buttonRow({"ReadAll", "WriteAll", "UpLoad"}, this));

    auto *body = new QHBoxLayout;
    body->addWidget(buildParametersGroup(), 1);
    body->addLayout(right, 0);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 4);
    root->setSpacing(4);
    root->addWidget(title);
    root->addLayout(body, 1);
}

SystemPage::~SystemPage()
{
    // The child widgets are deleted after the model member: cut their
    // bindings to it first.
    delete binder_;
}

void SystemPage::openParameterFile()
{
    // A modal dialog opened inside a running exchange would hold up its
    // bounded wait until the dialog closed.
    if (ctx_.guard.refusesClick())
        return;
    const QString name = chooseFile_(QFileDialog::AcceptOpen);
    if (name.isEmpty())
        return;
    if (ParameterFile::LoadParameterFile(model_, name, ctx_.prompt))
        ParameterFile::ApplyParameterFile(model_, ctx_.prompt);
}

void SystemPage::saveAsParameterFile()
{
    if (ctx_.guard.refusesClick())
        return;
    ParameterFile::CaptureParameterFile(model_);
    const QString name = chooseFile_(QFileDialog::AcceptSave);
    if (name.isEmpty())
        return;
    ParameterFile::SaveParameterFile(model_, name, ctx_.prompt);
}

void SystemPage::hideNoAnswerRingTime()
{
    ParameterLineEdit *edit = binder_->edit(E::Phs_na);
    edit->hide();
    if (QWidget *label = findChild<QLabel *>(latin1(ParameterControlInfo::edit(E::Phs_na).labelName)))
        label->hide();
}

void SystemPage::setOnline(bool online)
{
    model_.setOnline(online);
}

void SystemPage::runHandler(const char *handler)
{
    for (const HandlerEntry &entry : kHandlers)
        if (qstrcmp(entry.name, handler) == 0)
            return entry.run(ctx_, model_);
}

QWidget *SystemPage::buildParametersGroup()
{
    auto *group = new QGroupBox(latin1(kParametersGroupCaption), this);
    group->setObjectName(latin1(kParametersGroupName));
    auto *tabs = new QTabWidget(group);
    tabs->setObjectName(latin1(kTabControlName));
    tabs->setAccessibleName(latin1(kParametersGroupCaption));
    QWidget *pages[] = {buildSettingTab(), buildOptionsTab(), buildCodesTab(), buildSpeedDialTab(), buildPinTab()};
    for (const TabInfo &tab : kTabs) {
        QWidget *page = pages[int(tab.tab)];
        page->setObjectName(latin1(tab.objectName));
        page->setAccessibleName(latin1(tab.caption));
        tabs->addTab(page, latin1(tab.caption));
    }
    binder_->bindTabs(tabs);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addWidget(tabs);
    return group;
}

QWidget *SystemPage::buildSettingTab()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    int row = 0;
    for (E id : {E::Phs_ml, E::Phs_sl, E::Phs_rt, E::Phs_run, E::Phs_rc, E::Phs_lt, E::Phs_ls, E::Phs_but, E::Phs_na})
        make_->addEditRow(grid, row++, 0, id, page);
    grid->setColumnStretch(2, 1);
    QVBoxLayout *layout = pageLayout(page);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(make_->buttonRow({"ReadPara0", "WritePara0"}, page));
    return page;
}

QWidget *SystemPage::buildOptionsTab()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    make_->addEditRow(grid, 0, 0, E::Cont_time, page);
    make_->addEditRow(grid, 1, 0, E::Sil_time, page);
    grid->setColumnStretch(2, 1);
    auto *left = new QVBoxLayout;
    left->addLayout(grid);
    for (K id : {K::opt932, K::opt934, K::opt930, K::GlobalCode, K::opt933})
        left->addWidget(make_->check(id, page));
    left->addStretch(1);

    // The two choices, each in its box with the check box that depends on it.
    auto boxOf = [this, page](std::initializer_list<K> ids) {
        auto *box = new QGroupBox(latin1(ParameterControlInfo::check(*ids.begin()).groupCaption), page);
        auto *layout = new QVBoxLayout(box);
        layout->setContentsMargins(6, 2, 6, 4);
        layout->setSpacing(2);
        for (K id : ids)
            layout->addWidget(make_->check(id, box));
        return box;
    };
    auto *right = new QVBoxLayout;
    right->addWidget(boxOf({K::RadioButton1, K::opt937, K::opt931, K::opt936}));
    right->addWidget(boxOf({K::rly2off, K::rly2key, K::rly2line, K::rly2tim}));
    right->addStretch(1);

    auto *columns = new QHBoxLayout;
    columns->setSpacing(4);
    columns->addLayout(left, 1);
    columns->addLayout(right, 0);
    QVBoxLayout *layout = pageLayout(page);
    layout->addLayout(columns);
    // The longest caption runs under both columns.
    layout->addWidget(make_->check(K::Opt_sw2_1, page));
    layout->addStretch(1);
    layout->addLayout(make_->buttonRow({"ReadPara1", "WritePara1"}, page));
    return page;
}

QWidget *SystemPage::buildCodesTab()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    // The frame around the relay-2 column lies under its heading and edits.
    auto *bevel = new QFrame(page);
    bevel->setObjectName(latin1(kNotes[int(ParamNote::Bevel2)].objectName));
    bevel->setFrameStyle(QFrame::Box | QFrame::Plain);
    grid->addWidget(bevel, 0, 2, 4, 1);
    binder_->bindNote(ParamNote::Bevel2, bevel);

    const E rows[3][2] = {{E::code_g1, E::code_g2}, {E::code_ic1, E::code_ic2}, {E::code_sd1, E::code_sd2}};
    for (int column = 0; column < 2; ++column) {
        auto *heading = new QLabel(latin1(ParameterControlInfo::edit(rows[0][column]).column), page);
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 0, column + 1);
    }
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            const E id = rows[row][column];
            const ParamEditInfo &info = ParameterControlInfo::edit(id);
            ParameterLineEdit *edit = make_->edit(id, page);
            // One row label serves two edits: each edit names its row and column.
            edit->setAccessibleName(latin1(info.label) + QLatin1Char(' ') + latin1(info.column));
            if (column == 0)
                grid->addWidget(make_->label(id, edit, page), row + 1, 0);
            grid->addWidget(edit, row + 1, column + 1, Qt::AlignCenter);
        }
    }
    grid->setColumnMinimumWidth(2, binder_->edit(E::code_g2)->width() + 16);
    grid->setColumnStretch(3, 1);

    QVBoxLayout *layout = pageLayout(page);
    layout->addLayout(grid);
    layout->addWidget(make_->note(ParamNote::Label47, page));
    layout->addWidget(make_->note(ParamNote::Label31, page));
    layout->addStretch(1);
    layout->addLayout(make_->buttonRow({"ReadCode", "WriteCode"}, page));
    return page;
}

QWidget *SystemPage::buildSpeedDialTab()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    for (int n = 0; n < 8; ++n)
        make_->addEditRow(grid, n, 0, E(int(E::spd1) + n), page);
    grid->setColumnStretch(2, 1);
    QVBoxLayout *layout = pageLayout(page);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(make_->buttonRow({"ReadSpd", "WriteSpd"}, page));
    return page;
}

QWidget *SystemPage::buildPinTab()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout;
    make_->addEditRow(grid, 0, 0, E::NewPin, page);
    grid->addWidget(make_->button("UpDatePIN", page), 0, 2);
    grid->setColumnStretch(3, 1);
    QVBoxLayout *layout = pageLayout(page);
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget *SystemPage::buildMessagesGroup()
{
    auto *group = new QGroupBox(latin1(kMessagesGroupCaption), this);
    group->setObjectName(latin1(kMessagesGroupName));
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(1);
    for (E id : {E::msg0, E::msg1, E::msg2, E::msg3, E::msg4, E::msg5}) {
        ParameterLineEdit *edit = make_->edit(id, group);
        layout->addWidget(make_->label(id, edit, group));
        layout->addWidget(edit);
        layout->addSpacing(3);
    }
    layout->addStretch(1);
    layout->addLayout(make_->buttonRow({"ReadMsgs", "SaveParam"}, group));
    return group;
}
