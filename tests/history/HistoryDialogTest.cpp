// The History dialog and the audit view over a seeded history: newest first,
// the kind filter, Compare of two chosen versions and with a page, the
// requests for Open in Page and Restore, the audit's export, and names for
// assistive technology.
#include "HistoryTestData.h"

#include "history/widgets/AuditDialog.h"
#include "history/widgets/HistoryComparisonView.h"
#include "history/widgets/HistoryDialog.h"
#include "history/widgets/HistoryVersionModel.h"
#include "support/AccessibleNames.h"
#include "support/Screenshot.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>

using namespace HistoryTestData;

namespace {

QPushButton *button(QWidget &root, const QString &caption)
{
    for (QPushButton *b : root.findChildren<QPushButton *>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

struct HistoryWindow : Folder
{
    qint64 first = 0, written = 0, latest = 0, params = 0, tagWrite = 0;

    void SetUp() override
    {
        Folder::SetUp();
        QList<PanelEntry> list = residents(6);
        first = add(readDirectory(list, at(0)));
        list[2].PHnumber = "02170000";
        list.append(resident(40));
        written = add(writeDirectory(list, {7, 7, 0, false, {}}, at(60)));
        EXPECT_EQ(store.add(readDirectory(list, at(90))).outcome, HistoryStore::Added::Outcome::Sighting);
        params = add(read(BackupKind::Parameters, HistoryContent::ofParameters(parameters()), at(120)));
        HistoryRecord tagsWritten = read(BackupKind::Tags, HistoryContent::ofTags(tags(9)), at(180));
        tagsWritten.action = HistoryAction::Write;
        tagsWritten.via = HistoryVia::kCli;
        tagsWritten.result = HistoryWriteResult{2, 3, 0, true, {}};
        tagWrite = add(tagsWritten);
        list.removeAt(0);
        latest = add(readDirectory(list, at(240)));
    }

    static QList<qint64> ids(const HistoryDialog &dialog)
    {
        QList<qint64> out;
        const auto *view = dialog.findChild<QTableView *>(QStringLiteral("HistoryVersions"));
        for (int row = 0; row < view->model()->rowCount(); ++row)
            out << view->model()->index(row, 0).data().toLongLong();
        return out;
    }
};

} // namespace

TEST_F(HistoryWindow, ListsNewestFirstAndFiltersByKind)
{
    HistoryDialog dialog(store);
    dialog.show();
    saveScreenshot(dialog, QStringLiteral("history-dialog"));
    EXPECT_EQ(ids(dialog), (QList<qint64>{latest, tagWrite, params, written, first}));
    const auto *view = dialog.findChild<QTableView *>(QStringLiteral("HistoryVersions"));
    const QAbstractItemModel *m = view->model();
    EXPECT_EQ(m->index(0, HistoryVersionModel::Changes).data().toString(), QStringLiteral("1 removed"));
    EXPECT_EQ(m->index(1, HistoryVersionModel::Result).data().toString(), QStringLiteral("cut short after 2 of 3"));
    EXPECT_EQ(m->index(3, HistoryVersionModel::Changes).data().toString(), QStringLiteral("1 added, 1 changed"));
    EXPECT_TRUE(m->index(3, HistoryVersionModel::Result).data().toString().startsWith(QLatin1String("written")));
    EXPECT_EQ(m->index(4, HistoryVersionModel::Changes).data().toString(), QStringLiteral("first version"));
    EXPECT_EQ(m->index(1, HistoryVersionModel::Via).data().toString(), QStringLiteral("corvalen-cli"));

    dialog.setKindFilter(BackupKind::Directory);
    EXPECT_EQ(ids(dialog), (QList<qint64>{latest, written, first}));
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("HistoryCount"))->text(), QStringLiteral("3 versions"));
    // The write that a read found again says so.
    EXPECT_EQ(view->model()->index(1, HistoryVersionModel::Result).data().toString(),
              QStringLiteral("written; read back unchanged ") + at(90).toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    dialog.setKindFilter(BackupKind::Parameters);
    EXPECT_EQ(ids(dialog), (QList<qint64>{params}));
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("HistoryCount"))->text(), QStringLiteral("1 version"));
}

