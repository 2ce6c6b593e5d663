#include "Criterion.h"

#include <QRegularExpression>

namespace ondavia::db {

namespace {

// Matches with % or * as "any run"; both texts already case-folded.
bool likeMatch(QStringView text, QStringView pattern)
{
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'%' || pattern[p] == u'*')) {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == u'%' || pattern[p] == u'*')) {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

Criterion Criterion::parse(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*\[?([A-Za-z_][A-Za-z0-9_]*)\]?\s*(=|LIKE\s)\s*'((?:[^']|'')*)'\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    Criterion result;
    const auto match = form.match(text);
    if (!match.hasMatch()) {
        return result;
    }
    result.column = match.captured(1);
    result.op = match.captured(2) == QLatin1String("=") ? Op::Equal : Op::Like;
    result.value = match.captured(3).replace(QLatin1String("''"), QLatin1String("'"));
    return result;
}

bool Criterion::matches(const QString& fieldText) const
{
    switch (op) {
    case Op::Equal:
        return fieldText.compare(value, Qt::CaseInsensitive) == 0;
    case Op::Like:
        return likeMatch(fieldText.toCaseFolded(), value.toCaseFolded());
    case Op::Invalid:
        break;
    }
    return false;
}

} // namespace ondavia::db
