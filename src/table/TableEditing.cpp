#include "table/Table.h"

#include <algorithm>

// The edit buffer: values set on the current entry or a new one, stored by
// post() (into its place in the sort when there is one) or dropped by
// cancel(), and the delete of the current entry.

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
        if (order_.active() && !order_.fitsAt(rows_, cur_, buffer_)) {
            emit aboutToReorder();
            rows_.removeAt(cur_);
            cur_ = order_.insertPosition(rows_, buffer_);
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
        const int at =
            order_.active() ? order_.insertPosition(rows_, buffer_) : std::clamp(insertAt_, 0, int(rows_.size()));
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
