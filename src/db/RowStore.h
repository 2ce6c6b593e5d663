#pragma once

#include "Value.h"

#include <QString>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace ondavia::db::detail {

struct Column {
    QString name;
    int type = 0;      // FieldType code
    int maxLength = 0; // 0: no limit declared
    // The whole numbers a column of whole numbers takes, as its declared type says.
    qint64 minimum = std::numeric_limits<qint64>::min();
    qint64 maximum = std::numeric_limits<qint64>::max();
    bool declared = false;
};

// A column of a statement's result: its name, and its type, width and range as its table declares them.
Column columnOf(sqlite3_stmt* statement, int index);
// The index of the column of that name, letter case ignored; -1 when there is none.
int columnIndex(const std::vector<Column>& columns, const QString& name);

// The rows of a recordset, kept as SQLite gave them: numbers as numbers and texts as UTF-8 bytes in one
// arena. Values are built only when read, so opening a large table costs little more than reading it.
class RowStore {
public:
    explicit RowStore(const std::vector<Column>* columns = nullptr) : m_columns(columns) {}

    int rowCount() const { return m_width == 0 ? 0 : static_cast<int>(m_cells.size() / m_width); }

    // Appends the current row of a statement, its columns from `first` on.
    void appendFrom(sqlite3_stmt* statement, int first);
    void append(const std::vector<Value>& values);
    void replace(int row, const std::vector<Value>& values);
    // Drops every row, keeping the memory for the next ones.
    void clear();

    Value value(int row, int column) const;
    // The UTF-8 bytes of a value that value() gives as the text stored, without building it; false for any
    // other value (Null, a number, a date column's text).
    bool storedText(int row, int column, std::string_view* bytes) const;
    std::vector<Value> row(int row) const;

private:
    struct Cell {
        enum Kind : std::uint8_t { Null, Integer, Real, Text } kind = Null;
        std::uint32_t length = 0;
        union {
            std::int64_t integer = 0;
            double real;
            std::uint64_t offset;
        };
    };

    Cell cellOf(const Value& value);
    void ensureWidth();

    const std::vector<Column>* m_columns;
    std::size_t m_width = 0;
    std::vector<Cell> m_cells;
    std::string m_arena;
};

} // namespace ondavia::db::detail
