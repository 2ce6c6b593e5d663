#include "ProgramModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ondavia {

ProgramModule::ProgramModule(const QString& fileName, QString purpose)
    : ProgramModule(QCoreApplication::applicationDirPath(), fileName, std::move(purpose))
{
}

ProgramModule::ProgramModule(const QString& folder, const QString& fileName, QString purpose)
    : m_path(QDir(folder).filePath(fileName)), m_purpose(std::move(purpose))
{
}

QFunctionPointer ProgramModule::resolve(const char* symbol, QString* error)
{
    QString unused;
    if (!error) {
        error = &unused;
    }
    const QString file = QDir::toNativeSeparators(m_path);
    if (!m_library.isLoaded()) {
        // Never a file found by a relative path: that would be wherever the program was started from.
        if (QFileInfo(m_path).isRelative() || !QFileInfo(m_path).isFile()) {
            *error = QStringLiteral("manca il file %1, che serve %2; reinstalla il programma.").arg(file, m_purpose);
            return nullptr;
        }
        m_library.setFileName(m_path);
        if (!m_library.load()) {
            *error = QStringLiteral("il file %1, che serve %2, non si può caricare (%3); reinstalla il programma.")
                         .arg(file, m_purpose, m_library.errorString());
            return nullptr;
        }
    }
    const QFunctionPointer function = m_library.resolve(symbol);
    if (!function) {
        *error = QStringLiteral("il file %1 non è quello di questa versione del programma; reinstalla il programma.")
                     .arg(file);
    }
    return function;
}

} // namespace ondavia
