#include "FolderSnapshot.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace ondavia::test {

FolderSnapshot::FolderSnapshot(const QString& folder)
{
    const QDir root(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString name = root.relativeFilePath(entry.filePath());
        if (entry.isSymLink()) {
            m_entries[name] = "link to " + entry.symLinkTarget().toUtf8();
        } else if (entry.isDir()) {
            m_entries[name] = "folder";
        } else {
            QFile file(entry.filePath());
            m_entries[name] = file.open(QIODevice::ReadOnly) ? "file " + file.readAll() : "unreadable file";
        }
    }
}

std::vector<std::string> FolderSnapshot::changesSince(const FolderSnapshot& earlier) const
{
    std::vector<std::string> changes;
    for (const auto& [name, content] : m_entries) {
        const auto before = earlier.m_entries.find(name);
        if (before == earlier.m_entries.end()) {
            changes.push_back("added " + name.toStdString());
        } else if (before->second != content) {
            changes.push_back("changed " + name.toStdString());
        }
    }
    for (const auto& [name, content] : earlier.m_entries) {
        if (!m_entries.count(name)) {
            changes.push_back("removed " + name.toStdString());
        }
    }
    return changes;
}

} // namespace ondavia::test
