#include "TempHome.h"

#include "app/Archivio.h"
#include "app/Dichiarazioni.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace ondavia::test {

TempHome::TempHome()
{
    if (qEnvironmentVariableIsSet("ONDAVIA_HOME")) {
        m_previousHome = qgetenv("ONDAVIA_HOME");
    }
    qputenv("ONDAVIA_HOME", m_dir.path().toUtf8());
    resetDichiarazioni();
}

TempHome::~TempHome()
{
    resetDichiarazioni();
    if (m_previousHome) {
        qputenv("ONDAVIA_HOME", *m_previousHome);
    } else {
        qunsetenv("ONDAVIA_HOME");
    }
}

void TempHome::write(const QString& relative, const QByteArray& bytes) const
{
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile out(target);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
}

QByteArray TempHome::read(const QString& relative) const
{
    QFile in(file(relative));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void TempHome::createDatabase() const
{
    QString error;
    ASSERT_TRUE(creaArchivio(file(QStringLiteral("DataBase/OVIA.db")), QString(), &error)) << error.toStdString();
}

} // namespace ondavia::test
