#include "table/Table.h"

#include <algorithm>

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
    order_.clear();
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

void Table::sortOn(const QByteArray &fieldName, Qt::CaseSensitivity cs)
{
    if (!checkBrowseMode())
        return;
    const int index = fieldIndex(fieldName);
    if (index < 0)
        return;
    emit aboutToReorder();
    order_.set(index, fields_.at(index).type == FieldType::Integer, cs);
    const QList<int> order = order_.sortedOrder(rows_);
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

