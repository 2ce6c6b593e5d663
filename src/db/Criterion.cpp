#include "Criterion.h"

namespace ondavia::db {

namespace {

bool isAsciiSpace(QChar c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

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

// Read by hand rather than by a pattern: the text may be anything the operator typed, even text that
// is not well-formed UTF-16 (half of a character outside the basic plane), and any text must give an
// answer, never a refusal of the text itself.
Criterion Criterion::parse(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto blanks = [&] {
        while (i < n && isAsciiSpace(text[i])) {
            ++i;
        }
    };

    Criterion result;
    blanks();
    if (i < n && text[i] == u'[') {
        ++i;
    }
    const qsizetype columnStart = i;
    if (i >= n || !(isAsciiLetter(text[i]) || text[i] == u'_')) {
        return result;
    }
    while (i < n && (isAsciiLetter(text[i]) || isAsciiDigit(text[i]) || text[i] == u'_')) {
        ++i;
    }
    const QString column = text.mid(columnStart, i - columnStart);
    if (i < n && text[i] == u']') {
        ++i;
    }
    blanks();

    Op op = Op::Invalid;
    if (i < n && text[i] == u'=') {
        op = Op::Equal;
        ++i;
    } else if (QStringView(text).sliced(i).startsWith(u"LIKE", Qt::CaseInsensitive) && i + 4 < n &&
               isAsciiSpace(text[i + 4])) {
        op = Op::Like;
        i += 4;
    } else {
        return result;
    }
    blanks();

    if (i >= n || text[i] != u'\'') {
        return result;
    }
    ++i;
    QString value;
    bool closed = false;
    while (i < n) {
        if (text[i] != u'\'') {
            value.append(text[i++]);
        } else if (i + 1 < n && text[i + 1] == u'\'') {
            value.append(u'\'');
            i += 2;
        } else {
            closed = true;
            ++i;
            break;
        }
    }
    blanks();
    if (!closed || i != n) {
        return result;
    }
    result.op = op;
    result.column = column;
    result.value = value;
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
