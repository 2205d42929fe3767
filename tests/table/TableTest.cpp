#include "table/Table.h"

#include <QLocale>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
QList<Table::Field> twoFields()
{
    return {{"Name", 6, Table::FieldType::Text}, {"Num", 0, Table::FieldType::Integer}};
}

Table *makeTable(QObject *parent = nullptr)
{
    auto *t = new Table(parent);
    t->redefine(twoFields());
    t->open();
    return t;
}

QList<QByteArray> column(const Table &t, int f)
{
    QList<QByteArray> out;
    for (int r = 0; r < t.count(); ++r)
        out << t.value(r, f);
    return out;
}
} // namespace

TEST(TableEngine, ValuesAreCutToTheFieldWidthAndFieldsAreFoundIgnoringCase)
{
    std::unique_ptr<Table> t(makeTable());
    t->appendRecord({"Abcdefghij", "12"});
    EXPECT_EQ(t->value(0, "name"), QByteArray("Abcdef"));
    EXPECT_EQ(t->fieldIndex("NUM"), 1);
    EXPECT_EQ(t->fieldIndex("missing"), -1);
    EXPECT_EQ(t->field("NAME"), QByteArray("Abcdef"));
}

TEST(TableEngine, PositionIsOneBasedAndMinusOneWhileAddingOrEmpty)
{
    std::unique_ptr<Table> t(makeTable());
    EXPECT_EQ(t->position(), -1);
    t->appendRecord({"a", "1"});
    t->appendRecord({"b", "2"});
    EXPECT_EQ(t->position(), 2);
    t->first();
    EXPECT_EQ(t->position(), 1);
    t->append();
    EXPECT_EQ(t->position(), -1);
    EXPECT_EQ(t->state(), Table::State::Insert);
}

TEST(TableEngine, MovingAwayDropsAnUntouchedNewEntryAndStoresAChangedOne)
{
    std::unique_ptr<Table> t(makeTable());
    t->appendRecord({"a", "1"});
    t->appendRecord({"b", "2"});
    t->append();
    t->prior(); // the empty new entry is dropped, then the cursor moves up from the last
    EXPECT_EQ(t->count(), 2);
    EXPECT_EQ(t->position(), 1);

    t->append();
    t->setField("Name", "c");
    t->first();
    EXPECT_EQ(t->count(), 3);
    EXPECT_EQ(t->value(2, 0), QByteArray("c"));
}

TEST(TableEngine, InsertStartsANewEntryBeforeTheCurrentOne)
{
    std::unique_ptr<Table> t(makeTable());
    t->appendRecord({"a", "1"});
    t->appendRecord({"c", "3"});
    t->last();
    t->insert();
    t->setField("Name", "b");
    ASSERT_TRUE(t->post());
    EXPECT_EQ(column(*t, 0), (QList<QByteArray>{"a", "b", "c"}));
    EXPECT_EQ(t->position(), 2);
}

TEST(TableEngine, AfterScrollRunsOnEveryMoveAndWhenANewEntryStarts)
{
    std::unique_ptr<Table> t(makeTable());
    t->appendRecord({"a", "1"});
    t->appendRecord({"b", "2"});
    QSignalSpy spy(t.get(), &Table::afterScroll);
    t->first();
    t->next();
    t->next(); // at the end: still a scroll event, eof set
    EXPECT_TRUE(t->eof());
    t->prior();
    t->append();
    t->locate("Name", "a");
    EXPECT_EQ(spy.count(), 7); // the drop of the new entry is a scroll too
}

TEST(TableEngine, EofWalkVisitsEveryEntryOnce)
{
    std::unique_ptr<Table> t(makeTable());
    for (int i = 0; i < 5; ++i)
        t->appendRecord({QByteArray::number(i), QByteArray::number(i)});
    QList<QByteArray> seen;
    t->first();
    while (!t->eof()) {
        seen << t->field("Name");
        t->next();
    }
    EXPECT_EQ(seen.size(), 5);
    std::unique_ptr<Table> empty(makeTable());
    empty->first();
    EXPECT_TRUE(empty->eof());
}

TEST(TableEngine, DeleteAsksTheHookAndCanBeRefusedSilently)
{
    std::unique_ptr<Table> t(makeTable());
    t->appendRecord({"a", "1"});
    t->appendRecord({"b", "2"});
    bool allow = false;
    int asked = 0;
    t->beforeDelete = [&] {
        ++asked;
        return allow;
    };
    t->first();
    EXPECT_FALSE(t->remove());
    EXPECT_EQ(t->count(), 2);
    allow = true;
    EXPECT_TRUE(t->remove());
    EXPECT_EQ(column(*t, 0), QList<QByteArray>{"b"});
    EXPECT_EQ(t->position(), 1);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(t->remove());
    EXPECT_EQ(t->position(), -1);
    EXPECT_FALSE(t->remove());
}

TEST(TableEngine, LocaleSortIgnoringCaseKeepsLaterEntriesInOrder)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    std::unique_ptr<Table> t(makeTable());
    for (const char *n : {"delta", "Alpha", "charlie", "Bravo"})
        t->appendRecord({n, "0"});
    t->sortOn("name", Qt::CaseInsensitive);
    EXPECT_EQ(column(*t, 0), (QList<QByteArray>{"Alpha", "Bravo", "charli", "delta"}));
    t->appendRecord({"beta", "0"});
    EXPECT_EQ(column(*t, 0), (QList<QByteArray>{"Alpha", "beta", "Bravo", "charli", "delta"}));
    EXPECT_EQ(t->position(), 2);
    t->moveTo(0);
    t->setField("Name", "zulu");
    t->post();
    EXPECT_EQ(t->value(4, 0), QByteArray("zulu"));
    EXPECT_EQ(t->position(), 5);
}

