#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <string>
#include <vector>

namespace ondavia::test {

// Everything under a folder: each file's bytes, each subfolder and symbolic link, by relative path.
class FolderSnapshot {
public:
    explicit FolderSnapshot(const QString& folder);

    // The paths that differ from `earlier`: added, removed or changed in a single byte.
    std::vector<std::string> changesSince(const FolderSnapshot& earlier) const;

private:
    std::map<QString, QByteArray> m_entries;
};

} // namespace ondavia::test
