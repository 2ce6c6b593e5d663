#pragma once

#include "Value.h"

#include <QString>

#include <memory>

namespace ondavia::db {

class Connection;
class Recordset;

// One column of a recordset's current row. Cheap to copy; valid while its recordset is open.
class Field {
public:
    bool isValid() const { return m_set != nullptr && m_index >= 0; }
    QString name() const;
    int Type() const; // one of the FieldType codes
    db::Value Value() const;

    // Assigns a value to the current row (or to the row being added), converted to the column's type.
    // Fails with the recordset's lastError() when the value does not fit the column.
    bool setValue(const db::Value& value);

private:
    friend class Recordset;
    Field(Recordset* set, int index) : m_set(set), m_index(index) {}
    Recordset* m_set = nullptr;
    int m_index = -1;
};

// The rows of one query, read whole when it is opened (so RecordCount is exact at once), with a
// current row that moves forward. A query of the form "SELECT * FROM <table> ..." is updatable:
// AddNew/setValue/Update insert or change rows of that table. Failures return false with lastError().
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    bool Open(const QString& sql, Connection& connection);
    bool isOpen() const;
    void Close();

    int RecordCount() const;
    bool Eof() const;
    void MoveFirst();
    void MoveNext();
    // 0-based index of the current row; RecordCount() when past the last row.
    int position() const;

    int FieldCount() const;
    Field Fields(int index);
    Field Fields(const QString& name); // letter case ignored; an unknown name gives an invalid Field
    int fieldIndex(const QString& name) const;

    // Starts a new row; it becomes the current row when Update stores it.
    bool AddNew();
    // Stores the row being added or the changes made to the current row.
    bool Update();
    // The value as column `index` stores it, as setValue would convert it, without assigning it: for
    // callers that write many rows through a statement of their own. False, with lastError(), when it
    // does not fit the column.
    bool convertValue(int index, const Value& value, Value* converted);

    // Searches forward from the current row (inclusive) for the first row matching a criterion
    // "COLUMN = 'text'" or "COLUMN LIKE 'prefix%'" (apostrophes inside doubled; letter case ignored).
    // On a match that row becomes current; otherwise the recordset is at its end (Eof).
    // Returns false, without moving, only when the criterion cannot be read.
    bool Find(const QString& criterion);

    const QString& lastError() const;

private:
    friend class Field;
    struct Impl;
    std::unique_ptr<Impl> m_d;
};

} // namespace ondavia::db
