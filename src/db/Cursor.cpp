#include "Cursor.h"

#include "Connection.h"
#include "RowStore.h"
#include "SqlDialect.h"
#include "Statement.h"

#include <sqlite3.h>

#include <optional>
#include <vector>

namespace ondavia::db {

struct Cursor::Impl {
    // Held from the opening to the last row or a failure, and no longer: a finished cursor keeps no table busy.
    std::optional<Statement> statement;
    std::vector<detail::Column> columns;
    detail::RowStore row{&columns};
    // The current row, when there is one, is the row held.
    bool onRow() const { return row.rowCount() > 0; }
    QString lastError;
};

Cursor::Cursor() : m_d(std::make_unique<Impl>()) {}
Cursor::~Cursor() = default;

bool Cursor::Open(const QString& sql, Connection& connection)
{
    m_d = std::make_unique<Impl>();
    if (!connection.isOpen()) {
        m_d->lastError = QStringLiteral("la connessione al database non è aperta");
        return false;
    }
    Statement& statement = m_d->statement.emplace(connection);
    if (!statement.prepare(translateSql(sql).toUtf8())) {
        m_d->lastError = statement.lastError();
        m_d->statement.reset();
        return false;
    }
    for (int i = 0; i < sqlite3_column_count(statement.handle()); ++i) {
        m_d->columns.push_back(detail::columnOf(statement.handle(), i));
    }
    return true;
}

bool Cursor::next()
{
    m_d->row.clear();
    if (!m_d->statement || !m_d->statement->isValid()) {
        return false;
    }
    const int rc = m_d->statement->step();
    if (rc == SQLITE_ROW) {
        m_d->row.appendFrom(m_d->statement->handle(), 0);
        return true;
    }
    if (rc != SQLITE_DONE) {
        m_d->lastError = m_d->statement->lastError();
    }
    m_d->statement.reset();
    return false;
}

int Cursor::FieldCount() const
{
    return static_cast<int>(m_d->columns.size());
}

QString Cursor::name(int index) const
{
    return index >= 0 && index < FieldCount() ? m_d->columns[static_cast<std::size_t>(index)].name : QString();
}

int Cursor::Type(int index) const
{
    return index >= 0 && index < FieldCount() ? m_d->columns[static_cast<std::size_t>(index)].type : 0;
}

int Cursor::fieldIndex(const QString& name) const
{
    return detail::columnIndex(m_d->columns, name);
}

Value Cursor::value(int index) const
{
    return m_d->onRow() && index >= 0 && index < FieldCount() ? m_d->row.value(0, index) : Value();
}

bool Cursor::storedText(int index, std::string_view* bytes) const
{
    return m_d->onRow() && index >= 0 && index < FieldCount() && m_d->row.storedText(0, index, bytes);
}

const QString& Cursor::lastError() const
{
    return m_d->lastError;
}

} // namespace ondavia::db
