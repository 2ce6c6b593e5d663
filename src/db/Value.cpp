#include "Value.h"

#include <QRegularExpression>

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

// A text of decimal digits, with an optional sign and blanks around, as the 64-bit number it writes;
// nothing for any other text or a number outside 64 bits.
std::optional<qint64> wholeNumber(const QString& text)
{
    const QByteArray latin = text.trimmed().toLatin1();
    const char* first = latin.constData();
    const char* last = first + latin.size();
    if (first != last && *first == '+') {
        ++first;
    }
    qint64 number = 0;
    const auto [end, ec] = std::from_chars(first, last, number);
    if (first == last || ec != std::errc() || end != last) {
        return std::nullopt;
    }
    return number;
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
    }
    if (!result && kind() != Kind::Integer) {
        // A fraction is rounded half away from zero. Digits alone come this way only from outside 64 bits,
        // where their double lies too and is refused: none is ever read through a double.
        bool parsed = false;
        const double number = toDouble(&parsed);
        if (parsed && std::isfinite(number) && std::fabs(std::round(number)) < 0x1p63) {
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
