#pragma once

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <string>

namespace ondavia::test {

// Everything under a folder, by relative path: each file's digest, each subfolder and symbolic link. Two
// snapshots are equal only when nothing was added, removed or changed in a single byte.
inline std::map<std::string, std::string> folderSnapshot(const QString& folder)
{
    std::map<std::string, std::string> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        std::string& what = entries[QDir(folder).relativeFilePath(entry.filePath()).toStdString()];
        QFile file(entry.filePath());
        if (entry.isSymLink()) {
            what = "link to " + entry.symLinkTarget().toStdString();
        } else if (entry.isDir()) {
            what = "folder";
        } else if (file.open(QIODevice::ReadOnly)) {
            what = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex().toStdString();
        } else {
            what = "unreadable file";
        }
    }
    return entries;
}

} // namespace ondavia::test
