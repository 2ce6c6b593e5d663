#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <variant>

namespace ondavia::db {

// One column value as the register reads and writes it: Null, text, whole number, real number or date.
// Dates carry no time of day; the "zero date" 30/12/1899 is a valid date like any other.
class Value {
public:
    enum class Kind { Null, Text, Integer, Double, Date };

    Value() = default;
    Value(const QString& text) : m_data(text) {}
    Value(const char* text) : m_data(QString::fromUtf8(text)) {}
    Value(int number) : m_data(static_cast<qint64>(number)) {}
    Value(qint64 number) : m_data(number) {}
    Value(double number) : m_data(number) {}
    Value(const QDate& date) : m_data(date) {}

    static Value null() { return {}; }

    Kind kind() const { return static_cast<Kind>(m_data.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // The value as the forms show it: text as stored, numbers in decimal with a point,
    // dates "dd/mm/yyyy" and the zero date as its time "00:00:00"; Null gives "".
    QString toText() const;
    // The text of a text value, without a copy; empty for any other kind.
    QStringView textView() const
    {
        const QString* text = std::get_if<QString>(&m_data);
        return text ? QStringView(*text) : QStringView();
    }

    // Numeric reading; text is parsed with either "," or "." as decimal separator.
    // Returns 0 and sets *ok to false when the value is not a number.
    double toDouble(bool* ok = nullptr) const;
    // Whole numbers, a fraction rounded half away from zero. A text is read from its digits, never through
    // a double: one optional sign, digits with an optional decimal separator ("," or ".") and an optional
    // exponent, blanks around. Returns 0 and sets *ok to false when the value is no number (two signs,
    // other characters) or lies outside 64 bits.
    qint64 toInteger(bool* ok = nullptr) const;
    QDate toDate() const;

    // Option states are stored as "-1" (chosen) and "0"; Null and empty read as false.
    bool toBool() const;

    bool operator==(const Value& other) const = default;

private:
    std::variant<std::monostate, QString, qint64, double, QDate> m_data;
};

// The date that an empty date converts to, and whose text is "00:00:00".
inline QDate zeroDate()
{
    return QDate(1899, 12, 30);
}

// Parses "dd/mm/yyyy" (one or two digits for day and month) or ISO "yyyy-mm-dd"; invalid QDate otherwise.
QDate parseDateText(const QString& text);

} // namespace ondavia::db
