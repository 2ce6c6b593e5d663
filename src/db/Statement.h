#pragma once

#include "Value.h"

#include <QByteArrayView>
#include <QString>

#include <initializer_list>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace ondavia::db {

class Connection;

// A prepared statement, finalized with its object whatever way its user leaves: run many times with different
// values where rows are written in bulk, or stepped through its rows by a reader.
class Statement {
public:
    // Prepares a statement given in the register's own SQL dialect (see translateSql).
    Statement(Connection& connection, const QString& sql);
    // Holds nothing until prepare().
    explicit Statement(Connection& connection);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Prepares the first statement of a text as SQLite reads it, finalizing the one held; `tail`, when given,
    // receives where the text's next statement begins. False, with lastError() and the connection's, when it
    // cannot be prepared; a text of blanks or a lone ";" prepares nothing and is no failure.
    bool prepare(QByteArrayView sql, const char** tail = nullptr);

    bool isValid() const { return m_statement != nullptr; }
    // One step of the statement: SQLite's result code (SQLITE_ROW on a row, SQLITE_DONE at the end). Any other
    // code is a failure, which lastError() and the connection's then tell.
    int step();
    // The statement itself, for reading the columns of the row it is on; it stays owned by this object.
    sqlite3_stmt* handle() const { return m_statement; }
    // Binds the values to the statement's parameters in order, runs it to completion and resets it.
    bool run(std::initializer_list<Value> values);
    bool run(const std::vector<Value>& values);
    // Whether the last run of a query found a row.
    bool gaveRow() const { return m_gaveRow; }
    const QString& lastError() const { return m_lastError; }

private:
    bool run(const Value* values, std::size_t count);

    Connection& m_connection;
    sqlite3_stmt* m_statement = nullptr;
    QString m_lastError;
    bool m_gaveRow = false;
    // The texts of the values being bound, one after the other, and where each value's text begins: kept
    // from run to run, so that binding a row allocates nothing.
    std::string m_texts;
    std::vector<std::size_t> m_starts;
};

} // namespace ondavia::db
