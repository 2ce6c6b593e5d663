// The backup file as written: line layout, value texts, scrambling, refusals and failures.
#include "../support/LimiteFile.h"
#include "BackupProva.h"

#include "app/Dichiarazioni.h"
#include "app/FileBackup.h"
#include "app/Windows1252.h"
#include "db/Recordset.h"

#include <QDir>
#include <QFile>

using namespace ondavia;
using namespace ondavia::test;

namespace {

const QByteArray Sep("\xA6");

class ScritturaTest : public BackupProva {};

} // namespace

TEST(VoceBackupTest, NumeriConLaVirgolaENumeriRiletti)
{
    const std::vector<std::pair<double, const char*>> casi{
        {12.5, "12,5"},  {0, ","},      {0.25, ",25"}, {12, "12,"}, {-3.456, "-3,46"},
        {1.005, "1,01"}, {-0.004, ","}, {0.995, "1,"}, {1e-9, ","},
    };
    for (const auto& [numero, atteso] : casi) {
        EXPECT_EQ(testoVoceBackup(db::Value(numero), db::adDouble), QString::fromUtf8(atteso)) << numero;
        const auto riletto = numeroVoceBackup(QString::fromUtf8(atteso));
        ASSERT_TRUE(riletto.has_value()) << atteso;
        EXPECT_NEAR(*riletto, numero, 0.005 + 1e-12) << atteso;
    }
    for (const char* nonNumero : {"", "1,2,3", "1e5", "-", "12 5"}) {
        EXPECT_FALSE(numeroVoceBackup(QString::fromUtf8(nonNumero)).has_value()) << nonNumero;
    }
    EXPECT_EQ(numeroVoceBackup(QStringLiteral(" 12.5 ")), 12.5) << "a point is read as the decimal separator too";
}

TEST(VoceBackupTest, NomiDeiFile)
{
    QString nome = QStringLiteral("  Società Rossi & Figli s.r.l. Costruzioni Generali ");
    EXPECT_EQ(nomeBackupSoggetto(" 01234567890 ", nome, "20240131"),
              "SAVEtu_01234567890_SOCIETROSSIFIGLISRLC_20240131.REI");
    // A code read from a file cannot take the copy out of the program's folder.
    EXPECT_EQ(nomeCopiaSicurezza("../../etc/x", "20240131"), "BFRR_.._.._etc_x_20240131.REI");
}

TEST_F(ScritturaTest, TestiNumeriDateNullaETabellaVuota)
{
    esegui("CREATE TABLE PROVA (OCOD TEXT, IMPORTO DOUBLE, QUANDO DATE, QUANTI INTEGER)");
    aggiungi("PROVA", {{"  À€ A ", 12.5, QDate(2020, 2, 29), 3},
                       {"B", 0.0, db::zeroDate(), 0},
                       {"C", db::Value(), db::Value(), db::Value()}});
    ASSERT_TRUE(salva(file("PROVA.REI"), {}, "PROVA")) << m_errore.toStdString();
    EXPECT_EQ(leggi(file("PROVA.REI")), Sep + "PROVA" + Sep + "\xC0\x80 A" + Sep + "12,5" + Sep + "29/02/2020" + Sep +
                                            "3\r\n" + Sep + "PROVA" + Sep + "B" + Sep + "," + Sep + "00:00:00" + Sep +
                                            "0\r\n" + Sep + "PROVA" + Sep + "C" + Sep + Sep + Sep + "\r\n");

    scrivi(file("VUOTO.REI"), "vecchio");
    ASSERT_TRUE(salva(file("VUOTO.REI"))) << m_errore.toStdString();
    EXPECT_EQ(leggi(file("VUOTO.REI")), QByteArray()) << "an empty register gives an empty file";
}

