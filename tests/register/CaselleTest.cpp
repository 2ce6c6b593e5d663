// What the register form's boxes let through to the register and to the communication file: lengths,
// characters the file cannot hold, line breaks.

#include "RegistroProva.h"

#include "app/Comunicazione.h"
#include "app/Dichiarazioni.h"
#include "app/FileBackup.h"
#include "app/ScrittoreBackup.h"

#include <QApplication>
#include <QClipboard>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

class Caselle : public RegistroProva {
protected:
    // Saves and expects the save to be refused on `casella`, on its tab, with the message that the file
    // gives for the same value; the row in COPE stays as it was.
    void rifiutato(const char* casella, int scheda, const QString& frammento)
    {
        const int prima = righe();
        scripted.messages.clear();
        clic("bregistra_0");
        EXPECT_FALSE(form->DatiValidi);
        EXPECT_EQ(righe(), prima);
        ASSERT_EQ(scripted.messages.size(), 1u) << messaggio().toStdString();
        const QString testo = messaggio();
        EXPECT_TRUE(testo.contains(frammento)) << testo.toStdString();
        EXPECT_EQ(form->SSTab1->currentIndex(), scheda);
        EXPECT_EQ(QApplication::focusWidget(), trova(casella));
    }
};

} // namespace

TEST_F(Caselle, EveryBoxTakesNoMoreThanItsFieldInTheFile)
{
    // The widths of the communication file's fields (dates typed as dd/mm/yyyy); the municipalities keep
    // the register's 35 characters, the progressive its 3.
    const std::pair<const char*, int> larghezze[] = {
        {"topiva", 16},    {"vONPROG", 3},  {"torag", 60},     {"vOSCOM", 35},     {"vOSPRO", 2},    {"vOCOG", 26},
        {"vONOME", 25},    {"vOSEX", 1},    {"vONDT", 10},     {"vONCOM", 35},     {"vONPRO", 2},    {"vRECF", 16},
        {"vRECOG", 26},    {"vRENOME", 25}, {"vRESEX", 1},     {"vREDTNAS", 10},   {"vRENCOM", 40},  {"vRENPRO", 2},
        {"vREEMAIL", 100}, {"vRETEL", 18},  {"vPEEMAIL", 100}, {"vPEGESTORE", 50}, {"vPEDATAI", 10}, {"vPEDATAF", 10},
        {"vDTCANC", 10},   {"vSICF", 11},   {"vSIRAG", 60},    {"vSICOM", 40},     {"vSIPRO", 2},    {"vITTCF", 16},
    };
    apri();
    for (const auto& [nome, larghezza] : larghezze) {
        EXPECT_EQ(casella(nome)->maxLength(), larghezza) << nome;
    }
}

// A value longer than its field, kept by an older register, is shown whole and refused by the save,
// which leaves the stored row alone. So is a character the file cannot hold, in the file's own words.
TEST_F(Caselle, AStoredValueLongerThanItsFieldIsShownWholeAndRefused)
{
    const QString pec = QString(100, u'P') + QStringLiteral("@PEC.IT.IT");
    apri();
    compilaValido();
    clic("bregistra_0");
    ASSERT_TRUE(Conn.Execute(QStringLiteral("UPDATE COPE SET OPEEMAIL='%1'").arg(pec)));
    form->Lista();
    ASSERT_EQ(form->vPEEMAIL->text(), pec);
    rifiutato("vPEEMAIL", 2,
              QStringLiteral("Il campo \"Indirizzo PEC\" (scheda POSTA ELETTRONICA) contiene 110 caratteri, ma il "
                             "file di comunicazione ne può contenere al massimo 100."));
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["OPEEMAIL"].toText(), pec);

    scripted.saveAnswers.push_back(home.file(QStringLiteral("alfa.txt")));
    clic("CREACOM");
    EXPECT_TRUE(scripted.saveRequests.empty()) << "no file for a value the agency would receive cut";

    // Shortened by the operator, it is saved.
    form->vPEEMAIL->setText(QStringLiteral("ALFA@PEC.IT"));
    clic("bregistra_0");
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["OPEEMAIL"].toText(),
              QStringLiteral("ALFA@PEC.IT"))
        << messaggio().toStdString();
    form->vPEGESTORE->setText(QStringLiteral("ARUBA \U0001F600"));
    QString delFile; // the communication file's own message for the form as it stands
    scriviComunicazione(home.file(QStringLiteral("prova.txt")), form->datiComunicazione(), &delFile);
    ASSERT_TRUE(delFile.contains(QStringLiteral("il carattere \"\U0001F600\""))) << delFile.toStdString();
    rifiutato("vPEGESTORE", 2, QStringLiteral("il carattere \"\U0001F600\""));
    // The same words as the file's: "Il campo … contiene …, che il file … non può contenere".
    EXPECT_TRUE(delFile.contains(messaggio().trimmed().mid(1).chopped(1))) << messaggio().toStdString();
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["OPEGESTORE"].toText(),
              QStringLiteral("ARUBA"));

    // A new subject's box has its own limit again.
    form->Aggiungi();
    EXPECT_EQ(form->vPEEMAIL->maxLength(), 100);
}

