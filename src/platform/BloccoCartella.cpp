#include "BloccoCartella.h"

#include <QDir>
#include <QFile>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

namespace ondavia {

namespace {

QString impossibile(const QString& file, const QString& motivo)
{
    return QStringLiteral("il file di blocco %1 non può essere creato o bloccato: %2")
        .arg(QDir::toNativeSeparators(file), motivo);
}

} // namespace

QString BloccoCartella::fileDiBlocco(const QString& cartella)
{
    return QDir(cartella).filePath(QStringLiteral("ondavia.lock"));
}

#if defined(Q_OS_UNIX)

// flock() belongs to the open file, and the kernel drops it when the process ends, however it ends;
// the file says nothing about its holder, so there is nothing in it to go stale. The descriptor is
// not inherited by programs started from here (a PDF viewer must not keep the register locked).
struct BloccoCartella::Presa {
    int fd = -1;
    QByteArray nome;
    dev_t dispositivo = 0;
    ino_t inode = 0;

    Presa() = default;
    Presa(const Presa&) = delete;
    Presa& operator=(const Presa&) = delete;

    ~Presa()
    {
        // Removed while still locked: a program that opens the name afterwards makes a new file, and one
        // that opened the old file finds, once it has locked it, that the name no longer leads there.
        struct stat attuale {};
        if (::stat(nome.constData(), &attuale) == 0 && attuale.st_dev == dispositivo && attuale.st_ino == inode) {
            ::unlink(nome.constData());
        }
        ::close(fd);
    }
};

BloccoCartella::Esito BloccoCartella::prendi(const QString& cartella, QString* errore)
{
    rilascia();
    const QString file = fileDiBlocco(cartella);
    const QByteArray nome = QFile::encodeName(file);
    for (int tentativo = 0; tentativo < 20; ++tentativo) {
        const int fd = ::open(nome.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errore) {
                *errore = impossibile(file, QString::fromLocal8Bit(std::strerror(errno)));
            }
            return Esito::Errore;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int causa = errno;
            ::close(fd);
            if (causa == EWOULDBLOCK) {
                return Esito::Occupato;
            }
            if (errore) {
                *errore = impossibile(file, QString::fromLocal8Bit(std::strerror(causa)));
            }
            return Esito::Errore;
        }
        struct stat aperto {};
        struct stat nominato {};
        if (::fstat(fd, &aperto) == 0 && ::stat(nome.constData(), &nominato) == 0 && aperto.st_dev == nominato.st_dev &&
            aperto.st_ino == nominato.st_ino) {
            m_presa = std::make_unique<Presa>();
            m_presa->fd = fd;
            m_presa->nome = nome;
            m_presa->dispositivo = aperto.st_dev;
            m_presa->inode = aperto.st_ino;
            m_cartella = cartella;
            return Esito::Preso;
        }
        ::close(fd); // its last holder removed it meanwhile: lock the file the name leads to now
    }
    if (errore) {
        *errore = impossibile(file, QStringLiteral("il file cambia di continuo"));
    }
    return Esito::Errore;
}

#else

// Elsewhere Qt's lock file, which tells a dead holder by its process number; the time limit is off,
// since the program keeps the register open for as long as it runs.
struct BloccoCartella::Presa {
    std::unique_ptr<QLockFile> file;
};

BloccoCartella::Esito BloccoCartella::prendi(const QString& cartella, QString* errore)
{
    rilascia();
    const QString file = fileDiBlocco(cartella);
    auto blocco = std::make_unique<QLockFile>(file);
    blocco->setStaleLockTime(0);
    if (blocco->tryLock(0)) {
        m_presa = std::make_unique<Presa>();
        m_presa->file = std::move(blocco);
        m_cartella = cartella;
        return Esito::Preso;
    }
    if (blocco->error() == QLockFile::LockFailedError) {
        return Esito::Occupato;
    }
    if (errore) {
        *errore = impossibile(file, QStringLiteral("permessi insufficienti o disco non scrivibile"));
    }
    return Esito::Errore;
}

#endif

BloccoCartella::BloccoCartella() = default;

BloccoCartella::~BloccoCartella() = default;

void BloccoCartella::rilascia()
{
    m_presa.reset();
    m_cartella.clear();
}

bool BloccoCartella::preso() const
{
    return m_presa != nullptr;
}

} // namespace ondavia
