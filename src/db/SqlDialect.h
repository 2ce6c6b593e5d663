#pragma once

#include <QString>

namespace ondavia::db {

// The register's statements are written in the dialect of the desktop database it came from.
// This turns the few constructs SQLite reads differently into their SQLite form; everything else
// passes through unchanged:
//  - "UPDATE T SET T.COL = ..." drops the table qualifier in front of assigned columns;
//  - "ALTER TABLE T ADD COLUMN C Text (n)" gains COLLATE NOCASE, since text comparisons ignore case.
QString translateSql(const QString& sql);

} // namespace ondavia::db
