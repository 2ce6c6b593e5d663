// Damaged and unusual backup files (tests/data/backup/, written by tools/make-backup-cases.py): each is
// refused, or restored as far as its rows can be read, and every problem is told. That a refused file
// leaves the register as it was is checked for each of them by the fuzz target's replay of this folder.
#include "BackupProva.h"
#include "PercorsiProva.h"

#include "app/Dichiarazioni.h"
#include "app/FileBackup.h"
#include "app/LettoreBackup.h"
#include "app/RipristinoBackup.h"
#include "db/Recordset.h"

#include <QDir>

using namespace ondavia;
using namespace ondavia::test;

namespace {

const QString Cartella = QStringLiteral(ONDAVIA_TEST_DATA "/backup/");
const QStringList Ripristinato{"VECCHIO0000001:001", "RSSMRA80A01H501U:001:ROSSI MARIO",
                               "01234567890:001:SOCIETA' DELL'ACQUA € SRL"};

enum class Esito { NonBackup, Annullato, Ripristinato };

struct Caso {
    const char* file;
    Esito esito;
    QStringList messaggi; // a fragment of each message, in order; the number of messages must match
    QStringList soggetti; // code:progressive[:display name] of every row afterwards, when restored
};

class FileDanneggiatiTest : public BackupProva {
protected:
    // Two subjects, one of which every good file holds too.
    void preparaRegistro()
    {
        esegui("DELETE FROM COPE");
        std::mt19937 caso(1);
        Riga vecchio = soggettoCasuale(caso, "VECCHIO0000001", "001", false);
        Riga rossi = soggettoCasuale(caso, "RSSMRA80A01H501U", "001", false);
        vecchio[colonne().indexOf("ODES")] = QString();
        rossi[colonne().indexOf("ODES")] = QStringLiteral("ROSSI VECCHIO");
        aggiungi("COPE", {vecchio, rossi});
    }

    // Code, progressive and display name of each row.
    static QStringList soggetti()
    {
        db::Recordset rs;
        EXPECT_TRUE(rs.Open("SELECT * FROM COPE", Conn));
        QStringList tutti;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            QString s = rs.Fields("OCOD").Value().toText() + ':' + rs.Fields("ONPROG").Value().toText();
            if (!rs.Fields("ODES").Value().toText().isEmpty()) {
                s += ':' + rs.Fields("ODES").Value().toText();
            }
            tutti << s;
        }
        tutti.sort();
        return tutti;
    }

    void verifica(const Caso& c, const QString& percorso)
    {
        const ControlloBackup controllo = ControllaFileBackup(percorso);
        QStringList avvisi;
        QString errore;
        bool fatto = false;
        if (controllo.stato == ControlloBackup::Stato::Backup) {
            EXPECT_TRUE(controllo.codice.startsWith("RSSMRA80A01H501U")) << controllo.codice.toStdString();
            RipristinoBackup ripristino(Conn, {false, [&](const QString& a) { avvisi << a; }, {}});
            fatto = ripristino.RipristinaArchivio(percorso, &errore);
        }
        switch (c.esito) {
        case Esito::NonBackup:
            EXPECT_EQ(controllo.stato, ControlloBackup::Stato::NonBackup);
            break;
        case Esito::Annullato:
            EXPECT_FALSE(fatto);
            EXPECT_TRUE(errore.endsWith("Il ripristino è stato annullato: l'archivio non è stato modificato."))
                << errore.toStdString();
            avvisi << errore;
            break;
        case Esito::Ripristinato:
            EXPECT_TRUE(fatto) << errore.toStdString();
            QStringList attesi = c.soggetti.isEmpty() ? Ripristinato : c.soggetti;
            attesi.sort();
            EXPECT_EQ(soggetti().join('\n').toStdString(), attesi.join('\n').toStdString());
            break;
        }
        ASSERT_EQ(avvisi.size(), c.messaggi.size()) << avvisi.join("\n").toStdString();
        for (qsizetype i = 0; i < avvisi.size(); ++i) {
            EXPECT_TRUE(avvisi[i].contains(c.messaggi[i])) << avvisi[i].toStdString();
        }
    }
};

} // namespace

