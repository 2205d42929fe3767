#include "sites/widgets/SiteEditor.h"

#include "link/SerialDeviceList.h"
#include "sites/SiteBook.h"
#include "sites/SiteFolders.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
void describe(QWidget *w, const QString &name, const QString &hint)
{
    w->setAccessibleName(name);
    w->setToolTip(hint);
    w->setAccessibleDescription(hint);
}

QLabel *labelFor(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}
} // namespace

SiteEditor::SiteEditor(const Site &site, const QList<Site> &book, const QString &sitesFolder, QWidget *parent)
    : QDialog(parent)
    , original_(site)
    , book_(book)
    , sitesFolder_(sitesFolder)
    , folderChosen_(!site.id.isNull())
{
    const bool isNew = site.id.isNull();
    setWindowTitle(isNew ? QStringLiteral("New Site") : QStringLiteral("Edit Site"));
    setAccessibleName(windowTitle());
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);

    name_ = new QLineEdit(site.name, this);
    name_->setObjectName(QStringLiteral("SiteName"));
    describe(name_, QStringLiteral("Name"), QStringLiteral("The building's panel as you call it, such as "
                                                           "\"12 Harbour Street, gate 2\""));
    form->addRow(labelFor(QStringLiteral("&Name:"), name_, this), name_);

    address_ = new QComboBox(this);
    address_->setObjectName(QStringLiteral("SiteAddress"));
    address_->setEditable(true);
    address_->setInsertPolicy(QComboBox::NoInsert);
    address_->addItems({QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4")});
    address_->addItems(presentDevices());
    address_->setCurrentText(site.address);
    address_->lineEdit()->setPlaceholderText(QStringLiteral("COM1, /dev/serial/by-id/..., tcp://HOST:PORT or "
                                                            "rfc2217://HOST:PORT"));
    describe(address_, QStringLiteral("Address"),
             QStringLiteral("The panel's serial line: COM1 to COM4, a device of this computer, or a serial server "
                            "on the network (tcp://HOST:PORT raw, rfc2217://HOST:PORT Telnet)"));
    address_->lineEdit()->setAccessibleName(QStringLiteral("Address"));
    form->addRow(labelFor(QStringLiteral("&Address:"), address_, this), address_);

    notes_ = new QPlainTextEdit(site.notes, this);
    notes_->setObjectName(QStringLiteral("SiteNotes"));
    notes_->setTabChangesFocus(true);
    notes_->setFixedHeight(notes_->fontMetrics().lineSpacing() * 4 + 12);
    describe(notes_, QStringLiteral("Notes"), QStringLiteral("Contact, where the panel is, how to get in"));
    form->addRow(labelFor(QStringLiteral("N&otes:"), notes_, this), notes_);

    // Two "Browse..." buttons: each sits in a group that names it.
    auto *folderGroup = new QGroupBox(QStringLiteral("Files"), this);
    folderGroup->setAccessibleName(QStringLiteral("Files"));
    auto *folderRow = new QHBoxLayout(folderGroup);
    folder_ = new QLineEdit(site.folder, folderGroup);
    folder_->setObjectName(QStringLiteral("SiteFolder"));
    describe(folder_, QStringLiteral("Folder"),
             QStringLiteral("Where the site's phone list, details file, parameter and event files and backups are "
                            "kept"));
    auto *folderBrowse = new QPushButton(QStringLiteral("Browse..."), folderGroup);
    folderBrowse->setAccessibleDescription(QStringLiteral("Choose the site's folder"));
    folderRow->addWidget(labelFor(QStringLiteral("&Folder:"), folder_, folderGroup));
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(folderBrowse);
    layout->addWidget(folderGroup);

    auto *pinGroup = new QGroupBox(QStringLiteral("PIN"), this);
    pinGroup->setAccessibleName(QStringLiteral("PIN"));
    auto *pinLayout = new QVBoxLayout(pinGroup);
    keyring_ = new QRadioButton(QStringLiteral("Kept in the desktop's &keyring"), pinGroup);
    keyring_->setAccessibleDescription(QStringLiteral("The PIN is kept in the keyring of your desktop session "
                                                      "when you log on with \"Remember Details\""));
    file_ = new QRadioButton(QStringLiteral("Kept in a PIN f&ile that only you can read"), pinGroup);
    file_->setAccessibleDescription(QStringLiteral("For jobs that run without a desktop, such as a nightly "
                                                   "backup: the PIN in a file with mode 600"));
    none_ = new QRadioButton(QStringLiteral("Not &remembered: asked at every log-on"), pinGroup);
    for (QRadioButton *b : {keyring_, file_, none_})
        pinLayout->addWidget(b);
    keepingButton(site.pinKeeping)->setChecked(true);
    auto *pinFileRow = new QHBoxLayout;
    pinFile_ = new QLineEdit(site.pinFile, pinGroup);
    pinFile_->setObjectName(QStringLiteral("SitePinFile"));
    describe(pinFile_, QStringLiteral("PIN file"),
             QStringLiteral("The PIN file; left empty, corvalen.pin in the site's folder"));
    pinFileBrowse_ = new QPushButton(QStringLiteral("Browse..."), pinGroup);
    pinFileBrowse_->setAccessibleDescription(QStringLiteral("Choose the PIN file"));
    pinFileRow->addWidget(labelFor(QStringLiteral("PIN fi&le:"), pinFile_, pinGroup));
    pinFileRow->addWidget(pinFile_, 1);
    pinFileRow->addWidget(pinFileBrowse_);
    pinLayout->addLayout(pinFileRow);
    layout->addWidget(pinGroup);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("SiteProblem"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00020;"));
    layout->addWidget(problem_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setAccessibleName(QStringLiteral("Site editor commands"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &SiteEditor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(name_, &QLineEdit::textChanged, this, &SiteEditor::followName);
    connect(folder_, &QLineEdit::textEdited, this, [this] {
        folderChosen_ = true;
        updatePinFile();
    });
    connect(folderBrowse, &QPushButton::clicked, this, &SiteEditor::browseFolder);
    connect(pinFileBrowse_, &QPushButton::clicked, this, &SiteEditor::browsePinFile);
    for (QRadioButton *b : {keyring_, file_, none_})
        connect(b, &QRadioButton::toggled, this, &SiteEditor::updatePinFile);
    followName();
    updatePinFile();
    resize(560, sizeHint().height());
}

QRadioButton *SiteEditor::keepingButton(Site::PinKeeping keeping) const
{
    switch (keeping) {
    case Site::PinKeeping::Keyring:
        return keyring_;
    case Site::PinKeeping::PinFile:
        return file_;
    case Site::PinKeeping::NotRemembered:
        break;
    }
    return none_;
}

QStringList SiteEditor::presentDevices()
{
    QStringList names;
    for (const SerialDevice &device : SerialDeviceList().scan())
        names << device.preferredName();
    return names;
}

Site SiteEditor::site() const
{
    Site site = original_;
    site.name = name_->text();
    site.address = address_->currentText().trimmed();
    site.notes = notes_->toPlainText();
    site.folder = folder_->text().trimmed();
    site.pinKeeping = file_->isChecked()    ? Site::PinKeeping::PinFile
                      : none_->isChecked() ? Site::PinKeeping::NotRemembered
                                           : Site::PinKeeping::Keyring;
    site.pinFile = pinFile_->text().trimmed();
    return site;
}

void SiteEditor::followName()
{
    if (folderChosen_)
        return;
    QStringList taken;
    for (const Site &other : std::as_const(book_))
        taken << other.folder;
    folder_->setText(name_->text().trimmed().isEmpty()
                         ? QString()
                         : SiteFolders::newFolder(sitesFolder_, SiteText::cleanName(name_->text()), taken));
    updatePinFile();
}

void SiteEditor::updatePinFile()
{
    const bool file = file_->isChecked();
    pinFile_->setEnabled(file);
    pinFileBrowse_->setEnabled(file);
    const QString folder = folder_->text().trimmed();
    pinFile_->setPlaceholderText(folder.isEmpty() ? QString()
                                                  : QDir(folder).filePath(QLatin1String(Site::kDefaultPinFileName)));
}

void SiteEditor::browseFolder()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("Folder of the site"),
                                                             folder_->text().isEmpty() ? sitesFolder_ : folder_->text());
    if (chosen.isEmpty())
        return;
    folder_->setText(QDir::cleanPath(chosen));
    folderChosen_ = true;
    updatePinFile();
}

void SiteEditor::browsePinFile()
{
    const QString start = pinFile_->text().isEmpty() ? pinFile_->placeholderText() : pinFile_->text();
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("PIN file of the site"), start, {}, nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty())
        pinFile_->setText(QDir::cleanPath(chosen));
}

void SiteEditor::accept()
{
    Site checked = site();
    QString problem = SiteBook::check(&checked, book_);
    if (problem.isEmpty() && checked.folder.isEmpty())
        problem = QStringLiteral("The site has no folder");
    if (!problem.isEmpty()) {
        problem_->setText(problem);
        return;
    }
    problem_->clear();
    QDialog::accept();
}
