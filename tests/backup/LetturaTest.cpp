// Reading backup files line by line, and the check of a file's first line.
#include "../support/Scadenza.h"
#include "BackupProva.h"

#include "app/FileBackup.h"
#include "app/LettoreBackup.h"
#include "app/Windows1252.h"

#include <QDir>

#include <sys/stat.h>

using namespace ondavia;
using namespace ondavia::test;

namespace {

struct Letta {
    LettoreBackup::Esito esito;
    QString testo;
    qsizetype tenuti;
    qint64 numero;
    qint64 lunghezza;
};

class LettoreBackupTest : public BackupProva {};

} // namespace

TEST_F(LettoreBackupTest, OgniFineRigaAncheACavalloDiDueBlocchiEUnaRigaTroppoLunga)
{
    const QString percorso = file("R.REI");
    // The first line fills the reader's first 64 KiB block but one byte: its CR ends the block and its
    // LF begins the next, and must not make an empty line. Of a line over the limit only its start is kept.
    const QByteArray lunga(65535, 'A');
    const QByteArray troppoLunga(LunghezzaMassimaRiga + 10, 'X');
    scrivi(percorso, lunga + "\r\nB\nC\rD\r\n\r\n" + troppoLunga + "\r\nE\xA6\x80" + "F");
    LettoreBackup lettore;
    ASSERT_TRUE(lettore.apri(percorso, nullptr));
    std::vector<Letta> righe;
    QString testo;
    LettoreBackup::Esito esito;
    while ((esito = lettore.prossima(&testo)) != LettoreBackup::Esito::Fine) {
        ASSERT_NE(esito, LettoreBackup::Esito::Errore) << lettore.errore().toStdString();
        righe.push_back({esito, testo.left(20), testo.size(), lettore.numeroRiga(), lettore.lunghezzaRiga()});
    }
    ASSERT_EQ(righe.size(), 7u);
    EXPECT_EQ(righe[0].lunghezza, 65535);
    EXPECT_EQ(righe[1].testo, "B");
    EXPECT_EQ(righe[2].testo, "C");
    EXPECT_EQ(righe[3].testo, "D");
    EXPECT_EQ(righe[4].testo, "");
    EXPECT_EQ(righe[5].esito, LettoreBackup::Esito::RigaTroppoLunga);
    EXPECT_EQ(righe[5].tenuti, LunghezzaMassimaRiga);
    EXPECT_EQ(righe[6].testo, "E¦€F") << "Windows-1252, and a last line without its line end";
    EXPECT_EQ(righe[6].numero, 7);
}

TEST_F(LettoreBackupTest, LaPrimaRigaDiceSeEUnBackupEDiChi)
{
    const auto controlla = [&](const QByteArray& contenuto) {
        scrivi(file("C.REI"), contenuto);
        return ControllaFileBackup(file("C.REI"));
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
    EXPECT_EQ(controlla(cp("\r\n¦COPE¦X\r\n")).stato, S::NonBackup) << "only the first line counts";
    EXPECT_EQ(ControllaFileBackup(file("MANCA.REI")).stato, S::Illeggibile);
}

TEST_F(LettoreBackupTest, SoloUnFileSiLeggeEOgniAltraCosaSiRifiutaSubitoDicendoCosE)
{
    // A named pipe would keep the open waiting for a writer, and /dev/zero would be read for ever.
    const QString pipe = file("PIPE.REI");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(file("CARTELLA.REI")));
    const std::pair<QString, const char*> casi[] = {
        {pipe, "una pipe con nome"}, {"/dev/zero", "un dispositivo"}, {file("CARTELLA.REI"), "una cartella"}};
    for (const auto& [percorso, genere] : casi) {
        SCOPED_TRACE(percorso.toStdString());
        const Scadenza scadenza(std::chrono::seconds(20), "the check of a file that is not a file");
        const ControlloBackup c = ControllaFileBackup(percorso);
        EXPECT_EQ(c.stato, ControlloBackup::Stato::Illeggibile);
        EXPECT_EQ(c.errore.toStdString(), QStringLiteral("Impossibile leggere il file\r\n%1\r\n(non è un file ma %2).")
                                              .arg(QDir::toNativeSeparators(percorso), QString::fromUtf8(genere))
                                              .toStdString());
    }
}