TEST_F(ScritturaTest, UnValoreCheIlFileNonPuoPortareEsclusoPrimaDiScrivere)
{
    std::mt19937 caso(5);
    Riga riga = soggettoCasuale(caso, "RSSMRA80A01H501U", "001", true);
    const int odes = static_cast<int>(colonne().indexOf("ODES"));
    riga[odes] = QStringLiteral("ROSSI MARIO");
    aggiungi("COPE", {riga});
    const QString percorso = file("SAVE.REI");
    scrivi(percorso, "backup di ieri");

    struct Caso {
        QString valore;
        bool cifra;
        QString frammento;
    };
    const std::vector<Caso> casi{
        {"ROMA ¦ LAZIO", false, "il carattere \"¦\", che un file di backup non può contenere"},
        {"ROMA\r\nLAZIO", false, "un a capo"},
        {QString("ROMA") + QChar(0) + "X", false, "un carattere nullo"},
        {"ŁÓDŹ", false, "il carattere \"Ł\""},
        {"😀", false, "il carattere \"😀\""},
        // 0xA2 shifted by the key and its position 1 is 0xA6: scrambled it would split the line.
        {"¢ROMA", true, "la cifratura non può riportare indietro intatto"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.valore.toStdString());
        db::Recordset rs;
        ASSERT_TRUE(rs.Open("SELECT * FROM COPE", Conn));
        ASSERT_TRUE(rs.Fields("OSCOM").setValue(c.valore) && rs.Update()) << rs.lastError().toStdString();
        ASSERT_FALSE(salva(percorso, {c.cifra, QString(), {}}));
        EXPECT_TRUE(m_errore.contains(c.frammento)) << m_errore.toStdString();
        // Both refusals name the field as the register form shows it.
        EXPECT_TRUE(
            m_errore.contains("\r\n- RSSMRA80A01H501U (ROSSI MARIO): scheda SOGGETTO, \"Sede legale (Località)\"\r\n"))
            << m_errore.toStdString();
        EXPECT_TRUE(m_errore.contains(c.cifra ? "non cifrato" : "nessun file è stato scritto"))
            << m_errore.toStdString();
        EXPECT_EQ(leggi(percorso), "backup di ieri");
    }
    EXPECT_EQ(QDir(m_cartella.path()).entryList(QDir::Files).size(), 2) << "no temporary file is left";

    // A column that no field of the form shows is named by its table and its name, plain or scrambled.
    db::Recordset rs;
    ASSERT_TRUE(rs.Open("SELECT * FROM COPE", Conn));
    ASSERT_TRUE(rs.Fields("OSCOM").setValue("ROMA") && rs.Update()) << rs.lastError().toStdString();
    for (const bool cifra : {false, true}) {
        ASSERT_TRUE(rs.Fields("Ocf").setValue(cifra ? "¢X" : "X¦") && rs.Update()) << rs.lastError().toStdString();
        ASSERT_FALSE(salva(percorso, {cifra, QString(), {}}));
        EXPECT_TRUE(m_errore.contains("\r\n- RSSMRA80A01H501U (ROSSI MARIO): tabella COPE, campo Ocf\r\n"))
            << m_errore.toStdString();
    }
}

TEST_F(ScritturaTest, UnFileCheNonSiPuoScrivereVieneDettoENonResta)
{
    std::mt19937 caso(3);
    QList<Riga> soggetti;
    for (int i = 0; i < 200; ++i) {
        soggetti << soggettoCasuale(caso, QStringLiteral("C%1").arg(i), "001", false);
    }
    aggiungi("COPE", soggetti);

    const QString senzaCartella = file("manca/SAVE.REI");
    ASSERT_FALSE(salva(senzaCartella));
    EXPECT_TRUE(m_errore.startsWith("Impossibile creare il file di backup\r\n" + senzaCartella))
        << m_errore.toStdString();

    // The disk takes no more than 4 KiB: the backup of yesterday stays as it was and nothing else is left.
    const QString percorso = file("SAVE.REI");
    scrivi(percorso, "backup di ieri");
    bool scritto = true;
    {
        LimiteFile limite(4096);
        ASSERT_TRUE(limite.attivo());
        scritto = salva(percorso);
    }
    EXPECT_FALSE(scritto);
    EXPECT_TRUE(m_errore.startsWith("Impossibile completare il file di backup\r\n" + percorso))
        << m_errore.toStdString();
    EXPECT_EQ(leggi(percorso), "backup di ieri");
    EXPECT_EQ(QDir(m_cartella.path()).entryList(QDir::Files), (QStringList{"OVIA.db", "SAVE.REI"}));
}

TEST_F(ScritturaTest, OgniCarattereDiUnoODueByteInUtf8SiScriveOSiRifiutaComeOgniAltro)
{
    esegui("CREATE TABLE PROVA (OCOD TEXT, T TEXT)");
    QList<Riga> righe;
    QByteArray attesa;
    const auto riga = [&](const QString& codice, const QString& testo, const QByteArray& scritto) {
        righe << Riga{codice, testo};
        attesa += Sep + "PROVA" + Sep + codice.toLatin1() + Sep + scritto + "\r\n";
    };
    for (char16_t u = 1; u < 0x800; ++u) {
        const QChar c(u);
        if (!carattereVietatoBackup(c) && cp1252::codeOf(c) >= 0) {
            riga(QString::number(u), QStringLiteral("  a") + c + QStringLiteral("b "),
                 "a" + QByteArray(1, static_cast<char>(cp1252::codeOf(c))) + "b");
        }
    }
    // Blanks alone, and characters of three and four bytes beside those of one and two.
    riga("V", "   ", "");
    riga("T", QStringLiteral(" è€à "), "\xE8\x80\xE0");
    riga("Q", QStringLiteral("ò\u2019"), "\xF2\x92");
    aggiungi("PROVA", righe);
    ASSERT_TRUE(salva(file("PROVA.REI"), {}, "PROVA")) << m_errore.toStdString();
    EXPECT_EQ(leggi(file("PROVA.REI")), attesa);

    for (const char16_t u : {char16_t(0x85), char16_t(0xA6), char16_t(0x100), char16_t(0x7FF), char16_t('\n')}) {
        SCOPED_TRACE(static_cast<int>(u));
        esegui("DELETE FROM PROVA");
        aggiungi("PROVA", {{QStringLiteral("X"), QStringLiteral(" é") + QChar(u) + QStringLiteral("é")}});
        ASSERT_FALSE(salva(file("PROVA.REI"), {}, "PROVA"));
        EXPECT_TRUE(m_errore.contains(
            "contiene " +
            (u == '\n' ? QStringLiteral("un a capo") : QStringLiteral("il carattere \"%1\"").arg(QChar(u))) +
            ", che un file di backup non può contenere:\r\n- X: tabella PROVA, campo T\r\n"))
            << m_errore.toStdString();
    }
}
