#include "Value.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ondavia::db {

namespace {

QString formatDouble(double number)
{
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number);
    if (ec != std::errc()) {
        return QString::number(number, 'g', 17);
    }
    return QString::fromLatin1(buffer, static_cast<int>(end - buffer));
}

// A number written in decimal as the 64-bit whole number nearest to it, a half away from zero: an optional
// sign, digits with an optional decimal separator ("," or ".") among or before them, and an optional
// exponent, with blanks around. It is read from its digits, never through a double, so that every 64-bit
// number and every fraction rounds as it is written. Nothing for any other text (two signs, blanks
// inside) or a number outside 64 bits.
std::optional<qint64> wholeNumber(QStringView text)
{
    text = text.trimmed();
    const qsizetype size = text.size();
    const auto digit = [&text, size](qsizetype i) { return i < size && text[i] >= u'0' && text[i] <= u'9'; };
    qsizetype i = 0;
    const bool negative = i < size && text[i] == u'-';
    if (i < size && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    const qsizetype first = i;
    qsizetype separator = -1;
    for (; i < size; ++i) {
        if (separator < 0 && (text[i] == u',' || text[i] == u'.')) {
            separator = i;
        } else if (!digit(i)) {
            break;
        }
    }
    const qsizetype end = i;
    const qsizetype digits = end - first - (separator < 0 ? 0 : 1);
    if (digits == 0) {
        return std::nullopt;
    }
    // The exponent only moves the decimal point: capped far beyond where every value is 0 or too large.
    qint64 exponent = 0;
    if (i < size && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        const bool below = i < size && text[i] == u'-';
        if (i < size && (text[i] == u'+' || text[i] == u'-')) {
            ++i;
        }
        if (!digit(i)) {
            return std::nullopt;
        }
        for (; digit(i); ++i) {
            exponent = std::min<qint64>(exponent * 10 + (text[i].unicode() - u'0'), qint64{1} << 40);
        }
        exponent = below ? -exponent : exponent;
    }
    if (i != size) {
        return std::nullopt;
    }
    // The digits d0 d1 ... with the decimal point after the first `whole` of them.
    const auto at = [&](qint64 k) { return text[first + k + (separator >= 0 && first + k >= separator ? 1 : 0)]; };
    const qint64 whole = (separator < 0 ? digits : separator - first) + exponent;
    constexpr quint64 limit = quint64{1} << 63; // the magnitude of the smallest number, one past the largest
    quint64 magnitude = 0;
    for (qint64 k = 0; k < std::min<qint64>(whole, digits); ++k) {
        const unsigned d = at(k).unicode() - u'0';
        if (magnitude > (limit - d) / 10) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + d;
    }
    for (qint64 k = digits; k < whole && magnitude != 0; ++k) {
        if (magnitude > limit / 10) {
            return std::nullopt;
        }
        magnitude *= 10;
    }
    // Half away from zero: the first digit after the point decides alone.
    if (whole >= 0 && whole < digits && at(whole) >= u'5') {
        ++magnitude;
    }
    if (magnitude > (negative ? limit : limit - 1)) {
        return std::nullopt;
    }
    return negative ? static_cast<qint64>(0 - magnitude) : static_cast<qint64>(magnitude);
}

} // namespace

QString Value::toText() const
{
    switch (kind()) {
    case Kind::Null:
        return {};
    case Kind::Text:
        return std::get<QString>(m_data);
    case Kind::Integer:
        return QString::number(std::get<qint64>(m_data));
    case Kind::Double:
        return formatDouble(std::get<double>(m_data));
    case Kind::Date: {
        const QDate date = std::get<QDate>(m_data);
        if (date == zeroDate()) {
            return QStringLiteral("00:00:00");
        }
        return date.toString(QStringLiteral("dd/MM/yyyy"));
    }
    }
    return {};
}

double Value::toDouble(bool* ok) const
{
    bool parsed = true;
    double result = 0;
    switch (kind()) {
    case Kind::Null:
        parsed = false;
        break;
    case Kind::Text: {
        QString text = std::get<QString>(m_data).trimmed();
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        result = text.toDouble(&parsed);
        break;
    }
    case Kind::Integer:
        result = static_cast<double>(std::get<qint64>(m_data));
        break;
    case Kind::Double:
        result = std::get<double>(m_data);
        break;
    case Kind::Date:
        result = static_cast<double>(zeroDate().daysTo(std::get<QDate>(m_data)));
        break;
    }
    if (ok) {
        *ok = parsed;
    }
    return parsed ? result : 0.0;
}

qint64 Value::toInteger(bool* ok) const
{
    std::optional<qint64> result;
    if (kind() == Kind::Integer) {
        result = std::get<qint64>(m_data);
    } else if (kind() == Kind::Text) {
        result = wholeNumber(std::get<QString>(m_data));
    } else if (kind() != Kind::Null) {
        // A double (or the days of a date) is rounded half away from zero, as far as 64 bits hold it.
        const double number = toDouble();
        if (std::isfinite(number) && std::fabs(std::round(number)) < 0x1p63) {
            result = static_cast<qint64>(std::llround(number));
        }
    }
    if (ok) {
        *ok = result.has_value();
    }
    return result.value_or(0);
}

QDate Value::toDate() const
{
    switch (kind()) {
    case Kind::Date:
        return std::get<QDate>(m_data);
    case Kind::Text:
        return parseDateText(std::get<QString>(m_data));
    default:
        return {};
    }
}

bool Value::toBool() const
{
    switch (kind()) {
    case Kind::Null:
        return false;
    case Kind::Text: {
        const QString text = std::get<QString>(m_data).trimmed();
        if (text.isEmpty()) {
            return false;
        }
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            text.compare(QLatin1String("vero"), Qt::CaseInsensitive) == 0) {
            return true;
        }
        bool numeric = false;
        const double number = Value(text).toDouble(&numeric);
        return numeric && number != 0.0;
    }
    case Kind::Integer:
        return std::get<qint64>(m_data) != 0;
    case Kind::Double:
        return std::get<double>(m_data) != 0.0;
    case Kind::Date:
        return true;
    }
    return false;
}

QDate parseDateText(const QString& text)
{
    static const QRegularExpression dayFirst(QStringLiteral(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})\s*$)"));
    static const QRegularExpression iso(QStringLiteral(R"(^\s*(\d{4})-(\d{2})-(\d{2})(?:[ T].*)?$)"));
    if (const auto m = dayFirst.match(text); m.hasMatch()) {
        return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    }
    if (const auto m = iso.match(text); m.hasMatch()) {
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    }
    return {};
}

} // namespace ondavia::db
