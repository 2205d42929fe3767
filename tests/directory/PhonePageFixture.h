#pragma once

#include "directory/PhoneFields.h"
#include "directory/widgets/PhoneEdit.h"
#include "directory/widgets/PhonePage.h"
#include "support/AppHarness.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// The phone page on virtual time, shown and active so that focus moves as
// it does for a user.
struct PhonePageFixture : ::testing::Test
{
    AppHarness h;
    Table &table = h.directory.PhoneTable;
    PhonePage page{h.ctx};

    PhonePageFixture()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        page.resize(780, 440);
    }
    void SetUp() override
    {
        page.show();
        page.activateWindow();
        if (!QTest::qWaitForWindowActive(&page))
            GTEST_SKIP() << "the platform activates no window";
    }

    template<typename T = QWidget>
    T *child(const char *name) const
    {
        T *w = page.findChild<T *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    PhoneEdit *edit(const char *name) const { return child<PhoneEdit>(name); }
    QPushButton *button(const char *name) const { return child<QPushButton>(name); }
    QWidget *focused() const { return QApplication::focusWidget(); }
    QString focusedName() const { return focused() ? focused()->objectName() : QString(); }

    void add(const QByteArray &name, const QByteArray &room, const QByteArray &addr, const QByteArray &phone = {})
    {
        table.appendRecord({name, room, phone, "", "", "", "", addr});
    }
    // Types into a field that has the focus, as the keyboard does.
    void typeInto(PhoneEdit *field, const QString &keys)
    {
        field->setFocus();
        QTest::keyClicks(field, keys);
    }
    void enter(QWidget *field) { QTest::keyClick(field, Qt::Key_Return); }
    // Logged on after a full transfer, "Write Each Change" ticked.
    void synced(qint32 directoryEnd = 0x9000)
    {
        h.logOn(directoryEnd);
        h.link.conn().DirectorySynced = true;
        h.directory.setWriteEachChangeEnabled(true);
    }
};
