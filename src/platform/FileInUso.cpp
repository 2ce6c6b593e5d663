#include "FileInUso.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ondavia {

#if defined(Q_OS_UNIX)

std::optional<bool> FileInUso(const QString& percorso)
{
    const QByteArray nome = QFile::encodeName(percorso);
    const int fd = ::open(nome.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM) {
            return true;
        }
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    // Programs lock either the whole file (flock) or byte ranges (fcntl); a lock of either kind held by
    // another process means the file is in use.
    enum class Stato { Libero, InUso, Errore } stato = Stato::Libero;
    struct flock intervallo {};
    intervallo.l_type = F_WRLCK;
    intervallo.l_whence = SEEK_SET;
    if (::fcntl(fd, F_GETLK, &intervallo) != 0) {
        stato = Stato::Errore;
    } else if (intervallo.l_type != F_UNLCK) {
        stato = Stato::InUso;
    } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        stato = errno == EWOULDBLOCK ? Stato::InUso : Stato::Errore;
    } else {
        ::flock(fd, LOCK_UN);
    }
    ::close(fd);
    if (stato == Stato::Errore) {
        return std::nullopt;
    }
    return stato == Stato::InUso;
}

#else

// Elsewhere a program that holds a file open keeps others from writing it: a file that exists but
// cannot be opened for writing is held, or refused, as the lock of another program is above.
std::optional<bool> FileInUso(const QString& percorso)
{
    const QFileInfo info(percorso);
    if (!info.exists() || !info.isFile()) {
        return std::nullopt;
    }
    QFile file(percorso);
    if (file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        return false;
    }
    return true;
}

#endif

} // namespace ondavia
