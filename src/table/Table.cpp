#include "table/Table.h"

#include <QLocale>
#include <QString>
#include <algorithm>
#include <limits>

Table::Table(QObject *parent)
    : QObject(parent)
{
}

void Table::redefine(const QList<Field> &fields)
{
    emit aboutToReset();
    fields_ = fields;
    rows_.clear();
    buffer_.clear();
    sortField_ = -1;
    state_ = State::Closed;
    cur_ = -1;
    insertAt_ = -1;
    modified_ = false;
    eof_ = bof_ = true;
    emit resetDone();
}

void Table::open()
{
    if (isOpen())
        return;
    state_ = State::Browse;
    cur_ = rows_.isEmpty() ? -1 : 0;
    eof_ = bof_ = rows_.isEmpty();
    emit resetDone();
    scrolled();
}

void Table::close()
{
    if (!isOpen())
        return;
    state_ = State::Closed;
    buffer_.clear();
    modified_ = false;
}

void Table::emptyTable()
{
    if (!isOpen())
        return;
    emit aboutToReset();
    state_ = State::Browse;
    buffer_.clear();
    modified_ = false;
    rows_.clear();
    cur_ = -1;
    eof_ = bof_ = true;
    emit resetDone();
    scrolled();
}

int Table::fieldIndex(const QByteArray &name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (qstricmp(fields_.at(i).name.constData(), name.constData()) == 0)
            return i;
    return -1;
}

QByteArray Table::value(int row, int field) const
{
    if (row < 0 || row >= rows_.size() || field < 0 || field >= fields_.size())
        return {};
    return rows_.at(row).at(field);
}

QByteArray Table::value(int row, const QByteArray &fieldName) const
{
    return value(row, fieldIndex(fieldName));
}

QByteArray Table::field(int index) const
{
    if (index < 0 || index >= fields_.size())
        return {};
    if (state_ == State::Edit || state_ == State::Insert)
        return buffer_.at(index);
    return value(cur_, index);
}

QByteArray Table::field(const QByteArray &fieldName) const
{
    return field(fieldIndex(fieldName));
}

QByteArray Table::cut(int index, const QByteArray &value) const
{
    const Field &f = fields_.at(index);
    if (f.type == FieldType::Text && f.width > 0 && value.size() > f.width)
        return value.left(f.width);
    return value;
}

void Table::setField(int index, const QByteArray &value)
{
    if (!isOpen() || index < 0 || index >= fields_.size())
        return;
    if (state_ == State::Browse)
        edit();
    buffer_[index] = cut(index, value);
    modified_ = true;
}

void Table::setField(const QByteArray &fieldName, const QByteArray &value)
{
    setField(fieldIndex(fieldName), value);
}

int Table::position() const
{
    if (state_ == State::Insert || cur_ < 0)
        return -1;
    return cur_ + 1;
}

void Table::scrolled()
{
    emit afterScroll();
}

bool Table::checkBrowseMode()
{
    if (state_ == State::Edit || state_ == State::Insert) {
        if (modified_)
            post();
        else
            cancel();
    }
    return isOpen();
}

void Table::first()
{
    if (!checkBrowseMode())
        return;
    cur_ = rows_.isEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.isEmpty();
    scrolled();
}

void Table::last()
{
    if (!checkBrowseMode())
        return;
    cur_ = int(rows_.size()) - 1;
    eof_ = true;
    bof_ = rows_.isEmpty();
    scrolled();
}

void Table::next()
{
    if (!checkBrowseMode())
        return;
    bof_ = false;
    if (cur_ + 1 < rows_.size()) {
        ++cur_;
        eof_ = false;
    } else {
        eof_ = true;
    }
    scrolled();
}

void Table::prior()
{
    if (!checkBrowseMode())
        return;
    eof_ = false;
    if (cur_ > 0) {
        --cur_;
        bof_ = false;
    } else {
        bof_ = true;
    }
    scrolled();
}

void Table::moveTo(int row)
{
    if (!checkBrowseMode())
        return;
    if (rows_.isEmpty()) {
        cur_ = -1;
        eof_ = bof_ = true;
    } else {
        cur_ = std::clamp(row, 0, int(rows_.size()) - 1);
        eof_ = bof_ = false;
    }
    scrolled();
}

void Table::append()
{
    if (!checkBrowseMode())
        return;
    cur_ = int(rows_.size()) - 1; // a cancelled new entry leaves the cursor on the last one
    insertAt_ = int(rows_.size());
    buffer_ = QList<QByteArray>(fields_.size());
    state_ = State::Insert;
    modified_ = false;
    eof_ = true;
    scrolled();
}

void Table::insert()
{
    if (!checkBrowseMode())
        return;
    insertAt_ = cur_ < 0 ? 0 : cur_;
    buffer_ = QList<QByteArray>(fields_.size());
    state_ = State::Insert;
    modified_ = false;
    scrolled();
}

void Table::edit()
{
    if (state_ != State::Browse)
        return;
    if (rows_.isEmpty()) {
        insert();
        return;
    }
    if (cur_ < 0)
        cur_ = 0;
    buffer_ = rows_.at(cur_);
    state_ = State::Edit;
    modified_ = false;
}

