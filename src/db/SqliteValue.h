#pragma once

#include "Value.h"

#include <QByteArray>

#include <vector>

struct sqlite3_stmt;

namespace ondavia::db::detail {

// The bytes a text or date value is stored as: UTF-8 text, dates as ISO "yyyy-mm-dd".
QByteArray storedText(const Value& value);

// Binds a value to a statement parameter: dates as ISO text, so that they sort and compare as dates.
// With `keep`, texts are bound without a copy and their bytes appended to it: it must outlive the run.
int bindValue(sqlite3_stmt* statement, int index, const Value& value, std::vector<QByteArray>* keep = nullptr);

} // namespace ondavia::db::detail