TEST_F(FileDanneggiatiTest, OgniFileDannosoVieneDettoENonCambiaAltro)
{
    const QStringList vecchioRossi{"01234567890:001:SOCIETA' DELL'ACQUA € SRL", "RSSMRA80A01H501U:001:ROSSI VECCHIO",
                                   "VECCHIO0000001:001"};
    const std::vector<Caso> casi{
        {"empty.REI", Esito::NonBackup, {}, {}},
        {"binary.REI", Esito::NonBackup, {}, {}},
        {"utf8-bom.REI", Esito::NonBackup, {}, {}},
        {"utf8-no-bom.REI", Esito::NonBackup, {}, {}},
        {"utf16le.REI", Esito::NonBackup, {}, {}},
        {"ctab-first.REI", Esito::NonBackup, {}, {}},
        {"lowercase-table.REI", Esito::NonBackup, {}, {}},
        {"wrong-key.REI", Esito::NonBackup, {}, {}},
        {"lf-only.REI", Esito::Ripristinato, {}, {}},
        {"cr-only.REI", Esito::Ripristinato, {}, {}},
        {"no-final-line-end.REI", Esito::Ripristinato, {}, {}},
        {"blank-lines.REI", Esito::Ripristinato, {}, {}},
        {"truncated-last-line.REI",
         Esito::Ripristinato,
         {"La riga 2 del file (tabella COPE) non ha il progressivo del soggetto 01234567890: non è stata "
          "ripristinata."},
         {"RSSMRA80A01H501U:001:ROSSI MARIO", "VECCHIO0000001:001"}},
        {"nul-in-value.REI",
         Esito::Ripristinato,
         {"Errore: COPE registrazione: indice 17 valore BIAN<0>CHI Errore: il valore contiene un carattere nullo"},
         {}},
        {"nul-padding.REI", Esito::Ripristinato, {"La riga 3 del file contiene solo caratteri nulli"}, {}},
        {"unknown-table.REI", Esito::Annullato, {"La riga 2 del file nomina la tabella ANAGRAFE"}, {}},
        {"injected-table-name.REI", Esito::Annullato, {"La riga 2 del file non è una riga di backup di ONDAVIA"}, {}},
        {"more-items.REI",
         Esito::Ripristinato,
         {"Errore: COPE registrazione: indice 47 valore IN PIU Errore: Elemento non trovato",
          "Errore: COPE registrazione: indice 48 valore ANCORA Errore: Elemento non trovato"},
         {}},
        {"fewer-items.REI",
         Esito::Ripristinato,
         {"La riga 1 del file (tabella COPE) non ha il progressivo del soggetto RSSMRA80A01H501U"},
         {"01234567890:001:SOCIETA' DELL'ACQUA € SRL", "RSSMRA80A01H501U:001:ROSSI VECCHIO", "VECCHIO0000001:001"}},
        {"bad-date.REI",
         Esito::Ripristinato,
         {"indice 13 valore 31/02/1980 Errore: Tipo di dati non corrispondente"},
         {}},
        {"iso-date.REI",
         Esito::Ripristinato,
         {"indice 13 valore 1980-03-05 Errore: Tipo di dati non corrispondente"},
         {}},
        {"bad-number.REI",
         Esito::Ripristinato,
         {"Errore: COPE registrazione: indice 33 valore SI Errore: Tipo di dati non corrispondente per il campo OMOC1"},
         {}},
        {"too-long-code.REI",
         Esito::Ripristinato,
         {"indice 2 valore RSSMRA80A01H501UXXXX Errore: Il campo OCOD è troppo piccolo",
          "La riga 1 del file (tabella COPE) non ha un codice fiscale che l'archivio possa registrare"},
         vecchioRossi},
        {"missing-code.REI", Esito::Ripristinato, {"La riga 2 del file (tabella COPE) non ha il codice fiscale"}, {}},
        {"duplicate-row.REI",
         Esito::Ripristinato,
         {"La riga 2 del file (tabella COPE) ripete il soggetto RSSMRA80A01H501U con il progressivo 001"},
         {}},
        {"scrambled-with-plain-line.REI", Esito::Annullato, {"La riga 2 del file non è una riga di backup"}, {}},
        {"plain-with-scrambled-line.REI", Esito::Annullato, {"La riga 2 del file nomina la tabella GTVL"}, {}},
        {"ctab-short.REI", Esito::Ripristinato, {"La riga 2 del file (tabella CTAB) ha 1 valori invece di 3"}, {}},
        {"code-only.REI",
         Esito::Ripristinato,
         {"La riga 1 del file (tabella COPE) non ha il progressivo del soggetto RSSMRA80A01H501U: non è stata",
          "La riga 2 del file (tabella COPE) non ha il progressivo del soggetto 01234567890: non è stata",
          "La riga 3 del file (tabella COPE) non ha il codice fiscale del soggetto: non è stata"},
         vecchioRossi},
        {"accented-codes.REI",
         Esito::Ripristinato,
         {"La riga 4 del file (tabella COPE) ripete il soggetto àbc con il progressivo 002"},
         Ripristinato + QStringList{"ÀBC:001:ROSSI MARIO", "àBC:002:ROSSI MARIO", "ŒUVRE:001:ROSSI MARIO"}},
        {"whole-numbers.REI",
         Esito::Ripristinato,
         {"indice 35 valore 9223372036854775808 Errore: Tipo di dati non corrispondente per il campo OMOC3",
          "indice 33 valore 1e300 Errore: Tipo di dati non corrispondente per il campo OMOC1",
          "indice 34 valore nan Errore: Tipo di dati non corrispondente per il campo OMOC2"},
         {}},
        {"long-code.REI",
         Esito::Ripristinato,
         {"indice 2 valore RSSMRA80A01H501UXXXX", "La riga 1 del file (tabella COPE) non ha un codice fiscale che"},
         {}},
    };
    const QStringList presenti = QDir(Cartella).entryList(QDir::Files);
    EXPECT_EQ(presenti.size(), static_cast<qsizetype>(casi.size())) << "every kept file has its case";
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(presenti.contains(c.file));
        preparaRegistro();
        verifica(c, Cartella + c.file);
    }
}

TEST_F(FileDanneggiatiTest, UnaRigaDiDieciMegabyteVieneSaltata)
{
    preparaRegistro();
    const QString percorso = file("ENORME.REI");
    const QByteArray buono = leggi(Cartella + "lf-only.REI");
    const QList<QByteArray> righe = buono.split('\n');
    const QByteArray enorme = QByteArray("\xA6") + "COPE\xA6" + QByteArray(10 * 1024 * 1024, 'A');
    scrivi(percorso, righe[0] + "\r\n" + enorme + "\r\n" + righe[1] + "\r\n");
    verifica({"", Esito::Ripristinato, {"La riga 2 del file è lunga 10485766 byte, troppo per una riga di backup"}, {}},
             percorso);
}
