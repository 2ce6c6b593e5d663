// The backup and restore form, driven through its real widgets and the main window's commands 721 and 722,
// on a real register file; dialogs and message boxes are answered by the scripted platform.
#include "../support/Scadenza.h"
#include "PercorsiProva.h"
#include "ShellFixture.h"

#include "app/Archivio.h"
#include "app/Dates.h"
#include "app/FileBackup.h"
#include "app/LettoreBackup.h"
#include "app/Testi.h"
#include "app/Windows1252.h"
#include "db/Recordset.h"
#include "shell/FSalva.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

using namespace ondavia;
using namespace ondavia::test;

namespace {

class FSalvaTest : public ShellTest {
protected:
    void SetUp() override
    {
        home.createDatabase();
        ASSERT_TRUE(Conn.Open(home.file("DataBase/OVIA.db")));
        AggiornaArchivio();
        ASSERT_TRUE(Conn.Execute("PRAGMA synchronous = OFF"));
        desktop.desktop = m_scrivania.path();
        oggi = OggiAAAAMMGG();
    }

    static void soggetto(const QString& codice, const QString& progressivo, const QString& ragione)
    {
        ASSERT_TRUE(Conn.Execute(QStringLiteral("INSERT INTO COPE (OCOD, ONPROG, orag, ODES, OMOC1) VALUES "
                                                "(%1, %2, %3, %3, 1)")
                                     .arg(Apici(codice), Apici(progressivo), Apici(ragione))))
            << Conn.lastError().toStdString();
    }

    static QStringList codici()
    {
        db::Recordset rs;
        EXPECT_TRUE(rs.Open("SELECT * FROM COPE ORDER BY OCOD, ONPROG", Conn));
        QStringList tutti;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            tutti << rs.Fields("OCOD").Value().toText() + ":" + rs.Fields("ONPROG").Value().toText();
        }
        return tutti;
    }

    static QList<QByteArray> righeFile(const QString& percorso)
    {
        QFile f(percorso);
        if (!f.open(QIODevice::ReadOnly)) {
            return {QByteArray("(manca)")};
        }
        QList<QByteArray> righe = f.readAll().split('\n');
        righe.removeLast();
        return righe;
    }

    // Runs a command whose form is modal, acting on the form once it is shown.
    template <typename Azione> bool conForm(F0& finestra, int id, const QString& caption, Azione azione)
    {
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* form = dynamic_cast<FSalva*>(QApplication::activeModalWidget());
            if (!form) {
                ADD_FAILURE() << "the backup form is not shown modally";
                return;
            }
            visto = true;
            azione(*form);
        });
        finestra.CommandBars_Execute(id, caption);
        return visto;
    }

    // A file of backup lines on the Desktop, written as text ("¦" being the separator byte 0xA6); its path.
    QString scriviSullaScrivania(const QString& nome, const QString& righe) const
    {
        QFile f(m_scrivania.filePath(nome));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(cp1252::encode(righe));
        return f.fileName();
    }

    template <typename T> static T* controllo(const QWidget& form, const char* nome)
    {
        T* c = form.findChild<T*>(QLatin1String(nome));
        EXPECT_NE(c, nullptr) << nome;
        return c;
    }

    QTemporaryDir m_scrivania;
    QString oggi;
};

} // namespace

