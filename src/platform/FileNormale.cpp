#include "FileNormale.h"

#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ondavia {

#if defined(Q_OS_UNIX)

namespace {

QString genere(mode_t modo)
{
    if (S_ISDIR(modo)) {
        return QStringLiteral("una cartella");
    }
    if (S_ISFIFO(modo)) {
        return QStringLiteral("una pipe con nome");
    }
    if (S_ISCHR(modo) || S_ISBLK(modo)) {
        return QStringLiteral("un dispositivo");
    }
    if (S_ISSOCK(modo)) {
        return QStringLiteral("un socket");
    }
    return QStringLiteral("un oggetto speciale del sistema");
}

} // namespace

AperturaFile apriFileNormale(QFile& file, const QString& percorso)
{
    AperturaFile esito;
    file.close();
    const QByteArray nome = QFile::encodeName(percorso);
    // Told from the path first, so that a device is not even opened (opening some acts on them).
    struct stat info {};
    if (::stat(nome.constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        esito.genere = genere(info.st_mode);
        return esito;
    }
    // Without waiting, should a named pipe have taken the file's place since: the descriptor tells.
    const int fd = ::open(nome.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        esito.errore = qt_error_string(errno);
        return esito;
    }
    struct stat aperto {};
    if (::fstat(fd, &aperto) != 0) {
        esito.errore = qt_error_string(errno);
    } else if (!S_ISREG(aperto.st_mode)) {
        esito.genere = genere(aperto.st_mode);
    }
    if (!esito.errore.isEmpty() || !esito.genere.isEmpty()) {
        ::close(fd);
        return esito;
    }
    // A file of data never blocks; the flag goes only so that the file reads as any other.
    if (const int stato = ::fcntl(fd, F_GETFL); stato >= 0) {
        ::fcntl(fd, F_SETFL, stato & ~O_NONBLOCK);
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        esito.errore = file.errorString();
        ::close(fd);
        return esito;
    }
    esito.aperto = true;
    return esito;
}

#else

AperturaFile apriFileNormale(QFile& file, const QString& percorso)
{
    AperturaFile esito;
    file.close();
    const QFileInfo info(percorso);
    if (info.exists() && !info.isFile()) {
        esito.genere =
            info.isDir() ? QStringLiteral("una cartella") : QStringLiteral("un oggetto speciale del sistema");
        return esito;
    }
    file.setFileName(percorso);
    if (!file.open(QIODevice::ReadOnly)) {
        esito.errore = file.errorString();
        return esito;
    }
    esito.aperto = true;
    return esito;
}

#endif

} // namespace ondavia
