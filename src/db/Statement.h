#pragma once

#include "Value.h"

#include <QString>

#include <initializer_list>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace ondavia::db {

class Connection;

// A prepared statement run many times with different values: used where rows are written in bulk.
class Statement {
public:
    Statement(Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return m_statement != nullptr; }
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
