#include "SqliteValue.h"

#include <sqlite3.h>

namespace ondavia::db::detail {

namespace {

// "yyyy-mm-dd" as QDate::toString(Qt::ISODate) writes it, without going through its general formatting:
// a bulk insert stores a date in every row. Years without four digits are left to QDate.
void appendIsoDate(std::string* out, const QDate& date)
{
    const int anno = date.year();
    if (!date.isValid() || anno < 1 || anno > 9999) {
        const QByteArray testo = date.toString(Qt::ISODate).toUtf8();
        out->append(testo.constData(), static_cast<std::size_t>(testo.size()));
        return;
    }
    char cifre[] = "0000-00-00";
    const auto scrivi = [&cifre](int fine, int numero) {
        for (int i = fine; numero > 0; --i, numero /= 10) {
            cifre[i] = static_cast<char>('0' + numero % 10);
        }
    };
    scrivi(3, anno);
    scrivi(6, date.month());
    scrivi(9, date.day());
    out->append(cifre, 10);
}

} // namespace

void appendUtf8(std::string* out, QStringView text)
{
    const std::size_t inizio = out->size();
    out->resize(inizio + 3 * static_cast<std::size_t>(text.size()));
    auto* scritto = reinterpret_cast<unsigned char*>(out->data() + inizio);
    const char16_t* c = text.utf16();
    const char16_t* const fine = c + text.size();
    while (c != fine) {
        const char32_t u = *c++;
        if (u < 0x80) {
            *scritto++ = static_cast<unsigned char>(u);
        } else if (u < 0x800) {
            *scritto++ = static_cast<unsigned char>(0xC0 | (u >> 6));
            *scritto++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
        } else if (u < 0xD800 || u > 0xDFFF) {
            *scritto++ = static_cast<unsigned char>(0xE0 | (u >> 12));
            *scritto++ = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
            *scritto++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
        } else if (u < 0xDC00 && c != fine && *c >= 0xDC00 && *c <= 0xDFFF) {
            const char32_t p = 0x10000 + ((u - 0xD800) << 10) + (*c++ - 0xDC00);
            *scritto++ = static_cast<unsigned char>(0xF0 | (p >> 18));
            *scritto++ = static_cast<unsigned char>(0x80 | ((p >> 12) & 0x3F));
            *scritto++ = static_cast<unsigned char>(0x80 | ((p >> 6) & 0x3F));
            *scritto++ = static_cast<unsigned char>(0x80 | (p & 0x3F));
        } else {
            *scritto++ = '?';
        }
    }
    out->resize(static_cast<std::size_t>(reinterpret_cast<char*>(scritto) - out->data()));
}

void appendStoredText(std::string* out, const Value& value)
{
    if (value.kind() == Value::Kind::Date) {
        appendIsoDate(out, value.toDate());
    } else {
        appendUtf8(out, value.textView());
    }
}

int bindValue(sqlite3_stmt* statement, int index, const Value& value, std::string_view stored)
{
    switch (value.kind()) {
    case Value::Kind::Null:
        return sqlite3_bind_null(statement, index);
    case Value::Kind::Integer:
        return sqlite3_bind_int64(statement, index, value.toInteger());
    case Value::Kind::Double:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case Value::Kind::Date:
    case Value::Kind::Text:
        return sqlite3_bind_text(statement, index, stored.data(), static_cast<int>(stored.size()), SQLITE_STATIC);
    }
    return SQLITE_MISUSE;
}

} // namespace ondavia::db::detail