TEST_F(FSalvaTest, SalvaChiedeUnSoggettoPoiDoveEScriveTuttiISoggetti)
{
    soggetto("AAA", "001", "ALFA SRL");
    soggetto("BBB", "001", "BETA SPA");
    soggetto("BBB", "002", "BETA SPA");
    auto finestra = finestraAperta();
    // With no subject chosen the command does nothing.
    CodiceCorrente = QStringLiteral("   ");
    finestra->CommandBars_Execute(ComandoSalva, "Salva");
    EXPECT_TRUE(ModoSalva.isEmpty());

    // Only the command with the caption "Salva TUTTI" offers to save every subject.
    CodiceCorrente = "AAA";
    SalvaTutti = true;
    EXPECT_TRUE(conForm(*finestra, ComandoSalva, "Salva", [&](FSalva& form) {
        EXPECT_TRUE(controllo<QWidget>(form, "saveALL")->isHidden());
        controllo<QPushButton>(form, "bannulla")->click();
    }));
    EXPECT_FALSE(SalvaTutti);
    EXPECT_TRUE(conForm(*finestra, ComandoSalva, "Salva TUTTI", [&](FSalva& form) {
        EXPECT_FALSE(controllo<QWidget>(form, "saveALL")->isHidden());
        form.reject();
    }));
    EXPECT_TRUE(SalvaTutti);

    const QString esistente = m_scrivania.filePath("IERI.REI");
    const QString nuovo = m_scrivania.filePath("OGGI.REI");
    QFile(esistente).open(QIODevice::WriteOnly);
    desktop.saveAnswers = {std::nullopt, esistente, nuovo};
    desktop.answers = {MsgResult::No};
    const bool visto = conForm(*finestra, ComandoSalva, "Salva Dati (Backup)", [&](FSalva& form) {
        // A cancelled dialog writes nothing and says nothing; the form stays open.
        controllo<QPushButton>(form, "bconferma")->click();
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(desktop.messages.empty());
        controllo<QPushButton>(form, "bconferma")->click();
        EXPECT_EQ(controllo<QProgressBar>(form, "PBar1")->value(), 3);
    });
    ASSERT_TRUE(visto);
    EXPECT_GT(desktop.eventPumps, 0) << "the window is repainted during the work";
    ASSERT_EQ(desktop.saveRequests.size(), 3u);
    EXPECT_EQ(desktop.saveRequests[0].initialFolder, m_scrivania.path());
    EXPECT_EQ(desktop.saveRequests[0].fileName, "SAVE_ONDAVIA_" + oggi + ".REI");
    EXPECT_EQ(desktop.saveRequests[2].fileName, esistente) << "asked again on the refused path";
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_TRUE(desktop.messages[0].text.contains("esiste già. Vuoi sostituirlo?"));
    EXPECT_EQ(desktop.messages[1].text, "Creazione file di BackUP terminata");
    EXPECT_EQ(righeFile(nuovo).size(), 3);
    EXPECT_TRUE(righeFile(esistente).isEmpty()) << "the file the user kept is untouched";
    EXPECT_TRUE(chiamate.isEmpty()) << "a save does not read the list again";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(FSalvaTest, SalvaTuttiScriveUnFilePerSoggettoNellaCartellaScelta)
{
    soggetto("01234567890", "001", "Società dell'Acqua S.r.l.");
    soggetto("RSSMRA80A01H501U", "001", "");
    soggetto("RSSMRA80A01H501U", "002", "");
    soggetto("99999999999", "001", "ZETA");
    QTemporaryDir cartella;
    ModoSalva = "S";
    SalvaTutti = true;
    CodiceCorrente = "RSSMRA80A01H501U";
    NomeCorrente = "ROSSI MARIO";

    // Without a folder nothing is written and nothing is said.
    FSalva form;
    ASSERT_TRUE(form.Form_Load());
    form.saveALL_Click();
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(QDir(cartella.path()).isEmpty());

    desktop.folderAnswers = {cartella.path()};
    form.saveALL_Click();
    ASSERT_EQ(desktop.folderRequests.size(), 2u) << "asked once per run";
    EXPECT_EQ(desktop.folderRequests[1].initialFolder, m_scrivania.path());
    EXPECT_EQ(desktop.messageTexts(), QStringList{"Salvataggio terminato"});
    EXPECT_FALSE(SalvaTutti);

    QStringList file = QDir(cartella.path()).entryList(QDir::Files);
    file.sort();
    EXPECT_EQ(file,
              (QStringList{"SAVEtu_01234567890_SOCIETDELLACQUASRL_" + oggi + ".REI",
                           "SAVEtu_99999999999_ZETA_" + oggi + ".REI", "SAVEtu_RSSMRA80A01H501U__" + oggi + ".REI"}));
    EXPECT_EQ(righeFile(cartella.filePath(file[2])).size(), 2) << "both progressives of the subject, and nobody else";
    // The shared subject names each one in turn, and then again the one the register shows.
    EXPECT_EQ(CodiceCorrente, "RSSMRA80A01H501U");
    EXPECT_EQ(NomeCorrente, "ROSSI MARIO");
}

TEST_F(FSalvaTest, RipristinaSoloUnBackupConCopiaDiSicurezzaESenzaDoppioni)
{
    soggetto("AAA", "001", "ALFA VECCHIA");
    soggetto("AAA", "002", "ALFA VECCHIA");
    soggetto("CCC", "001", "GAMMA");
    soggetto("CCC", "002", "GAMMA");
    // The backup holds AAA and BBB; CCC is not in it. Both rows of AAA give way to the file's one.
    // Every column but the code and the progressive empty.
    const QString vuote = QString(42, QChar(0xA6)) + "001" + QString(2, QChar(0xA6));
    const QString backup = scriviSullaScrivania("BACKUP.REI", "¦COPE¦AAA" + vuote + "\r\n¦COPE¦BBB" + vuote + "\r\n");
    const QStringList prima = codici();
    auto finestra = finestraAperta();

    // A file that is not a backup, or a cancelled dialog, opens nothing and changes nothing.
    const QString altro = scriviSullaScrivania("ALTRO.REI", "¦CTAB¦TPI¦13¦OICR\r\n");
    desktop.openAnswers = {altro, std::nullopt};
    finestra->CommandBars_Execute(ComandoRipristina, "Ripristina");
    finestra->CommandBars_Execute(ComandoRipristina, "Ripristina");
    EXPECT_EQ(desktop.messageTexts(), QStringList{messaggioNonBackup()});
    EXPECT_EQ(codici(), prima);
    EXPECT_TRUE(chiamate.isEmpty());
    EXPECT_EQ(QDir(home.path()).entryList({"BFRR_*"}, QDir::Files), QStringList{});

    for (const QString& copia : {"BFRR_AAA_" + oggi + ".REI", "BFRR_AAA_" + oggi + "_2.REI"}) {
        SCOPED_TRACE(copia.toStdString());
        desktop.openAnswers = {backup};
        desktop.messages.clear();
        chiamate.clear();
        const bool visto = conForm(*finestra, ComandoRipristina, "Ripristina", [&](FSalva& form) {
            EXPECT_TRUE(controllo<QLabel>(form, "Label3")->isVisible());
            EXPECT_EQ(form.CodiceBackup(), "AAA");
            controllo<QPushButton>(form, "bconferma")->click();
        });
        ASSERT_TRUE(visto);
        EXPECT_EQ(desktop.messageTexts(), QStringList{"Ripristino terminato"});
        EXPECT_EQ(codici(), (QStringList{"AAA:001", "BBB:001", "CCC:001", "CCC:002"}));
        EXPECT_EQ(chiamate, QStringList{"Lista"}) << "the list is read again";
        EXPECT_TRUE(QFile::exists(home.file(copia)));
    }
    // The first copy holds the register before the first restore and was not replaced by the second.
    const QList<QByteArray> primaCopia = righeFile(home.file("BFRR_AAA_" + oggi + ".REI"));
    ASSERT_EQ(primaCopia.size(), prima.size());
    EXPECT_TRUE(primaCopia[0].contains("ALFA VECCHIA"));
}

TEST_F(FSalvaTest, UnaPipeOUnDispositivoSceltiSiRifiutanoSubitoENonCambianoNulla)
{
    soggetto("AAA", "001", "ALFA");
    const QStringList prima = codici();
    const QString pipe = m_scrivania.filePath("PIPE.REI");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    auto finestra = finestraAperta();
    desktop.openAnswers = {pipe, QStringLiteral("/dev/zero")};
    {
        const Scadenza scadenza(std::chrono::seconds(20), "the restore of a named pipe or a device");
        finestra->CommandBars_Execute(ComandoRipristina, "Ripristina");
        finestra->CommandBars_Execute(ComandoRipristina, "Ripristina");
    }
    EXPECT_EQ(desktop.messageTexts(),
              (QStringList{"Impossibile leggere il file\r\n" + QDir::toNativeSeparators(pipe) +
                               "\r\n(non è un file ma una pipe con nome).",
                           "Impossibile leggere il file\r\n/dev/zero\r\n(non è un file ma un dispositivo)."}));
    EXPECT_EQ(codici(), prima);
    EXPECT_TRUE(chiamate.isEmpty());
    EXPECT_EQ(QDir(home.path()).entryList({"BFRR_*"}, QDir::Files), QStringList{});
}

TEST_F(FSalvaTest, SenzaCopiaDiSicurezzaNienteRipristinoEAvvisiContatiDopoIlDecimo)
{
    // Scrambled, this company name cannot come back: the safety copy is refused, and so is the restore.
    soggetto("AAA", "001", "¢ALFA");
    const QString backup = scriviSullaScrivania("BACKUP.REI", "¦COPE¦BBB\r\n");
    ModoSalva = "R";
    FSalva form;
    desktop.openAnswers = {backup};
    ASSERT_TRUE(form.Form_Load());
    controllo<QCheckBox>(form, "Crip")->setChecked(true);
    form.bconferma_Click();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.startsWith("Prima del ripristino l'archivio attuale viene copiato in"));
    EXPECT_TRUE(desktop.messages[0].text.contains("Il ripristino non è stato eseguito"));
    EXPECT_EQ(codici(), QStringList{"AAA:001"});
    EXPECT_FALSE(form.ripristinoEseguito());

    // Of the warnings after the tenth only their number is told.
    desktop.messages.clear();
    QString righe;
    for (int i = 0; i < 15; ++i) {
        // OMOC1, the 32nd column, takes a whole number; ONPROG is the 43rd.
        righe +=
            "¦COPE¦C" + QString::number(i) + QString(30, QChar(0xA6)) + "¦SI" + QString(11, QChar(0xA6)) + "001\r\n";
    }
    FSalva errori;
    desktop.openAnswers = {scriviSullaScrivania("ERRORI.REI", righe)};
    ASSERT_TRUE(errori.Form_Load());
    errori.bconferma_Click();
    const QStringList messaggi = desktop.messageTexts();
    // Each line gives two: the whole number, and the columns it lacks.
    ASSERT_EQ(messaggi.size(), 12) << messaggi.join('\n').toStdString();
    EXPECT_TRUE(messaggi[9].contains("ha 43 valori invece di 45")) << messaggi[9].toStdString();
    EXPECT_TRUE(messaggi[10].contains("altri 20 problemi")) << messaggi[10].toStdString();
    EXPECT_EQ(messaggi[11], "Ripristino terminato");
    EXPECT_EQ(codici().size(), 16);
}

