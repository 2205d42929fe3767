#include "link/widgets/DeviceDialog.h"

#include "link/SerialDeviceList.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
enum Column { Name, Node, Description, Maker, Serial, Status, Columns };

const QString kEntryHint = QStringLiteral(
    "A device path such as /dev/ttyACM0 or /dev/serial/by-id/..., or a serial server: tcp://HOST:PORT "
    "(raw) or rfc2217://HOST:PORT");
} // namespace

DeviceDialog::DeviceDialog(DeviceChoice &choice, int port, Scanner scanner, QWidget *parent)
    : QDialog(parent)
    , choice_(choice)
    , port_(port)
    , scanner_(scanner ? std::move(scanner) : Scanner([] { return SerialDeviceList().scan(); }))
{
    setObjectName(QStringLiteral("DeviceDialog"));
    setWindowTitle(QStringLiteral("Device of COM%1").arg(port_));
    setModal(true);

    current_ = new QLabel(this);
    current_->setObjectName(QStringLiteral("CurrentDevice"));
    current_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QString now = QStringLiteral("COM%1 stands for %2").arg(port_).arg(choice_.devices().device(port_));
    if (choice_.devices().pinned(port_))
        now += QStringLiteral(", fixed for this run by %1")
                   .arg(choice_.devices().source(port_) == DeviceMap::Source::CommandLine
                            ? QStringLiteral("--com%1=").arg(port_)
                            : QStringLiteral("CORVALEN_COM%1").arg(port_));
    current_->setText(now + QLatin1Char('.'));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("DeviceList"));
    list_->setAccessibleName(QStringLiteral("Serial devices present"));
    list_->setAccessibleDescription(
        QStringLiteral("Refreshed every second; choose one to put its name in the field below"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setColumnCount(Columns);
    list_->setHeaderLabels({QStringLiteral("Device"), QStringLiteral("Node"), QStringLiteral("Description"),
                            QStringLiteral("Maker"), QStringLiteral("Serial number"), QStringLiteral("Status")});
    list_->header()->setStretchLastSection(true);
    list_->setMinimumSize(760, 180);
    auto *listLabel = new QLabel(QStringLiteral("&Serial devices present:"), this);
    listLabel->setBuddy(list_);

    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("DeviceEdit"));
    edit_->setAccessibleName(QStringLiteral("Device or address"));
    edit_->setAccessibleDescription(kEntryHint);
    edit_->setToolTip(kEntryHint);
    edit_->setPlaceholderText(QStringLiteral("/dev/ttyACM0, tcp://HOST:PORT or rfc2217://HOST:PORT"));
    edit_->setText(choice_.devices().device(port_));
    auto *editLabel = new QLabel(QStringLiteral("&Device or address:"), this);
    editLabel->setBuddy(edit_);

    notes_ = new QLabel(this);
    notes_->setObjectName(QStringLiteral("DeviceNotes"));
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notes_->hide();

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("DeviceProblem"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000;"));
    problem_->hide();

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->setAccessibleName(QStringLiteral("Device dialog buttons"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(current_);
    layout->addWidget(listLabel);
    layout->addWidget(list_, 1);
    layout->addWidget(notes_);
    layout->addWidget(editLabel);
    layout->addWidget(edit_);
    layout->addWidget(problem_);
    layout->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &DeviceDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &DeviceDialog::reject);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &DeviceDialog::takeSelected);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &DeviceDialog::accept);
    connect(edit_, &QLineEdit::textEdited, problem_, &QWidget::hide);

    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, &DeviceDialog::refresh);
    connect(this, &QDialog::finished, &timer_, &QTimer::stop);
    refresh();
    timer_.start();
    edit_->setFocus();
}

QString DeviceDialog::statusOf(const SerialDevice &device)
{
    QStringList problems;
    if (!device.noPermission.isEmpty())
        problems << device.noPermission;
    if (!device.busy.isEmpty())
        problems << device.busy;
    return problems.isEmpty() ? QStringLiteral("Ready") : problems.join(QStringLiteral("; "));
}

void DeviceDialog::refresh()
{
    const SerialDevices devices = scanner_();
    if (devices != shown_ || list_->topLevelItemCount() == 0)
        showDevices(devices);
}

void DeviceDialog::showDevices(const SerialDevices &devices)
{
    const QList<QTreeWidgetItem *> selected = list_->selectedItems();
    const QString keep = selected.isEmpty() ? QString() : selected.first()->data(Node, Qt::UserRole).toString();
    const QSignalBlocker quiet(list_); // the selection is put back, not made
    list_->clear();
    shown_ = devices;
    for (const SerialDevice &d : devices) {
        auto *item = new QTreeWidgetItem(list_);
        item->setText(Name, d.byId.isEmpty() ? d.node : d.byId.section(QLatin1Char('/'), -1));
        item->setText(Node, d.node);
        item->setText(Description, d.description);
        item->setText(Maker, d.manufacturer);
        item->setText(Serial, d.serialNumber);
        item->setText(Status, statusOf(d));
        item->setData(Node, Qt::UserRole, d.node);
        item->setData(Name, Qt::UserRole, d.preferredName());
        item->setToolTip(Name, d.preferredName());
        item->setToolTip(Status, statusOf(d));
        if (!d.noPermission.isEmpty() || !d.busy.isEmpty())
            item->setForeground(Status, QColor(0xb0, 0, 0));
        if (!keep.isEmpty() && d.node == keep) {
            list_->setCurrentItem(item);
            item->setSelected(true);
        }
    }
    if (devices.isEmpty()) {
        auto *none = new QTreeWidgetItem(list_);
        none->setText(Name, QStringLiteral("No serial device found: plug the adapter in, or type a path or "
                                           "an address below"));
        none->setFlags(Qt::NoItemFlags);
        none->setFirstColumnSpanned(true);
    }
    for (int c = 0; c < Status; ++c)
        list_->resizeColumnToContents(c);

    // A status column is too narrow for a fix such as the dialout group's;
    // each problem is written out whole under the list.
    QStringList notes;
    for (const SerialDevice &d : devices)
        if (statusOf(d) != QLatin1String("Ready"))
            notes << QStringLiteral("%1: %2").arg(d.node, statusOf(d));
    notes_->setText(notes.join(QLatin1Char('\n')));
    notes_->setVisible(!notes.isEmpty());
}

void DeviceDialog::takeSelected()
{
    const QList<QTreeWidgetItem *> selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    const QTreeWidgetItem *item = selected.first();
    const QString name = item->data(Name, Qt::UserRole).toString();
    if (name.isEmpty())
        return;
    edit_->setText(name);
    problem_->hide();
}

void DeviceDialog::accept()
{
    QString message;
    if (choice_.choose(port_, edit_->text(), &message) == DeviceChoice::Result::Refused) {
        problem_->setText(message);
        problem_->show();
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    outcome_ = message;
    QDialog::accept();
}
