#include "Cursor.h"

#include "Connection.h"
#include "RowStore.h"
#include "SqlDialect.h"

#include <sqlite3.h>

#include <vector>

namespace ondavia::db {

struct Cursor::Impl {
    sqlite3_stmt* statement = nullptr;
    Connection* connection = nullptr;
    std::vector<detail::Column> columns;
    detail::RowStore row{&columns};
    bool onRow = false;
    QString lastError;

    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    ~Impl() { sqlite3_finalize(statement); }
};

Cursor::Cursor() : m_d(std::make_unique<Impl>()) {}
Cursor::~Cursor() = default;

bool Cursor::Open(const QString& sql, Connection& connection)
{
    m_d = std::make_unique<Impl>();
    m_d->connection = &connection;
    if (!connection.isOpen()) {
        m_d->lastError = QStringLiteral("la connessione al database non è aperta");
        return false;
    }
    const QByteArray utf8 = translateSql(sql).toUtf8();
    if (sqlite3_prepare_v2(connection.handle(), utf8.constData(), static_cast<int>(utf8.size()), &m_d->statement,
                           nullptr) != SQLITE_OK) {
        connection.fail(QString());
        m_d->lastError = connection.lastError();
        return false;
    }
    for (int i = 0; i < sqlite3_column_count(m_d->statement); ++i) {
        m_d->columns.push_back(detail::columnOf(m_d->statement, i));
    }
    return true;
}

bool Cursor::next()
{
    m_d->row.clear();
    m_d->onRow = false;
    if (!m_d->statement) {
        return false;
    }
    const int rc = sqlite3_step(m_d->statement);
    if (rc == SQLITE_ROW) {
        m_d->row.appendFrom(m_d->statement, 0);
        m_d->onRow = true;
        return true;
    }
    if (rc != SQLITE_DONE) {
        m_d->connection->fail(QString(), rc);
        m_d->lastError = m_d->connection->lastError();
    }
    sqlite3_finalize(m_d->statement);
    m_d->statement = nullptr;
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
    for (int i = 0; i < FieldCount(); ++i) {
        if (m_d->columns[static_cast<std::size_t>(i)].name.compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

Value Cursor::value(int index) const
{
    return m_d->onRow && index >= 0 && index < FieldCount() ? m_d->row.value(0, index) : Value();
}

bool Cursor::storedText(int index, std::string_view* bytes) const
{
    return m_d->onRow && index >= 0 && index < FieldCount() && m_d->row.storedText(0, index, bytes);
}

const QString& Cursor::lastError() const
{
    return m_d->lastError;
}

} // namespace ondavia::db
