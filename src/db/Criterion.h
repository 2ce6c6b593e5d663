#pragma once

#include <QString>

#include <optional>

namespace ondavia::db {

// A search criterion of the form COLUMN = 'text' or COLUMN LIKE 'pattern', where an apostrophe
// inside the text is written twice and the pattern's % (or *) stands for any run of characters.
struct Criterion {
    enum class Op { Invalid, Equal, Like };

    Op op = Op::Invalid;
    QString column;
    QString value; // apostrophes undoubled

    static Criterion parse(const QString& text);
    bool isValid() const { return op != Op::Invalid; }

    // Compares as the register's searches always did: letter case ignored.
    bool matches(const QString& fieldText) const;

    // For a LIKE whose pattern is a text followed by one wildcard and holds no other ("ROM%"), that text:
    // the criterion matches exactly the texts that begin with it, letter case ignored. Nothing otherwise.
    std::optional<QString> prefix() const;
};

} // namespace ondavia::db
