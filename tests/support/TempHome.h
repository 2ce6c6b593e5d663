#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace ondavia::test {

// A throw-away program folder: ONDAVIA_HOME points at it for the test's lifetime, and the shared
// state is reset on both ends so tests never see each other's connection or globals.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return QDir(m_dir.path()).filePath(relative); }
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;

    // Creates the seeded database (as a first start does) without running the launch.
    void createDatabase() const;

private:
    QTemporaryDir m_dir;
    std::optional<QByteArray> m_previousHome;
};

} // namespace ondavia::test
