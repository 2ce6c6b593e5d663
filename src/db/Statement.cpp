#include "Statement.h"

#include "Connection.h"
#include "SqlDialect.h"
#include "SqliteValue.h"

#include <sqlite3.h>

#include <span>

namespace ondavia::db {

Statement::Statement(Connection& connection, const QString& sql) : m_connection(connection)
{
    const QByteArray utf8 = TranslateSql(sql).toUtf8();
    if (!connection.IsOpen() ||
        sqlite3_prepare_v2(connection.handle(), utf8.constData(), static_cast<int>(utf8.size()), &m_statement,
                           nullptr) != SQLITE_OK) {
        connection.fail(QString());
        m_lastError = connection.lastError();
        m_statement = nullptr;
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
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
    // The texts bound, alive until the statement has run.
    std::vector<QByteArray> testi;
    testi.reserve(count);
    int slot = 1;
    for (const Value& value : std::span(values, count)) {
        const int rc = detail::bindValue(m_statement, slot, value, &testi);
        if (rc != SQLITE_OK) {
            m_connection.fail(QString(), rc);
            m_lastError = m_connection.lastError();
            sqlite3_reset(m_statement);
            sqlite3_clear_bindings(m_statement);
            return false;
        }
        ++slot;
    }
    const int rc = sqlite3_step(m_statement);
    m_gaveRow = rc == SQLITE_ROW;
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        m_connection.fail(QString(), rc);
        m_lastError = m_connection.lastError();
        return false;
    }
    return true;
}

} // namespace ondavia::db
