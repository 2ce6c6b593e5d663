#pragma once

#include "Value.h"

struct sqlite3_stmt;

namespace ondavia::db::detail {

// The bytes a text or date value is stored as: UTF-8 text, dates as ISO "yyyy-mm-dd".
QByteArray storedText(const Value& value);

// Binds a value to a statement parameter: dates as ISO text, so that they sort and compare as dates.
int bindValue(sqlite3_stmt* statement, int index, const Value& value);

} // namespace ondavia::db::detail