TEST(TableEngine, CaseSensitiveSortFollowsTheCollationNotCharacterCodes)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    std::unique_ptr<Table> t(makeTable());
    for (const char *n : {"b", "B", "a", "A"})
        t->appendRecord({n, "0"});
    t->sortOn("Name", Qt::CaseSensitive);
    // By character codes this would be A, B, a, b.
    EXPECT_EQ(column(*t, 0), (QList<QByteArray>{"a", "A", "b", "B"}));
}

TEST(TableEngine, IntegerFieldsSortByValueAndTextFieldsAsText)
{
    std::unique_ptr<Table> t(makeTable());
    for (const char *n : {"20", "100", "3"})
        t->appendRecord({n, n});
    t->sortOn("Num", Qt::CaseSensitive);
    EXPECT_EQ(column(*t, 1), (QList<QByteArray>{"3", "20", "100"}));
    t->sortOn("Name", Qt::CaseSensitive);
    EXPECT_EQ(column(*t, 0), (QList<QByteArray>{"100", "20", "3"}));
}

TEST(TableEngine, RedefinitionDropsRowsSortAndFields)
{
    std::unique_ptr<Table> t(makeTable());
    t->appendRecord({"a", "1"});
    t->sortOn("Name", Qt::CaseSensitive);
    t->redefine({{"Other", 3, Table::FieldType::Text}});
    EXPECT_FALSE(t->isOpen());
    EXPECT_EQ(t->count(), 0);
    EXPECT_EQ(t->sortField(), -1);
    EXPECT_EQ(t->fieldIndex("Name"), -1);
    t->open();
    t->appendRecord({"xyz1"});
    t->appendRecord({"abc"});
    EXPECT_EQ(t->value(0, 0), QByteArray("xyz")); // file order, no sort
}

TEST(TableEngine, LocateIsExactAndCaseSensitive)
{
    std::unique_ptr<Table> t(makeTable());
    t->appendRecord({"abc", "1"});
    t->appendRecord({"ABC", "2"});
    EXPECT_EQ(t->find("Name", "ABC"), 1);
    EXPECT_EQ(t->find("Name", "AB"), -1);
    EXPECT_TRUE(t->locate("Name", "ABC"));
    EXPECT_EQ(t->position(), 2);
    EXPECT_FALSE(t->locate("Name", "x"));
    EXPECT_EQ(t->position(), 2);
}

TEST(TableEngine, EditOnAnEmptyTableStartsANewEntry)
{
    std::unique_ptr<Table> t(makeTable());
    t->setField("Name", "a");
    EXPECT_EQ(t->state(), Table::State::Insert);
    t->post();
    EXPECT_EQ(t->count(), 1);
}

TEST(TableEngine, EveryByteSurvivesInAValue)
{
    Table t;
    t.redefine({{"Raw", 256, Table::FieldType::Text}});
    t.open();
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    t.appendRecord({all});
    EXPECT_EQ(t.value(0, 0), all);
}

TEST(TableEngine, AnEditThatKeepsTheSortKeyKeepsItsPlaceAmongEquals)
{
    std::unique_ptr<Table> t(makeTable());
    for (const char *n : {"same", "same", "same"})
        t->appendRecord({n, "0"});
    t->sortOn("Name", Qt::CaseSensitive);
    t->moveTo(0);
    t->setField("Num", "7");
    t->post();
    EXPECT_EQ(t->position(), 1);
    EXPECT_EQ(t->value(0, 1), QByteArray("7"));
}

TEST(TableEngine, TheCLocaleStillSortsByALanguageNotByCharacterCodes)
{
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    std::unique_ptr<Table> t(makeTable());
    for (const char *n : {"b", "B", "a", "A"})
        t->appendRecord({n, "0"});
    t->sortOn("Name", Qt::CaseSensitive);
    EXPECT_EQ(column(*t, 0), (QList<QByteArray>{"a", "A", "b", "B"}));
    t->sortOn("Name", Qt::CaseInsensitive);
    EXPECT_EQ(column(*t, 0).at(0).toLower(), QByteArray("a"));
    EXPECT_EQ(column(*t, 0).at(2).toLower(), QByteArray("b"));
    QLocale::setDefault(saved);
}

TEST(TableEngine, EditingAnotherFieldOfASortedTableKeepsEqualEntriesInPlace)
{
    // A walk that gives every entry a new value in another field must visit
    // each entry once, also when two entries sort equal.
    std::unique_ptr<Table> t(makeTable());
    for (const char *n : {"Smith", "Jones", "Smith", "Adams"})
        t->appendRecord({n, "0"});
    t->sortOn("Name", Qt::CaseSensitive);
    int next = 1;
    for (t->first(); !t->eof(); t->next()) {
        t->setField("Num", QByteArray::number(next++));
        t->post();
    }
    EXPECT_EQ(column(*t, 1), (QList<QByteArray>{"1", "2", "3", "4"}));
    EXPECT_EQ(column(*t, 0), (QList<QByteArray>{"Adams", "Jones", "Smith", "Smith"}));
}
