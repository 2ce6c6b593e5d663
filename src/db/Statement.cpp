#include "Statement.h"

#include "Connection.h"
#include "SqlDialect.h"
#include "SqliteValue.h"

#include <sqlite3.h>

#include <span>
#include <string_view>

namespace ondavia::db {

Statement::Statement(Connection& connection, const QString& sql) : m_connection(connection)
{
    prepare(translateSql(sql).toUtf8());
}

Statement::Statement(Connection& connection) : m_connection(connection) {}

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

bool Statement::prepare(QByteArrayView sql, const char** tail)
{
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
    m_lastError.clear();
    m_gaveRow = false;
    if (!m_connection.isOpen() || sqlite3_prepare_v2(m_connection.handle(), sql.data(), static_cast<int>(sql.size()),
                                                     &m_statement, tail) != SQLITE_OK) {
        m_connection.fail(QString());
        m_lastError = m_connection.lastError();
        return false;
    }
    return true;
}

int Statement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        m_connection.fail(QString(), rc);
        m_lastError = m_connection.lastError();
    }
    return rc;
}

bool Statement::run(std::initializer_list<Value> values)
{
    return run(values.begin(), values.size());
}

bool Statement::run(const std::vector<Value>& values)
{
    return run(values.data(), values.size());
}

bool Statement::run(const Value* values, std::size_t count)
{
    m_gaveRow = false;
    if (!m_statement) {
        return false;
    }
    // Every text first, into the one buffer, which then no longer moves while SQLite reads from it.
    m_texts.clear();
    m_starts.clear();
    for (const Value& value : std::span(values, count)) {
        m_starts.push_back(m_texts.size());
        if (value.kind() == Value::Kind::Text || value.kind() == Value::Kind::Date) {
            detail::appendStoredText(&m_texts, value);
        }
    }
    m_starts.push_back(m_texts.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view testo(m_texts.data() + m_starts[i], m_starts[i + 1] - m_starts[i]);
        const int rc = detail::bindValue(m_statement, static_cast<int>(i + 1), values[i], testo);
        if (rc != SQLITE_OK) {
            m_connection.fail(QString(), rc);
            m_lastError = m_connection.lastError();
            sqlite3_reset(m_statement);
            sqlite3_clear_bindings(m_statement);
            return false;
        }
    }
    const int rc = step();
    m_gaveRow = rc == SQLITE_ROW;
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

} // namespace ondavia::db
