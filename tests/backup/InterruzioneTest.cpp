// A restore killed at any point leaves either the register of before or the fully restored one.
#include "BackupProva.h"
#include "PercorsiProva.h"

#include "app/Dichiarazioni.h"
#include "db/Recordset.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

using namespace ondavia;
using namespace ondavia::test;

namespace {

class InterruzioneTest : public BackupProva {
protected:
    // Restores BACKUP.REI into a fresh copy of REGISTRO.db in a child process, which kills itself at row
    // `passo` (when above 0) or is killed `attesa` microseconds after it began (when not negative).
    // Returns the rows the register is left with; *durata is how long the child ran.
    QStringList ripristinaInUnFiglio(int passo, int attesa, qint64* durata = nullptr)
    {
        const QString lavoro = file("LAVORO.db");
        QFile::remove(lavoro);
        QFile::remove(lavoro + "-journal");
        EXPECT_TRUE(QFile::copy(file("REGISTRO.db"), lavoro));
        QProcess figlio;
        figlio.start(QStringLiteral(ONDAVIA_RIPRISTINO_INTERROTTO),
                     {lavoro, file("BACKUP.REI"), QString::number(std::max(passo, 0))});
        EXPECT_TRUE(figlio.waitForReadyRead(10000)) << "the child did not start";
        QElapsedTimer orologio;
        orologio.start();
        if (attesa >= 0) {
            QThread::usleep(static_cast<unsigned long>(attesa));
            figlio.kill();
        }
        EXPECT_TRUE(figlio.waitForFinished(10000));
        EXPECT_TRUE(figlio.exitStatus() == QProcess::CrashExit || figlio.exitCode() == 0)
            << figlio.readAllStandardError().toStdString();
        if (durata) {
            *durata = orologio.nsecsElapsed() / 1000;
        }

        // Opening the file rolls back what a killed transaction left in its journal.
        EXPECT_TRUE(Conn.Open(lavoro)) << Conn.lastError().toStdString();
        db::Recordset integrita;
        EXPECT_TRUE(integrita.Open("PRAGMA integrity_check", Conn));
        EXPECT_EQ(integrita.Fields(0).Value().toText(), "ok");
        integrita.Close();
        const QStringList stato = righe();
        Conn.Close();
        return stato;
    }
};

} // namespace

TEST_F(InterruzioneTest, UccisoInQualsiasiMomentoIlRegistroEVecchioOTuttoNuovo)
{
    // The register of before, and a backup that replaces half of its subjects and adds as many new ones.
    constexpr int kSoggetti = 150;
    std::mt19937 caso(42);
    QList<Riga> vecchi;
    QList<Riga> nuovi;
    for (int i = 0; i < kSoggetti; ++i) {
        vecchi << soggettoCasuale(caso, QStringLiteral("V%1").arg(i), "001", false);
        nuovi << soggettoCasuale(caso, QStringLiteral("%1%2").arg(i % 2 ? "V" : "N").arg(i), "001", false);
    }
    aggiungi("COPE", nuovi);
    ASSERT_TRUE(salva(file("BACKUP.REI"))) << m_errore.toStdString();
    esegui("DELETE FROM COPE");
    aggiungi("COPE", vecchi);
    const QStringList vecchio = righe();
    // The municipalities play no part here: without them each copy of the register is quicker to make.
    esegui("DELETE FROM T_COMUNI");
    esegui("DELETE FROM T_COMUNICF");
    esegui("VACUUM");
    Conn.Close();
    ASSERT_TRUE(QFile::copy(file("OVIA.db"), file("REGISTRO.db")));

    qint64 durata = 0;
    const QStringList nuovo = ripristinaInUnFiglio(0, -1, &durata);
    ASSERT_EQ(nuovo.size(), kSoggetti + kSoggetti / 2);

    int restatiVecchi = 0;
    for (int prova = 0; prova < 50; ++prova) {
        // Half the kills at a row chosen at random, the others at a random moment, commit included.
        const bool aUnaRiga = prova % 2 == 0;
        const int passo = aUnaRiga ? std::uniform_int_distribution<int>(1, kSoggetti)(caso) : 0;
        const int attesa =
            aUnaRiga ? -1 : std::uniform_int_distribution<int>(0, static_cast<int>(durata * 13 / 10))(caso);
        const QStringList stato = ripristinaInUnFiglio(passo, attesa);
        ASSERT_TRUE(stato == vecchio || stato == nuovo)
            << "killed at row " << passo << " or after " << attesa << " us: " << stato.size() << " rows";
        restatiVecchi += stato == vecchio ? 1 : 0;
    }
    EXPECT_GE(restatiVecchi, 25) << "every kill at a row must leave the register of before";
}