TEST_F(HistoryWindow, ComparesTwoChosenVersionsOlderFirstAndOnlyOfOneKind)
{
    HistoryDialog dialog(store);
    dialog.show();
    QPushButton *compare = button(dialog, QStringLiteral("Compare"));
    ASSERT_TRUE(compare);
    EXPECT_FALSE(compare->isEnabled()); // one chosen
    dialog.choose({latest, params});
    EXPECT_FALSE(compare->isEnabled());
    dialog.choose({first, latest});
    ASSERT_TRUE(compare->isEnabled());
    compare->click();
    HistoryComparisonView *view = dialog.comparison();
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isVisible());
    saveScreenshot(*view, QStringLiteral("history-comparison"));
    EXPECT_TRUE(view->heading().startsWith(QStringLiteral("From version %1 ").arg(first))) << view->heading().toStdString();
    EXPECT_EQ(view->summary(), QStringLiteral("1 added, 1 removed, 1 changed"));
    EXPECT_EQ(view->text(), QStringLiteral("+ Resident 0040 (140)\n- Resident 0000 (100)\n"
                                           "* Resident 0002 (102): PHnumber 02110002 -> 02170000"));
}

TEST_F(HistoryWindow, AsksTheWindowForThePageOpenInPageAndRestore)
{
    HistoryDialog dialog(store);
    dialog.show();
    QSignalSpy page(&dialog, &HistoryDialog::compareWithPageRequested);
    QSignalSpy open(&dialog, &HistoryDialog::openInPageRequested);
    QSignalSpy restore(&dialog, &HistoryDialog::restoreRequested);
    dialog.choose({written, first});
    EXPECT_FALSE(button(dialog, QStringLiteral("Restore"))->isEnabled());
    dialog.choose({written});
    button(dialog, QStringLiteral("Compare with Page"))->click();
    button(dialog, QStringLiteral("Open in Page"))->click();
    button(dialog, QStringLiteral("Restore"))->click();
    ASSERT_EQ(page.size(), 1);
    ASSERT_EQ(open.size(), 1);
    ASSERT_EQ(restore.size(), 1);
    EXPECT_EQ(restore.at(0).at(0).value<HistoryVersion>().id, written);
    EXPECT_EQ(open.at(0).at(0).value<HistoryVersion>().id, written);

    const HistoryVersion v = page.at(0).at(0).value<HistoryVersion>();
    QList<PanelEntry> onPage = residents(6);
    onPage[2].PHnumber = "02170000";
    onPage.append(resident(40));
    dialog.showComparisonWithPage(v, HistoryContent::ofDirectory(onPage));
    EXPECT_EQ(dialog.comparison()->summary(), QStringLiteral("no differences"));
    EXPECT_TRUE(dialog.comparison()->heading().contains(QLatin1String("what the phone list page holds now")));
    dialog.showComparisonWithPage(v, "not a phone list");
    EXPECT_EQ(dialog.comparison()->summary(), QStringLiteral("They cannot be compared."));
}

TEST_F(HistoryWindow, TheAuditShowsWritesWithTheirChangesAndExportsThem)
{
    AuditDialog audit(store);
    audit.show();
    saveScreenshot(audit, QStringLiteral("history-audit"));
    EXPECT_EQ(audit.writeCount(), 2);
    EXPECT_EQ(audit.changesShown(), QStringLiteral("first version")); // the tags' first version
    const QString file = dir.filePath(QStringLiteral("audit.csv"));
    EXPECT_TRUE(audit.exportTo(file));
    EXPECT_TRUE(audit.status().startsWith(QLatin1String("2 writes exported to")));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count("\r\n") >= 3, true);
    EXPECT_FALSE(audit.exportTo(dir.filePath(QStringLiteral("missing/a.csv"))));
    EXPECT_TRUE(audit.status().startsWith(QLatin1String("Cannot create file")));
}

TEST_F(HistoryWindow, EveryControlHasANameForAssistiveTechnology)
{
    HistoryDialog dialog(store);
    dialog.show();
    EXPECT_EQ(unnamedControls(dialog), QStringList());
    // The kind filter is found by its label (on Linux a combo box's name is
    // its current item, and the label is a relation).
    QAccessibleInterface *kind =
        QAccessible::queryAccessibleInterface(dialog.findChild<QComboBox *>(QStringLiteral("HistoryKind")));
    ASSERT_TRUE(kind);
    QStringList labels;
    for (const auto &relation : kind->relations(QAccessible::Label))
        labels << relation.first->text(QAccessible::Name);
    EXPECT_EQ(labels, QStringList{QStringLiteral("Kind:")});
    dialog.choose({first, latest});
    dialog.compareChosen();
    EXPECT_EQ(unnamedControls(*dialog.comparison()), QStringList());
    AuditDialog audit(store);
    audit.show();
    EXPECT_EQ(unnamedControls(audit), QStringList());
}
