// Reading backup files line by line, and the check of a file's first line.
#include "BackupProva.h"

#include "app/FileBackup.h"
#include "app/LettoreBackup.h"
#include "app/Windows1252.h"

#include <QTemporaryDir>

using namespace ondavia;
using namespace ondavia::test;

namespace {

struct Letta {
    LettoreBackup::Esito esito;
    QString testo;
    qint64 numero;
    qint64 lunghezza;
};

std::vector<Letta> leggiTutte(const QString& percorso)
{
    LettoreBackup lettore;
    EXPECT_TRUE(lettore.apri(percorso, nullptr));
    std::vector<Letta> righe;
    for (;;) {
        QString testo;
        const auto esito = lettore.prossima(&testo);
        if (esito == LettoreBackup::Esito::Fine || esito == LettoreBackup::Esito::Errore) {
            EXPECT_EQ(esito, LettoreBackup::Esito::Fine) << lettore.errore().toStdString();
            return righe;
        }
        righe.push_back({esito, testo.left(20), lettore.numeroRiga(), lettore.lunghezzaRiga()});
    }
}

void scriviFile(const QString& percorso, const QByteArray& contenuto)
{
    QFile f(percorso);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contenuto);
}

} // namespace

TEST(LettoreBackupTest, OgniFineRigaAncheACavalloDiDueBlocchi)
{
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath("R.REI");
    // The first line fills the reader's first 64 KiB block but one byte: its CR ends the block and its
    // LF begins the next, and must not make an empty line.
    const QByteArray lunga(65535, 'A');
    scriviFile(percorso, lunga + "\r\nB\nC\rD\r\n\r\nE\xA6\x80"
                                 "F");
    const auto righe = leggiTutte(percorso);
    ASSERT_EQ(righe.size(), 6u);
    EXPECT_EQ(righe[0].lunghezza, 65535);
    EXPECT_EQ(righe[1].testo, "B");
    EXPECT_EQ(righe[2].testo, "C");
    EXPECT_EQ(righe[3].testo, "D");
    EXPECT_EQ(righe[4].testo, "");
    EXPECT_EQ(righe[5].testo, "E¦€F") << "Windows-1252, and a last line without its line end";
    EXPECT_EQ(righe[5].numero, 6);
}

TEST(LettoreBackupTest, UnaRigaTroppoLungaVieneDettaSenzaTenerlaTutta)
{
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath("R.REI");
    scriviFile(percorso, "PRIMA\r\n" + QByteArray(LunghezzaMassimaRiga + 10, 'X') + "\r\nDOPO\r\n");
    LettoreBackup lettore;
    ASSERT_TRUE(lettore.apri(percorso, nullptr));
    QString testo;
    EXPECT_EQ(lettore.prossima(&testo), LettoreBackup::Esito::Riga);
    EXPECT_EQ(lettore.prossima(&testo), LettoreBackup::Esito::RigaTroppoLunga);
    EXPECT_EQ(testo.size(), LunghezzaMassimaRiga);
    EXPECT_EQ(lettore.lunghezzaRiga(), LunghezzaMassimaRiga + 10);
    EXPECT_EQ(lettore.prossima(&testo), LettoreBackup::Esito::Riga);
    EXPECT_EQ(testo, "DOPO");
    EXPECT_EQ(lettore.numeroRiga(), 3);
    EXPECT_EQ(lettore.prossima(&testo), LettoreBackup::Esito::Fine);

    EXPECT_FALSE(lettore.apri(cartella.filePath("MANCA.REI"), &testo));
    EXPECT_TRUE(testo.startsWith("Impossibile leggere il file\r\n" + cartella.filePath("MANCA.REI")));
}

TEST(LettoreBackupTest, LaPrimaRigaDiceSeEUnBackupEDiChi)
{
    QTemporaryDir cartella;
    const auto controlla = [&](const QByteArray& contenuto) {
        const QString percorso = cartella.filePath("C.REI");
        scriviFile(percorso, contenuto);
        return ControllaFileBackup(percorso);
    };
    using S = ControlloBackup::Stato;

    // Lines written as text, "¦" being the separator byte 0xA6.
    const auto cp = [](const QString& testo) { return cp1252::encode(testo); };

    ControlloBackup c = controlla(cp("¦COPE¦  RSSMRA80A01H501U ¦X\r\n¦COPE¦ALTRO\r\n"));
    EXPECT_EQ(c.stato, S::Backup);
    EXPECT_FALSE(c.cifrato);
    EXPECT_EQ(c.codice, "RSSMRA80A01H501U");

    // "COPE" and the code, each shifted by the key plus the position in its item.
    c = controlla(cp("¦GTVL¦VXYTZ\r\n"));
    EXPECT_EQ(c.stato, S::Backup);
    EXPECT_TRUE(c.cifrato);
    EXPECT_EQ(c.codice, "RSSMR");

    EXPECT_EQ(controlla("|COPE|RSSMRA80A01H501U\r\n").codice, "RSSMRA80A01H501U") << "split at its first character";
    EXPECT_EQ(controlla(cp("¦COPE")).stato, S::Backup);
    EXPECT_EQ(controlla(cp("¦CTAB¦TPI¦13¦OICR\r\n")).stato, S::NonBackup);
    EXPECT_EQ(controlla(cp("¦cope¦X\r\n")).stato, S::NonBackup);
    EXPECT_EQ(controlla("").stato, S::NonBackup);
    EXPECT_EQ(controlla(cp("\r\n¦COPE¦X\r\n")).stato, S::NonBackup) << "only the first line counts";

    c = ControllaFileBackup(cartella.filePath("MANCA.REI"));
    EXPECT_EQ(c.stato, S::Illeggibile);
    EXPECT_FALSE(c.errore.isEmpty());
    EXPECT_EQ(MessaggioNonBackup(), "Il file indicato non è un file di backUp di ONDAVIA. Operazione annullata");
}
