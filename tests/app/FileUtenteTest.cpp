#include "app/FileUtente.h"
#include "platform/ScriptedPlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ondavia;

namespace {

bool scriviFile(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::WriteOnly) && f.write("contenuto") == 9;
}

// Another process that holds a lock on the file until it is told to stop.
class AltroProgramma {
public:
    enum class Blocco { Flock, Fcntl };

    AltroProgramma(const QString& percorso, Blocco blocco)
    {
        int pronto[2];
        if (::pipe(pronto) != 0 || ::pipe(m_fine) != 0) {
            return;
        }
        const QByteArray nome = QFile::encodeName(percorso);
        m_pid = ::fork();
        if (m_pid == 0) {
            const int fd = ::open(nome.constData(), O_RDWR);
            bool ok = fd >= 0;
            if (ok && blocco == Blocco::Flock) {
                ok = ::flock(fd, LOCK_EX) == 0;
            } else if (ok) {
                struct flock intervallo {};
                intervallo.l_type = F_WRLCK;
                intervallo.l_whence = SEEK_SET;
                ok = ::fcntl(fd, F_SETLK, &intervallo) == 0;
            }
            const char esito = ok ? '1' : '0';
            (void)!::write(pronto[1], &esito, 1);
            char c;
            (void)!::read(m_fine[0], &c, 1);
            ::_exit(0);
        }
        char esito = '0';
        m_pronto = ::read(pronto[0], &esito, 1) == 1 && esito == '1';
        ::close(pronto[0]);
        ::close(pronto[1]);
    }

    ~AltroProgramma()
    {
        if (m_pid > 0) {
            const char c = 'x';
            (void)!::write(m_fine[1], &c, 1);
            ::waitpid(m_pid, nullptr, 0);
        }
        ::close(m_fine[0]);
        ::close(m_fine[1]);
    }

    bool pronto() const { return m_pronto; }

private:
    pid_t m_pid = -1;
    int m_fine[2] = {-1, -1};
    bool m_pronto = false;
};

} // namespace

TEST(ChiediSovrascritturaTest, ChiedeSoloPerUnFileCheEsiste)
{
    ScriptedPlatform scripted;
    PlatformScope scope(scripted);
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("OVIA_ROSSI_001.TXT"));

    EXPECT_FALSE(ChiediSovrascrittura(percorso));
    EXPECT_FALSE(ChiediSovrascrittura(cartella.path())) << "a folder is no document";
    EXPECT_TRUE(scripted.messages.empty());

    ASSERT_TRUE(scriviFile(percorso));
    scripted.answers = {MsgResult::No, MsgResult::Yes};
    EXPECT_TRUE(ChiediSovrascrittura(percorso)) << "No: keep it, ask for another name";
    EXPECT_FALSE(ChiediSovrascrittura(percorso)) << "Yes: replace it";

    ASSERT_EQ(scripted.messages.size(), 2u);
    const MessageRequest& domanda = scripted.messages.front();
    EXPECT_EQ(domanda.text, QStringLiteral("Il documento \r\n \r\n") + percorso +
                                QStringLiteral("\r\n \r\nesiste già. Vuoi sostituirlo?  "));
    EXPECT_EQ(domanda.title, QStringLiteral("Controllo Documento"));
    EXPECT_EQ(domanda.buttons, MsgButtons::YesNo);
    EXPECT_EQ(domanda.icon, MsgIcon::Information);
}

TEST(CartellaDesktopTest, DallaPiattaforma)
{
    ScriptedPlatform scripted;
    scripted.desktop = QStringLiteral("/home/operatore/Scrivania");
    PlatformScope scope(scripted);
    EXPECT_EQ(CartellaDesktop(), QStringLiteral("/home/operatore/Scrivania"));
}

TEST(FileInUsoTest, LiberoMancanteOCartella)
{
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("stampa.pdf"));
    EXPECT_EQ(FileInUso(percorso), std::nullopt) << "missing";
    EXPECT_EQ(FileInUso(cartella.path()), std::nullopt) << "a folder";
    ASSERT_TRUE(scriviFile(percorso));
    EXPECT_EQ(FileInUso(percorso), false);
    EXPECT_EQ(FileInUso(percorso), false) << "the test leaves no lock behind";
}

TEST(FileInUsoTest, BloccatoDaUnAltroProgramma)
{
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("stampa.pdf"));
    ASSERT_TRUE(scriviFile(percorso));
    {
        AltroProgramma altro(percorso, AltroProgramma::Blocco::Flock);
        ASSERT_TRUE(altro.pronto());
        EXPECT_EQ(FileInUso(percorso), true) << "whole-file lock";
    }
    {
        AltroProgramma altro(percorso, AltroProgramma::Blocco::Fcntl);
        ASSERT_TRUE(altro.pronto());
        EXPECT_EQ(FileInUso(percorso), true) << "record lock";
    }
    EXPECT_EQ(FileInUso(percorso), false) << "free again once the other program let go";
}

TEST(FileInUsoTest, AccessoNegato)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser reads any file";
    }
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("stampa.pdf"));
    ASSERT_TRUE(scriviFile(percorso));
    ASSERT_TRUE(QFile::setPermissions(percorso, QFileDevice::Permissions()));
    EXPECT_EQ(FileInUso(percorso), true);
}
