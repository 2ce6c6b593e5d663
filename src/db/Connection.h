#pragma once

#include <QString>
#include <QStringList>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace ondavia::db {

class Recordset;
class Statement;

// Field type codes, as the register's readers tell text, numbers and dates apart.
enum FieldType : int {
    adInteger = 3,
    adDouble = 5,
    adDate = 7,
    adBoolean = 11,
    adVarWChar = 202,
    adDBTimeStamp = 135,
};

// The one connection to the register's database file. Statements are given in the register's own
// SQL dialect and translated where SQLite differs (see translateSql). Errors are returned as false,
// with a readable reason in lastError().
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing database file for reading and writing. Fails, leaving the file untouched, when
    // it is missing, is not a database, cannot be read or written where it lies (its folder must take
    // the journal of a change), or is locked by another program.
    bool Open(const QString& path);

    // Creates a new, empty database file; fails when the file already exists.
    bool create(const QString& path);

    bool isOpen() const { return m_db != nullptr; }
    // Whether a transaction is open: some failures (a full disk, an I/O error) roll it back by themselves.
    bool inTransaction() const;
    void Close();

    // Runs every statement of the text. With `rows`, the text is a query whose rows are opened into it.
    bool Execute(const QString& sql, Recordset* rows = nullptr);

    // The names of a table's columns, in their order. False, with no names, when the database holds no
    // table of that name (letter case aside) or cannot be read.
    bool columns(const QString& table, QStringList* names);

    const QString& lastError() const { return m_lastError; }
    sqlite3* handle() const { return m_db; }

    // Records the last SQLite failure of this connection as lastError() and returns false.
    bool fail(const QString& context);
    bool fail(const QString& context, int code);

private:
    bool openWith(const QString& path, int flags);
    bool canWriteInPlace();
    // Steps a prepared statement to its end, handing each row to `row`; a failure is told by lastError().
    bool stepToEnd(Statement& statement, const std::function<void(sqlite3_stmt*)>& row = {});

    sqlite3* m_db = nullptr;
    QString m_path;
    QString m_lastError;
};

// Rolls back unless committed: every multi-statement change goes through one of these.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isActive() const { return m_active; }
    bool commit();

private:
    Connection& m_connection;
    bool m_active = false;
};

} // namespace ondavia::db