TEST_F(FSalvaTest, FileInsolitiRipristinatiDueVolteDalModulo)
{
    const auto righeRegistro = [] {
        db::Recordset rs;
        EXPECT_TRUE(rs.Open("SELECT * FROM COPE", Conn));
        QStringList tutte;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            QStringList r;
            for (const char* c : {"OCOD", "ONPROG", "ODES", "OMOC1", "OMOC2", "OMOC3"}) {
                const db::Value v = rs.Fields(c).Value();
                r << (v.isNull() ? "NULL" : v.toText());
            }
            tutte << r.join(':');
        }
        tutte.sort();
        return tutte;
    };
    const QString rossi = "RSSMRA80A01H501U:001:ROSSI MARIO:1:0:1";
    const QString societa = "01234567890:001:SOCIETA' DELL'ACQUA € SRL:1:1:0";
    const QStringList vecchie{"àBC:001:VECCHIA:1:NULL:NULL", "àBC:002:VECCHIA:1:NULL:NULL"};
    struct Caso {
        const char* file;
        QStringList messaggi; // a fragment of each, before "Ripristino terminato"
        QStringList righe;
    };
    const std::vector<Caso> casi{
        {"code-only.REI",
         {"riga 1 del file (tabella COPE) non ha il progressivo del soggetto RSSMRA80A01H501U",
          "riga 2 del file (tabella COPE) non ha il progressivo del soggetto 01234567890",
          "riga 3 del file (tabella COPE) non ha il codice fiscale del soggetto"},
         vecchie + QStringList{"RSSMRA80A01H501U:001:ROSSI VECCHIO:1:NULL:NULL", societa}},
        {"accented-codes.REI",
         {"riga 4 del file (tabella COPE) ripete il soggetto àbc con il progressivo 002"},
         {rossi, societa, "ÀBC:001:ROSSI MARIO:1:0:1", "àBC:002:ROSSI MARIO:1:0:1", "ŒUVRE:001:ROSSI MARIO:1:0:1"}},
        {"whole-numbers.REI",
         {"indice 35 valore 9223372036854775808", "indice 33 valore 1e300", "indice 34 valore nan"},
         vecchie + QStringList{"RSSMRA80A01H501U:001:ROSSI MARIO:9007199254740993:9223372036854775807:NULL",
                               "01234567890:001:SOCIETA' DELL'ACQUA € SRL:NULL:NULL:-3"}},
        {"long-code.REI",
         {"indice 2 valore RSSMRA80A01H501UXXXX", "riga 1 del file (tabella COPE) non ha un codice fiscale"},
         vecchie + QStringList{rossi, societa}},
    };
    auto finestra = finestraAperta();
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(Conn.Execute("DELETE FROM COPE"));
        soggetto("RSSMRA80A01H501U", "001", "ROSSI VECCHIO");
        soggetto("àBC", "001", "VECCHIA");
        soggetto("àBC", "002", "VECCHIA");
        QStringList attese = c.righe;
        attese.sort();
        for (int volta = 1; volta <= 2; ++volta) {
            SCOPED_TRACE(volta);
            desktop.messages.clear();
            desktop.openAnswers = {QStringLiteral(ONDAVIA_TEST_DATA "/backup/") + c.file};
            ASSERT_TRUE(conForm(*finestra, ComandoRipristina, "Ripristina",
                                [](FSalva& form) { controllo<QPushButton>(form, "bconferma")->click(); }));
            const QStringList messaggi = desktop.messageTexts();
            ASSERT_EQ(messaggi.size(), c.messaggi.size() + 1) << messaggi.join('\n').toStdString();
            for (qsizetype i = 0; i < c.messaggi.size(); ++i) {
                EXPECT_TRUE(messaggi[i].contains(c.messaggi[i])) << messaggi[i].toStdString();
            }
            EXPECT_EQ(messaggi.back(), "Ripristino terminato");
            EXPECT_EQ(righeRegistro().join('\n').toStdString(), attese.join('\n').toStdString());
        }
    }
    // The safety copy takes the first 40 characters of the long code.
    const QString codice40 = "RSSMRA80A01H501U" + QString(24, 'X');
    EXPECT_EQ(QDir(home.path()).entryList({"BFRR_RSSMRA*"}, QDir::Files).filter("XXXX").join(' ').toStdString(),
              ("BFRR_" + codice40 + "_" + oggi + ".REI BFRR_" + codice40 + "_" + oggi + "_2.REI").toStdString());
}

