#include "SqliteValue.h"

#include <sqlite3.h>

namespace ondavia::db::detail {

QByteArray storedText(const Value& value)
{
    return value.kind() == Value::Kind::Date ? value.toDate().toString(Qt::ISODate).toUtf8() : value.toText().toUtf8();
}

int bindValue(sqlite3_stmt* statement, int index, const Value& value, std::vector<QByteArray>* keep)
{
    switch (value.kind()) {
    case Value::Kind::Null:
        return sqlite3_bind_null(statement, index);
    case Value::Kind::Integer:
        return sqlite3_bind_int64(statement, index, value.toInteger());
    case Value::Kind::Double:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case Value::Kind::Date:
    case Value::Kind::Text: {
        QByteArray text = storedText(value);
        if (keep) {
            // The caller keeps the bytes until the statement has run: SQLite need not copy them.
            keep->push_back(std::move(text));
            const QByteArray& kept = keep->back();
            return sqlite3_bind_text(statement, index, kept.constData(), static_cast<int>(kept.size()), SQLITE_STATIC);
        }
        return sqlite3_bind_text(statement, index, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    }
    return SQLITE_MISUSE;
}

} // namespace ondavia::db::detail
