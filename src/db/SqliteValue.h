#pragma once

#include "Value.h"

#include <QStringView>

#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace ondavia::db::detail {

// Appends the bytes a text or date value is stored as: UTF-8 text, dates as ISO "yyyy-mm-dd".
void appendStoredText(std::string* out, const Value& value);
// Appends the UTF-8 bytes of a text exactly as QString::toUtf8() gives them (a lone surrogate as '?').
void appendUtf8(std::string* out, QStringView text);

// Binds a value to a statement parameter: dates as ISO text, so that they sort and compare as dates.
// For a text or date, `stored` is its stored text (appendStoredText), bound without a copy: it must stay
// unchanged until the statement has run. Other values ignore it.
int bindValue(sqlite3_stmt* statement, int index, const Value& value, std::string_view stored);

} // namespace ondavia::db::detail
