#include "FileUtente.h"

#include "MsgBox.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ondavia {

bool ChiediSovrascrittura(const QString& percorso)
{
    const QFileInfo file(percorso);
    if (percorso.isEmpty() || !file.exists() || file.isDir()) {
        return false;
    }
    const QString testo = QStringLiteral("Il documento \r\n \r\n") + percorso +
                          QStringLiteral("\r\n \r\nesiste già. Vuoi sostituirlo?  ");
    return MsgBox(testo, MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("Controllo Documento")) ==
           MsgResult::No;
}

std::optional<QString> ChiediDoveSalvare(FileRequest richiesta)
{
    // The save dialog never asks about replacing a file: a refusal shows it again on the refused path.
    QString percorso;
    do {
        const auto scelto = platform().saveFileName(richiesta);
        if (!scelto) {
            return std::nullopt;
        }
        percorso = *scelto;
        richiesta.fileName = percorso;
    } while (ChiediSovrascrittura(percorso));
    return percorso;
}

bool ScriviTutto(QIODevice& file, QByteArrayView dati)
{
    qint64 scritti = 0;
    while (scritti < dati.size()) {
        const qint64 n = file.write(dati.data() + scritti, dati.size() - scritti);
        if (n <= 0) {
            return false;
        }
        scritti += n;
    }
    return true;
}

QString CartellaDesktop()
{
    return platform().desktopFolder();
}

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

} // namespace ondavia