TEST_F(FSalvaTest, IlBackupCifratoRifiutatoElencaOgniCampoETornaAllInizio)
{
    soggetto("AAA", "001", "ALFA");
    soggetto("BBB", "001", "BETA");
    soggetto("CCC", "001", "GAMMA");
    // Scrambled, the 98th letter of an address would become the separator.
    const QString lunga = "PEC" + QString(100, 'A') + "@PEC.IT";
    ASSERT_TRUE(
        Conn.Execute("UPDATE COPE SET OPEEMAIL = '" + lunga + "', OREEMAIL = '" + lunga + "' WHERE OCOD = 'AAA'"));
    ASSERT_TRUE(Conn.Execute("UPDATE COPE SET OPEEMAIL = '" + lunga + "' WHERE OCOD = 'CCC'"));
    const QString percorso = m_scrivania.filePath("CIFRATO.REI");
    ModoSalva = "S";
    FSalva form;
    ASSERT_TRUE(form.Form_Load());
    controllo<QCheckBox>(form, "Crip")->setChecked(true);
    desktop.saveAnswers = {percorso};
    form.bconferma_Click();
    ASSERT_EQ(desktop.messages.size(), 1u);
    const QString& testo = desktop.messages[0].text;
    EXPECT_TRUE(testo.contains("- AAA (ALFA): scheda RESPONSABILE, \"E-mail personale\"; scheda POSTA ELETTRONICA, "
                               "\"Indirizzo PEC\"\r\n- CCC (GAMMA): scheda POSTA ELETTRONICA, \"Indirizzo PEC\"\r\n"))
        << testo.toStdString();
    EXPECT_FALSE(testo.contains("BBB"));
    EXPECT_TRUE(testo.contains("Creare un backup non cifrato")) << testo.toStdString();
    EXPECT_FALSE(QFile::exists(percorso));
    // The form is as it opened: nothing counted, nothing in progress.
    EXPECT_EQ(form.ContaRighe(), 0);
    for (const char* nome : {"Label16", "PERC", "PBar1"}) {
        EXPECT_TRUE(controllo<QWidget>(form, nome)->isHidden()) << nome;
    }
    EXPECT_EQ(controllo<QProgressBar>(form, "PBar1")->value(), 0);

    // Unscrambled, the same register is saved.
    controllo<QCheckBox>(form, "Crip")->setChecked(false);
    desktop.saveAnswers = {percorso};
    form.bconferma_Click();
    EXPECT_EQ(desktop.messageTexts().back(), "Creazione file di BackUP terminata");
    EXPECT_EQ(righeFile(percorso).size(), 3);
}
