#include "RowStore.h"

#include "Connection.h"
#include "SqliteValue.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <cmath>

namespace ondavia::db::detail {

namespace {

bool isDateType(int type)
{
    return type == adDate || type == adDBTimeStamp;
}

// The date columns hold ISO text; reading them is on the path of every large list, so no regular expression.
QDate isoDate(const char* text, std::uint32_t length)
{
    if (length < 10 || text[4] != '-' || text[7] != '-') {
        return {};
    }
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int widths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = 0; i < widths[p]; ++i) {
            const char c = text[starts[p] + i];
            if (c < '0' || c > '9') {
                return {};
            }
            parts[p] = parts[p] * 10 + (c - '0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]);
}

// The column's type code, with its width for texts and its range for whole numbers: SMALLINT holds 16 bits
// and LONG 32, as the register's older tables declare them; INTEGER and INT hold SQLite's 64; a BOOLEAN or BIT
// holds 16, the width of the option states it keeps.
void typeFromDeclared(const QString& declared, detail::Column* column)
{
    static const QRegularExpression sized(QStringLiteral(R"(\(\s*(\d+)\s*\))"));
    const QString upper = declared.trimmed().toUpper();
    const auto range = [column](qint64 minimum, qint64 maximum) {
        column->minimum = minimum;
        column->maximum = maximum;
    };
    column->maxLength = 0;
    if (upper.startsWith(QLatin1String("DATETIME")) || upper.startsWith(QLatin1String("TIMESTAMP"))) {
        column->type = adDBTimeStamp;
    } else if (upper.startsWith(QLatin1String("DATE"))) {
        column->type = adDate;
    } else if (upper.startsWith(QLatin1String("SMALLINT"))) {
        column->type = adInteger;
        range(std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
    } else if (upper.startsWith(QLatin1String("LONG"))) {
        column->type = adInteger;
        range(std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    } else if (upper.startsWith(QLatin1String("INT"))) {
        column->type = adInteger;
    } else if (upper.startsWith(QLatin1String("DOUBLE")) || upper.startsWith(QLatin1String("REAL")) ||
               upper.startsWith(QLatin1String("FLOAT")) || upper.startsWith(QLatin1String("NUMERIC"))) {
        column->type = adDouble;
    } else if (upper.startsWith(QLatin1String("BOOL")) || upper.startsWith(QLatin1String("BIT"))) {
        column->type = adBoolean;
        range(std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
    } else {
        column->type = adVarWChar;
        if (const auto m = sized.match(upper); m.hasMatch()) {
            column->maxLength = m.captured(1).toInt();
        }
    }
}

} // namespace

Column columnOf(sqlite3_stmt* statement, int index)
{
    Column column;
    column.name = QString::fromUtf8(sqlite3_column_name(statement, index));
    column.type = adVarWChar;
    if (const char* decl = sqlite3_column_decltype(statement, index)) {
        column.declared = true;
        typeFromDeclared(QString::fromUtf8(decl), &column);
    }
    return column;
}

int columnIndex(const std::vector<Column>& columns, const QString& name)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void RowStore::clear()
{
    m_cells.clear();
    m_arena.clear();
}

void RowStore::ensureWidth()
{
    m_width = m_columns ? m_columns->size() : 0;
}

void RowStore::appendFrom(sqlite3_stmt* statement, int first)
{
    ensureWidth();
    for (std::size_t c = 0; c < m_width; ++c) {
        const int index = first + static_cast<int>(c);
        Cell cell;
        switch (sqlite3_column_type(statement, index)) {
        case SQLITE_NULL:
            break;
        case SQLITE_INTEGER:
            cell.kind = Cell::Integer;
            cell.integer = sqlite3_column_int64(statement, index);
            break;
        case SQLITE_FLOAT:
            cell.kind = Cell::Real;
            cell.real = sqlite3_column_double(statement, index);
            break;
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
            const int bytes = sqlite3_column_bytes(statement, index);
            cell.kind = Cell::Text;
            cell.offset = m_arena.size();
            cell.length = static_cast<std::uint32_t>(bytes);
            m_arena.append(text ? text : "", static_cast<std::size_t>(bytes));
            break;
        }
        }
        m_cells.push_back(cell);
    }
}

RowStore::Cell RowStore::cellOf(const Value& value)
{
    Cell cell;
    switch (value.kind()) {
    case Value::Kind::Null:
        break;
    case Value::Kind::Integer:
        cell.kind = Cell::Integer;
        cell.integer = value.toInteger();
        break;
    case Value::Kind::Double:
        cell.kind = Cell::Real;
        cell.real = value.toDouble();
        break;
    case Value::Kind::Text:
    case Value::Kind::Date: {
        cell.kind = Cell::Text;
        cell.offset = m_arena.size();
        appendStoredText(&m_arena, value);
        cell.length = static_cast<std::uint32_t>(m_arena.size() - cell.offset);
        break;
    }
    }
    return cell;
}

void RowStore::append(const std::vector<Value>& values)
{
    ensureWidth();
    for (std::size_t c = 0; c < m_width; ++c) {
        m_cells.push_back(c < values.size() ? cellOf(values[c]) : Cell{});
    }
}

void RowStore::replace(int row, const std::vector<Value>& values)
{
    for (std::size_t c = 0; c < m_width && c < values.size(); ++c) {
        m_cells[static_cast<std::size_t>(row) * m_width + c] = cellOf(values[c]);
    }
}

Value RowStore::value(int row, int column) const
{
    const Cell& cell = m_cells[static_cast<std::size_t>(row) * m_width + static_cast<std::size_t>(column)];
    const Column& c = (*m_columns)[static_cast<std::size_t>(column)];
    switch (cell.kind) {
    case Cell::Null:
        return {};
    case Cell::Integer:
        if (c.declared && c.type == adDouble) {
            return Value(static_cast<double>(cell.integer));
        }
        if (c.declared && (c.type == adVarWChar || isDateType(c.type))) {
            return Value(QString::number(cell.integer));
        }
        return Value(static_cast<qint64>(cell.integer));
    case Cell::Real:
        // A fraction in a column of whole numbers reads as its whole part, as far as 64 bits hold it;
        // beyond, it stays the number it is rather than some other whole number.
        if (c.declared && (c.type == adInteger || c.type == adBoolean) && std::fabs(cell.real) < 0x1p63) {
            return Value(static_cast<qint64>(cell.real));
        }
        if (c.declared && (c.type == adVarWChar || isDateType(c.type))) {
            return Value(Value(cell.real).toText());
        }
        return Value(cell.real);
    case Cell::Text:
        break;
    }
    const char* text = m_arena.data() + cell.offset;
    if (c.declared && isDateType(c.type)) {
        if (const QDate date = isoDate(text, cell.length); date.isValid()) {
            return Value(date);
        }
        const QString raw = QString::fromUtf8(text, cell.length);
        if (const QDate date = parseDateText(raw); date.isValid()) {
            return Value(date);
        }
        return Value(raw);
    }
    return Value(QString::fromUtf8(text, cell.length));
}

bool RowStore::storedText(int row, int column, std::string_view* bytes) const
{
    const Cell& cell = m_cells[static_cast<std::size_t>(row) * m_width + static_cast<std::size_t>(column)];
    const Column& c = (*m_columns)[static_cast<std::size_t>(column)];
    if (cell.kind != Cell::Text || (c.declared && isDateType(c.type))) {
        return false;
    }
    *bytes = std::string_view(m_arena.data() + cell.offset, cell.length);
    return true;
}

std::vector<Value> RowStore::row(int row) const
{
    std::vector<Value> values;
    values.reserve(m_width);
    for (std::size_t c = 0; c < m_width; ++c) {
        values.push_back(value(row, static_cast<int>(c)));
    }
    return values;
}

} // namespace ondavia::db::detail
