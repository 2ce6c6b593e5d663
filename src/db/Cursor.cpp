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

Cursor::Cursor() : d(std::make_unique<Impl>()) {}
Cursor::~Cursor() = default;

bool Cursor::Open(const QString& sql, Connection& connection)
{
    d = std::make_unique<Impl>();
    d->connection = &connection;
    if (!connection.IsOpen()) {
        d->lastError = QStringLiteral("la connessione al database non è aperta");
        return false;
    }
    const QByteArray utf8 = TranslateSql(sql).toUtf8();
    if (sqlite3_prepare_v2(connection.handle(), utf8.constData(), static_cast<int>(utf8.size()), &d->statement,
                           nullptr) != SQLITE_OK) {
        connection.fail(QString());
        d->lastError = connection.lastError();
        return false;
    }
    for (int i = 0; i < sqlite3_column_count(d->statement); ++i) {
        d->columns.push_back(detail::columnOf(d->statement, i));
    }
    return true;
}

bool Cursor::next()
{
    d->row.clear();
    d->onRow = false;
    if (!d->statement) {
        return false;
    }
    const int rc = sqlite3_step(d->statement);
    if (rc == SQLITE_ROW) {
        d->row.appendFrom(d->statement, 0);
        d->onRow = true;
        return true;
    }
    if (rc != SQLITE_DONE) {
        d->connection->fail(QString(), rc);
        d->lastError = d->connection->lastError();
    }
    sqlite3_finalize(d->statement);
    d->statement = nullptr;
    return false;
}

int Cursor::FieldCount() const
{
    return static_cast<int>(d->columns.size());
}

QString Cursor::Name(int index) const
{
    return index >= 0 && index < FieldCount() ? d->columns[static_cast<std::size_t>(index)].name : QString();
}

int Cursor::Type(int index) const
{
    return index >= 0 && index < FieldCount() ? d->columns[static_cast<std::size_t>(index)].type : 0;
}

int Cursor::fieldIndex(const QString& name) const
{
    for (int i = 0; i < FieldCount(); ++i) {
        if (d->columns[static_cast<std::size_t>(i)].name.compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

Value Cursor::value(int index) const
{
    return d->onRow && index >= 0 && index < FieldCount() ? d->row.value(0, index) : Value();
}

bool Cursor::storedText(int index, std::string_view* bytes) const
{
    return d->onRow && index >= 0 && index < FieldCount() && d->row.storedText(0, index, bytes);
}

const QString& Cursor::lastError() const
{
    return d->lastError;
}

} // namespace ondavia::db
