#include "Statement.h"

#include "Connection.h"
#include "SqlDialect.h"
#include "SqliteValue.h"

#include <sqlite3.h>

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
    if (!m_statement) {
        return false;
    }
    int slot = 1;
    for (const Value& value : values) {
        const int rc = detail::bindValue(m_statement, slot, value);
        if (rc != SQLITE_OK) {
            m_connection.fail(QString(), rc);
            m_lastError = m_connection.lastError();
            sqlite3_reset(m_statement);
            return false;
        }
        ++slot;
    }
    const int rc = sqlite3_step(m_statement);
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
