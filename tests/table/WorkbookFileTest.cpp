#include "table/WorkbookFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

// A workbook replaces an older file whole; one that cannot be made (a value
// longer than a cell holds) or written leaves the older file as it was and
// says why.
TEST(WorkbookFile, ReplacesTheFileWholeOrLeavesItAndSaysWhy)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("list.xlsx"));
    QFile old(name);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older list");
    old.close();

    QString error;
    ASSERT_TRUE(WorkbookFile::write(name, QStringLiteral("Phone list"),
                                    {{"Name", "Code1"}, {"=1+1", "0042"}, {"M\xFCller", ""}}, &error))
        << error.toStdString();
    const QByteArray book = readAll(name);
    EXPECT_TRUE(book.startsWith("PK\x03\x04")); // a zip package
    EXPECT_TRUE(book.contains("xl/worksheets/sheet1.xml"));

    const QList<QList<QByteArray>> tooLong = {{"Name"}, {QByteArray(40000, 'x')}};
    EXPECT_FALSE(WorkbookFile::write(name, QStringLiteral("Phone list"), tooLong, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot create file %1\r\n").arg(name))) << error.toStdString();
    EXPECT_EQ(readAll(name), book);

    const QString nowhere = dir.filePath(QStringLiteral("no folder/list.xlsx"));
    EXPECT_FALSE(WorkbookFile::write(nowhere, QStringLiteral("Phone list"), {{"Name"}}, &error));
    EXPECT_EQ(error, QStringLiteral("Cannot create file %1").arg(nowhere));
    EXPECT_FALSE(QFile::exists(nowhere));
}
