#pragma once

#include "Value.h"

#include <QString>

#include <memory>
#include <string_view>

namespace ondavia::db {

class Connection;

// The rows of one query read one at a time, for a reader that goes through a whole table once (a backup):
// only the current row is held in memory. Values read as a Recordset gives them.
class Cursor {
public:
    Cursor();
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    // Prepares the query; false, with lastError(), when it cannot be run.
    bool Open(const QString& sql, Connection& connection);
    // Moves to the next row, the first at the first call. False after the last row, or on a failure,
    // which lastError() then tells.
    bool next();

    int FieldCount() const;
    QString name(int index) const;
    int Type(int index) const;                 // one of the FieldType codes
    int fieldIndex(const QString& name) const; // letter case ignored; -1 when the query has no such column
    Value value(int index) const;
    // The UTF-8 bytes of a value that value() gives as a text, valid until next(); false, with nothing
    // built, for any other value. For a writer of many rows, which need not build every text.
    bool storedText(int index, std::string_view* bytes) const;

    const QString& lastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_d;
};

} // namespace ondavia::db