// A pasted line break never reaches a stored value nor the file: the box takes a blank in its place.
TEST_F(Caselle, APastedLineBreakBecomesABlank)
{
    apri();
    compilaValido();
    QApplication::clipboard()->setText(QStringLiteral("ALFA\r\nSPA"));
    form->torag->clear();
    form->torag->setFocus();
    form->torag->paste();
    EXPECT_EQ(form->torag->text(), QStringLiteral("ALFA SPA"));
    form->vSIRAG->setText(QStringLiteral("VIA ROMA 1\n\t00100"));
    EXPECT_EQ(form->vSIRAG->text(), QStringLiteral("VIA ROMA 1 00100"));
    form->CBrap->setEditText(QStringLiteral("13=ORGANISMI\r\nX"));
    EXPECT_EQ(form->CBrap->currentText(), QStringLiteral("13=ORGANISMI X"));

    const QString path = home.file(QStringLiteral("alfa.txt"));
    scripted.saveAnswers.push_back(path);
    clic("CREACOM");
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["orag"].toText(), QStringLiteral("ALFA SPA"));
    EXPECT_EQ(recordsOf(path).size(), 4) << messaggio().toStdString();
}

// A cedilla is cleaned to its own letter: a French name reaches the register and the file as it is spelt.
TEST_F(Caselle, ACedillaBecomesItsOwnLetter)
{
    apri();
    personaValida();
    form->vONOME->setFocus();
    form->vONOME->clear();
    tasti(form->vONOME, QStringLiteral("François"));
    lascia(form->vONOME, form->vOCOG);
    EXPECT_EQ(form->vONOME->text(), QStringLiteral("FRANCOIS"));

    const QString path = home.file(QStringLiteral("rossi.txt"));
    scripted.saveAnswers.push_back(path);
    clic("CREACOM");
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["ONOME"].toText(), QStringLiteral("FRANCOIS"));
    const auto records = recordsOf(path);
    ASSERT_EQ(records.size(), 4) << messaggio().toStdString();
    EXPECT_TRUE(records[0].contains("FRANCOIS")) << records[0].constData();
}

// A full box says so: its tool tip names the limit, shown at once while the operator types on; a box that has
// a tool tip of its own keeps it, and one shortened again loses the word.
TEST_F(Caselle, AFullBoxSaysItsLimit)
{
    apri();
    compilaValido();
    form->torag->clear();
    form->torag->setFocus();
    QTest::keyClicks(form->torag, QString(59, u'A'));
    EXPECT_EQ(form->torag->toolTip(), QString());
    QTest::keyClicks(form->torag, QStringLiteral("BC"));
    EXPECT_EQ(form->torag->text(), QString(59, u'A') + QLatin1Char('B'));
    EXPECT_EQ(form->torag->toolTip(), QStringLiteral("massimo 60 caratteri"));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("massimo 60 caratteri"));
    // The focus wrapper shows the same text when the mouse passes over the box.
    QTest::mouseMove(form->torag);
    EXPECT_EQ(form->torag->toolTip(), QStringLiteral("massimo 60 caratteri"));

    QTest::keyClick(form->torag, Qt::Key_Backspace);
    EXPECT_EQ(form->torag->toolTip(), QString());

    form->SSTab1->setCurrentIndex(2);
    form->vPEDATAF->setFocus();
    QTest::keyClicks(form->vPEDATAF, QStringLiteral("31/12/20301"));
    EXPECT_EQ(form->vPEDATAF->toolTip(), QStringLiteral("data di CESSAZIONE (fine contratto) dell'indirizzo di PEC\n"
                                                        "massimo 10 caratteri"));
}

// A character the communication file cannot hold is refused by REGISTRA on its own tab, the subject's and the
// responsible person's alike.
TEST_F(Caselle, ACharacterTheFileCannotHoldIsRefusedOnEveryTab)
{
    apri();
    for (const auto& [nome, scheda] : {std::pair{"torag", 0}, {"vRECOG", 1}}) {
        SCOPED_TRACE(nome);
        compilaValido();
        casella(nome)->setText(QStringLiteral("ŁUKASZ"));
        rifiutato(nome, scheda, QStringLiteral("il carattere \"Ł\""));
    }
}

// A character no backup line can hold (its separator "¦", or one the code page lacks) is refused by REGISTRA on
// its box, in every box the row stores, those the communication file leaves out included: once stored, it would
// make every backup of the register fail. The boxes of the kind of subject not chosen are not stored.
TEST_F(Caselle, ACharacterNoBackupCanHoldIsRefusedOnItsBox)
{
    const QString separatore{QChar(SeparatoreBackup)};
    apri();
    const struct {
        const char* casella;
        int scheda;
        QString testo;
        QString carattere; // the one named
    } casi[] = {
        {"torag", 0, QStringLiteral("ALFA %1 SPA").arg(separatore), separatore},
        {"vRECOG", 1, QStringLiteral("ROSSI") + separatore, separatore},
        {"vPEGESTORE", 2, separatore, separatore},
        {"vSIRAG", 3, QStringLiteral("VIA ROMA %1 1").arg(separatore), separatore}, // not in a first sending's file
        {"vSICOM", 3, QStringLiteral("ÓDŹ"), QStringLiteral("Ź")},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.casella);
        compilaValido();
        casella(caso.casella)->setText(caso.testo);
        rifiutato(caso.casella, caso.scheda,
                  QStringLiteral("il carattere \"%1\", che un file di backup non può contenere").arg(caso.carattere));
    }

    compilaValido();
    form->CBrap->setEditText(QStringLiteral("99=ALTRO ") + separatore);
    scripted.messages.clear();
    clic("bregistra_0");
    EXPECT_EQ(righe(), 0);
    EXPECT_TRUE(messaggio().contains(QStringLiteral("\"Tipo Soggetto\" (scheda SOGGETTO)")))
        << messaggio().toStdString();

    compilaValido();
    form->vOCOG->setText(separatore); // a company: the surname is not stored
    clic("bregistra_0");
    ASSERT_EQ(righe(), 1) << messaggio().toStdString();
    QString errore;
    EXPECT_TRUE(
        ScrittoreBackup(Conn).ScriviTabella(home.file(QStringLiteral("copia.REI")), TabellaSoggetti, {}, &errore))
        << errore.toStdString();
}
