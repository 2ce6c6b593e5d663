// Launches in processes of their own (tests/launch/LaunchChild.cpp): a second program on the same
// register, programs killed while they start, and an unprivileged user facing read-only files.
#include "../support/FolderSnapshot.h"
#include "PercorsiProva.h"

#include "app/Archivio.h"
#include "db/Connection.h"
#include "platform/BloccoCartella.h"
#include "platform/Platform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <vector>

using namespace ondavia;
using ondavia::test::folderSnapshot;

namespace {

constexpr int AttesaMassima = 60000; // ms; sanitized builds on a busy machine are slow to start

// The user the permission tests run the launch as, when they run as root.
constexpr uid_t UtenteRidotto = 65534;

// One run of the launch in a child process on a program folder, with what it wrote on standard output.
class Figlio {
public:
    Figlio(const QString& cartella, const QStringList& argomenti = {})
    {
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("ONDAVIA_HOME"), cartella);
        m_processo.setProcessEnvironment(ambiente);
        m_processo.start(QStringLiteral(ONDAVIA_LAUNCH_CHILD), argomenti);
        EXPECT_TRUE(m_processo.waitForStarted(AttesaMassima)) << m_processo.errorString().toStdString();
    }

    ~Figlio() { uccidi(); }

    // Waits until the launch holds the register (true) or the process has ended (false).
    bool attendiPronto()
    {
        while (!m_uscita.contains("PRONTO\n")) {
            const bool altro = m_processo.waitForReadyRead(AttesaMassima);
            m_uscita += m_processo.readAllStandardOutput();
            if (!altro) {
                return m_uscita.contains("PRONTO\n");
            }
        }
        return true;
    }

    bool inCorso() const { return m_processo.state() == QProcess::Running; }

    // Lets a program that holds the register end normally, and waits for its end.
    int fine()
    {
        m_processo.closeWriteChannel();
        if (m_processo.state() != QProcess::NotRunning) {
            EXPECT_TRUE(m_processo.waitForFinished(AttesaMassima));
        }
        m_uscita += m_processo.readAllStandardOutput();
        const QByteArray errori = m_processo.readAllStandardError();
        EXPECT_TRUE(errori.isEmpty()) << errori.toStdString();
        return m_processo.exitStatus() == QProcess::NormalExit ? m_processo.exitCode() : -1;
    }

    void uccidi()
    {
        if (m_processo.state() != QProcess::NotRunning) {
            m_processo.kill();
            m_processo.waitForFinished(AttesaMassima);
        }
    }

    QString uscita() const { return QString::fromUtf8(m_uscita); }

private:
    QProcess m_processo;
    QByteArray m_uscita;
};

// What a whole launch showed.
struct Esito {
    int codice = -1;
    QString uscita;
};

Esito lancia(const QString& cartella, const QStringList& argomenti = {})
{
    Figlio figlio(cartella, argomenti);
    const int codice = figlio.fine();
    return {codice, figlio.uscita()};
}

// A launch that ended showing no window and one message of `icona` that says `testo`.
void attendiMessaggio(const QString& uscita, MsgIcon icona, const QString& testo)
{
    EXPECT_EQ(uscita.count(QStringLiteral("MESSAGGIO ")), 1) << uscita.toStdString();
    EXPECT_TRUE(uscita.startsWith(QStringLiteral("MESSAGGIO %1 ").arg(static_cast<int>(icona))))
        << uscita.toStdString();
    EXPECT_TRUE(uscita.contains(testo)) << uscita.toStdString();
    EXPECT_FALSE(uscita.contains(QStringLiteral("FINESTRA")));
}

// The register in a folder is whole, once every program on it has ended, and no temporary file is left.
void verificaRegistro(const QString& cartella)
{
    const QString file = QDir(cartella).filePath(QStringLiteral("DataBase/OVIA.db"));
    EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral(".new")));
    db::Connection conn;
    ASSERT_TRUE(conn.Open(file)) << conn.lastError().toStdString();
    QString errore;
    EXPECT_TRUE(verificaArchivio(conn, &errore)) << errore.toStdString();
}

// -- One program per register -------------------------------------------------------------------

TEST(LaunchProcess, ASecondProgramOnTheSameRegisterEndsAndNoLockOutlivesItsProgram)
{
    QTemporaryDir home;
    Figlio primo(home.path(), {QStringLiteral("--resta")});
    ASSERT_TRUE(primo.attendiPronto());

    const auto prima = folderSnapshot(home.path());
    const Esito secondo = lancia(home.path());
    EXPECT_EQ(folderSnapshot(home.path()), prima);
    EXPECT_EQ(secondo.codice, 1);
    attendiMessaggio(secondo.uscita, MsgIcon::Exclamation,
                     QStringLiteral("è già aperto in un altro programma Ondavia"));

    EXPECT_TRUE(primo.inCorso());
    EXPECT_EQ(primo.fine(), 0);
    EXPECT_EQ(primo.uscita(), "FINESTRA\nPRONTO\n");
    // A program that ends normally takes its lock file away with it.
    EXPECT_FALSE(QFileInfo::exists(BloccoCartella::fileDiBlocco(home.path())));

    // One that dies leaves its lock file, which does not keep the next program out.
    Figlio ucciso(home.path(), {QStringLiteral("--resta")});
    ASSERT_TRUE(ucciso.attendiPronto());
    ucciso.uccidi();
    EXPECT_TRUE(QFileInfo::exists(BloccoCartella::fileDiBlocco(home.path())));
    const Esito dopo = lancia(home.path());
    EXPECT_EQ(dopo.codice, 0);
    EXPECT_EQ(dopo.uscita, "FINESTRA\n");
}

