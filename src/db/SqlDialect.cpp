#include "SqlDialect.h"

#include <QRegularExpression>

namespace ondavia::db {

namespace {

// Splits at apostrophes so that rewrites never touch the inside of a text literal.
template <typename Rewrite> QString rewriteOutsideLiterals(const QString& sql, Rewrite rewrite)
{
    QString result;
    QString chunk;
    bool inLiteral = false;
    for (const QChar c : sql) {
        if (c == QLatin1Char('\'')) {
            if (!inLiteral) {
                result += rewrite(chunk);
                chunk.clear();
            }
            inLiteral = !inLiteral;
            result += c;
            continue;
        }
        if (inLiteral) {
            result += c;
        } else {
            chunk += c;
        }
    }
    result += inLiteral ? chunk : rewrite(chunk);
    return result;
}

QString translateUpdate(const QString& sql)
{
    static const QRegularExpression head(QStringLiteral(R"(^\s*UPDATE\s+([A-Za-z_][A-Za-z0-9_]*)\s+SET\s)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = head.match(sql);
    if (!match.hasMatch()) {
        return sql;
    }
    const QString table = match.captured(1);
    const QRegularExpression qualifier(
        QStringLiteral(R"(\b%1\s*\.\s*(?=[A-Za-z_]))").arg(QRegularExpression::escape(table)),
        QRegularExpression::CaseInsensitiveOption);
    const qsizetype setEnd = match.capturedEnd(0);
    QString tail = rewriteOutsideLiterals(sql.mid(setEnd), [&](QString part) { return part.remove(qualifier); });
    return sql.left(setEnd) + tail;
}

QString translateAddColumn(const QString& sql)
{
    static const QRegularExpression addText(
        QStringLiteral(
            R"(^(\s*ALTER\s+TABLE\s+\S+\s+ADD\s+(?:COLUMN\s+)?\S+\s+(?:TEXT|VARCHAR|CHAR)\s*(?:\(\s*\d+\s*\))?)(\s*;?\s*)$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = addText.match(sql);
    if (!match.hasMatch()) {
        return sql;
    }
    return match.captured(1) + QStringLiteral(" COLLATE NOCASE") + match.captured(2);
}

} // namespace

QString translateSql(const QString& sql)
{
    return translateAddColumn(translateUpdate(sql));
}

} // namespace ondavia::db