bool Table::post()
{
    if (state_ == State::Edit) {
        state_ = State::Browse;
        modified_ = false;
        if (sortField_ >= 0 && !inOrderAt(cur_, buffer_)) {
            emit aboutToReorder();
            rows_.removeAt(cur_);
            cur_ = sortedPosition(buffer_, -1);
            rows_.insert(cur_, buffer_);
            emit reordered();
        } else {
            rows_[cur_] = buffer_;
            emit rowChanged(cur_);
        }
        buffer_.clear();
        return true;
    }
    if (state_ == State::Insert) {
        const int at = sortField_ >= 0 ? sortedPosition(buffer_, -1) : std::clamp(insertAt_, 0, int(rows_.size()));
        state_ = State::Browse;
        modified_ = false;
        emit aboutToInsertRow(at);
        rows_.insert(at, buffer_);
        cur_ = at;
        eof_ = bof_ = false;
        buffer_.clear();
        emit rowInserted(at);
        return true;
    }
    return false;
}

void Table::cancel()
{
    if (state_ == State::Edit) {
        state_ = State::Browse;
        buffer_.clear();
        modified_ = false;
        emit rowChanged(cur_);
        return;
    }
    if (state_ == State::Insert) {
        state_ = State::Browse;
        buffer_.clear();
        modified_ = false;
        if (cur_ >= rows_.size())
            cur_ = int(rows_.size()) - 1;
        eof_ = bof_ = rows_.isEmpty();
        scrolled();
    }
}

bool Table::remove()
{
    if (!isOpen())
        return false;
    if (state_ == State::Insert) {
        cancel();
        return true;
    }
    if (rows_.isEmpty() || cur_ < 0)
        return false;
    if (beforeDelete && !beforeDelete()) {
        if (state_ == State::Edit)
            cancel();
        return false;
    }
    state_ = State::Browse;
    buffer_.clear();
    modified_ = false;
    const int row = cur_;
    emit aboutToRemoveRow(row);
    rows_.removeAt(row);
    cur_ = qMin(row, int(rows_.size()) - 1);
    eof_ = bof_ = rows_.isEmpty();
    emit rowRemoved(row);
    scrolled();
    return true;
}

void Table::appendRecord(const QList<QByteArray> &values)
{
    append();
    for (int i = 0; i < values.size() && i < fields_.size(); ++i)
        setField(i, values.at(i));
    modified_ = true;
    post();
}

bool Table::lessThan(const QList<QByteArray> &a, const QList<QByteArray> &b) const
{
    const QByteArray &x = a.at(sortField_);
    const QByteArray &y = b.at(sortField_);
    if (fields_.at(sortField_).type == FieldType::Integer) {
        bool okx = false, oky = false;
        const qint64 vx = x.toLongLong(&okx);
        const qint64 vy = y.toLongLong(&oky);
        return (okx ? vx : std::numeric_limits<qint64>::min()) < (oky ? vy : std::numeric_limits<qint64>::min());
    }
    return collator_.compare(QString::fromLatin1(x), QString::fromLatin1(y)) < 0;
}

// Whether values may stay at row without breaking the sort: an entry whose
// sort value did not move past a neighbour keeps its place, so that a walk
// that edits other fields visits every entry once.
bool Table::inOrderAt(int row, const QList<QByteArray> &values) const
{
    if (row > 0 && lessThan(values, rows_.at(row - 1)))
        return false;
    if (row + 1 < rows_.size() && lessThan(rows_.at(row + 1), values))
        return false;
    return true;
}

int Table::sortedPosition(const QList<QByteArray> &values, int) const
{
    const auto it = std::upper_bound(rows_.cbegin(), rows_.cend(), values,
                                     [this](const QList<QByteArray> &v, const QList<QByteArray> &r) {
                                         return lessThan(v, r);
                                     });
    return int(it - rows_.cbegin());
}

void Table::resort()
{
    // The C (POSIX) locale has no collation of its own: QCollator would order
    // by character codes there ("B" before "a"). The user's order is a
    // language's order, so such systems get the neutral order of English.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    collator_ = QCollator(locale);
    collator_.setCaseSensitivity(sortCase_);
    collator_.setNumericMode(false);
    QList<int> order(rows_.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return lessThan(rows_.at(a), rows_.at(b)); });
    QList<QList<QByteArray>> sorted;
    sorted.reserve(rows_.size());
    int newCur = -1;
    for (int i = 0; i < order.size(); ++i) {
        if (order.at(i) == cur_)
            newCur = i;
        sorted.append(rows_.at(order.at(i)));
    }
    rows_ = std::move(sorted);
    cur_ = newCur;
}

void Table::sortOn(const QByteArray &fieldName, Qt::CaseSensitivity cs)
{
    if (!checkBrowseMode())
        return;
    const int index = fieldIndex(fieldName);
    if (index < 0)
        return;
    emit aboutToReorder();
    sortField_ = index;
    sortCase_ = cs;
    resort();
    emit reordered();
}

void Table::refresh()
{
    checkBrowseMode();
}

int Table::find(const QByteArray &fieldName, const QByteArray &value) const
{
    const int index = fieldIndex(fieldName);
    if (index < 0)
        return -1;
    for (int r = 0; r < rows_.size(); ++r)
        if (rows_.at(r).at(index) == value)
            return r;
    return -1;
}

bool Table::locate(const QByteArray &fieldName, const QByteArray &value)
{
    if (!checkBrowseMode())
        return false;
    const int row = find(fieldName, value);
    if (row < 0)
        return false;
    cur_ = row;
    eof_ = bof_ = false;
    scrolled();
    return true;
}

void Table::disableControls()
{
    if (disabled_++ == 0)
        emit controlsEnabled(false);
}

void Table::enableControls()
{
    if (disabled_ == 0)
        return;
    if (--disabled_ == 0)
        emit controlsEnabled(true);
}