TEST(LaunchProcess, FirstStartsAtTheSameMomentBuildOneRegister)
{
    QTemporaryDir home;
    std::vector<std::unique_ptr<Figlio>> figli;
    for (int i = 0; i < 3; ++i) {
        figli.push_back(std::make_unique<Figlio>(home.path(), QStringList{QStringLiteral("--resta")}));
    }
    int aperti = 0;
    for (auto& figlio : figli) {
        if (figlio->attendiPronto()) {
            ++aperti;
            continue;
        }
        EXPECT_EQ(figlio->fine(), 1);
        attendiMessaggio(figlio->uscita(), MsgIcon::Exclamation, QStringLiteral("già aperto"));
    }
    EXPECT_EQ(aperti, 1);
    for (auto& figlio : figli) {
        if (figlio->inCorso()) {
            EXPECT_EQ(figlio->fine(), 0);
        }
    }
    verificaRegistro(home.path());
}

TEST(LaunchProcess, AFirstStartKilledAtAnyMomentLeavesAFolderTheNextStartCompletes)
{
    for (const int attesa : {0, 15, 40, 80, 150, 300}) {
        SCOPED_TRACE(attesa);
        QTemporaryDir home;
        {
            Figlio interrotto(home.path());
            QThread::msleep(attesa);
            interrotto.uccidi();
        }
        const Esito dopo = lancia(home.path());
        EXPECT_EQ(dopo.codice, 0);
        EXPECT_EQ(dopo.uscita, "FINESTRA\n");
        verificaRegistro(home.path());
    }
}

// -- An unprivileged user ---------------------------------------------------------------------

// A program folder the launch meets as an ordinary user: when the tests run as root, the folder is
// handed to an unprivileged user and the launch runs as that user; otherwise the tests' own user,
// already bound by permissions, runs it.
class LaunchAsUser : public ::testing::Test {
protected:
    void TearDown() override
    {
        // Put the write bits back so the temporary folder can be removed by a user that is not root.
        QDirIterator it(home.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            ::chmod(QFile::encodeName(path).constData(), QFileInfo(path).isDir() ? 0755 : 0644);
        }
    }

    QString file(const QString& relative) const { return QDir(home.path()).filePath(relative); }

    static QStringList comeUtente(QStringList argomenti = {})
    {
        return argomenti << QStringLiteral("--utente") << QString::number(UtenteRidotto);
    }

    // Launches as the unprivileged user where the launch must end: one critical message naming the
    // database and saying `why`, no window, and not a byte changed in the program folder.
    void attendiRifiuto(const QString& why)
    {
        const auto prima = folderSnapshot(home.path());
        const Esito esito = lancia(home.path(), comeUtente());
        EXPECT_EQ(esito.codice, 1);
        attendiMessaggio(esito.uscita, MsgIcon::Critical, why);
        EXPECT_TRUE(esito.uscita.contains(QDir::toNativeSeparators(file(QStringLiteral("DataBase/OVIA.db")))));
        EXPECT_EQ(folderSnapshot(home.path()), prima);
    }

    QTemporaryDir home;
};

TEST_F(LaunchAsUser, AReadOnlyDatabaseEndsTheLaunchAndAnOldRegisterIsNotMarkedUpgraded)
{
    QString errore;
    const QString archivio = file(QStringLiteral("DataBase/OVIA.db"));
    ASSERT_TRUE(creaArchivio(archivio, QString(), &errore)) << errore.toStdString();
    {
        db::Connection conn;
        ASSERT_TRUE(conn.Open(archivio));
        ASSERT_TRUE(conn.Execute("INSERT INTO COPE (OCOD, ODES) VALUES ('RSSMRA80A01H501U', 'ROSSI MARIO')"));
    }
    // The folder goes to the unprivileged user, its DataBase folder read-only.
    const QString cartella = file(QStringLiteral("DataBase"));
    if (::geteuid() == 0) {
        ::chown(QFile::encodeName(home.path()).constData(), UtenteRidotto, UtenteRidotto);
        QDirIterator it(home.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            ::lchown(QFile::encodeName(it.next()).constData(), UtenteRidotto, UtenteRidotto);
        }
    }
    ::chmod(QFile::encodeName(home.path()).constData(), 0755);
    ::chmod(QFile::encodeName(cartella).constData(), 0555);
    const int scriveInCasa = lancia(home.path(), comeUtente({QStringLiteral("--scrive"), home.path()})).codice;
    if (scriveInCasa == 77) {
        GTEST_SKIP() << "the launch cannot be run as user " << UtenteRidotto << " here";
    }
    if (scriveInCasa != 0) {
        GTEST_SKIP() << "user " << UtenteRidotto << " cannot write in " << home.path().toStdString();
    }
    if (lancia(home.path(), comeUtente({QStringLiteral("--scrive"), cartella})).codice == 0) {
        GTEST_SKIP() << "this file system lets user " << UtenteRidotto << " write in a read-only folder";
    }
    attendiRifiuto(QStringLiteral("Nella cartella %1 ").arg(QDir::toNativeSeparators(cartella)));
    EXPECT_FALSE(QFileInfo::exists(file(QStringLiteral("onprog.txt"))));

    ::chmod(QFile::encodeName(cartella).constData(), 0755);
    ::chmod(QFile::encodeName(archivio).constData(), 0444);
    attendiRifiuto(QStringLiteral("Il file non può essere modificato (sola lettura)"));

    // Once the database can be written, the next launch does the upgrade and marks it.
    ::chmod(QFile::encodeName(archivio).constData(), 0644);
    const Esito esito = lancia(home.path(), comeUtente());
    EXPECT_EQ(esito.codice, 0);
    EXPECT_EQ(esito.uscita, "FINESTRA\n");
    verificaRegistro(home.path());
}

} // namespace
