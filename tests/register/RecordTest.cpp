// The register form's record life: save, rewrite, delete and copy, on real rows of COPE.

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "printout/DatiScheda.h"
#include "register/Costruttori.h"
#include "register/GrigliaSoggetti.h"

#include <QApplication>
#include <QTableView>
#include <QTest>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

class Record : public RegistroProva {
protected:
    int rigaCorrente() const { return form->IGOpe->currentIndex().row(); }
    // Three progressives of one subject and one of another, the form opened on them.
    void treProgressivi()
    {
        for (const char* p : {"001", "002", "003"}) {
            inserisci({{"OCOD", "55555555555"},
                       {"ONPROG", p},
                       {"ODES", "DELTA"},
                       {"OSTP", "1"},
                       {"orag", "DELTA"},
                       {"OPEEMAIL", QStringLiteral("P%1@PEC.IT").arg(p)},
                       {"OMOC3", "1"},
                       {"OTIPOCOM1", "-1"}});
        }
        inserisci({{"OCOD", "66666666666"}, {"ONPROG", "001"}, {"ODES", "EPSILON"}, {"OSTP", "1"}});
        apri();
    }
};

} // namespace

TEST_F(Record, SaveAddsOneRowAndRewritesIt)
{
    apri();
    compilaValido();
    clic("bregistra_0");
    ASSERT_EQ(righe(), 1) << messaggio().toStdString();
    auto r = riga(QStringLiteral("12345678901"), QStringLiteral("001"));
    EXPECT_EQ(r["OSTP"].toText(), QStringLiteral("1"));
    EXPECT_EQ(r["oTIPOSOG"].toText(), QStringLiteral("13"));
    EXPECT_TRUE(r["ONDT"].isNull());
    EXPECT_EQ(r["OCOG"], db::Value(QString())) << "empty texts are stored empty, not Null";
    EXPECT_EQ(r["OMOC1"], db::Value(1));
    EXPECT_EQ(r["OTIPOCOM1"].toText(), QStringLiteral("-1"));

    // The same subject saved again as a natural person from another tab's button: one row, rewritten.
    // Its type, missing from the coded list, is typed by the operator.
    form->CBrap->setEditText(QStringLiteral("99=ALTRO SOGGETTO"));
    form->o2->setChecked(true);
    const QString cognome(26, u'C');
    const QString nome = QStringLiteral("  ") + QString(23, u'n');
    form->vOCOG->setText(cognome);
    form->vONOME->setText(nome);
    form->vOSEX->setText(QStringLiteral("m"));
    form->vONDT->setText(QStringLiteral("05/03/1962"));
    form->vONCOM->setText(QStringLiteral("MILANO"));
    form->vONPRO->setText(QStringLiteral("MI"));
    form->SSTab1->setCurrentIndex(1);
    clic("bregistra_2");
    ASSERT_EQ(righe(), 1) << messaggio().toStdString();
    r = riga(QStringLiteral("12345678901"), QStringLiteral("001"));
    EXPECT_EQ(r["OSTP"].toText(), QStringLiteral("0"));
    EXPECT_EQ(r["orag"].toText(), QString());
    EXPECT_EQ(r["ONOME"].toText(), QString(23, u'N')) << "left-trimmed and upper-cased";
    EXPECT_EQ(r["ODES"].toText(), cognome + QLatin1Char(' ') + QString(23, u'N'));
    EXPECT_EQ(r["ONDT"].toDate(), QDate(1962, 3, 5));
    EXPECT_EQ(r["oTIPOSOG"].toText(), QStringLiteral("99"));
    EXPECT_EQ(form->CBrap->currentText(), QStringLiteral("99=ALTRO SOGGETTO")) << "as reloaded after the save";
    EXPECT_EQ(form->SSTab1->currentIndex(), 0) << "a valid form leaves the first tab in front";

    // And back to a company: the personal fields are emptied and the birth date becomes Null.
    form->o1->setChecked(true);
    form->torag->setText(QStringLiteral("ALFA SPA"));
    clic("bregistra_0");
    r = riga(QStringLiteral("12345678901"), QStringLiteral("001"));
    EXPECT_EQ(r["OCOG"].toText(), QString());
    EXPECT_TRUE(r["ONDT"].isNull());
    EXPECT_EQ(r["orag"].toText(), QStringLiteral("ALFA SPA"));
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
}

// A save the database refuses is reported; what the operator typed stays on screen, to be
// saved again, instead of the stored subject loaded over it; and the button that saves before writing the
// communication writes no file, which would carry the stored data instead of the data typed.
TEST_F(Record, FailedSavesAreReportedAndKeepWhatWasTyped)
{
    apri();
    compilaValido();
    // A value the database refuses is reported and left out; the rest of the row is written.
    // The box would cut a typed text to its two characters; shown whole, as a value kept by an older
    // register would be, it reaches the database, which refuses it.
    costruttori::mostraIntero(form->vSIPRO, QStringLiteral("ROMA"));
    clic("bregistra_0");
    ASSERT_EQ(righe(), 1);
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Errore Registrazione: "))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(QStringLiteral("OSIPRO"))) << messaggio().toStdString();
    auto r = riga(QStringLiteral("12345678901"), QStringLiteral("001"));
    EXPECT_TRUE(r["OSIPRO"].isNull());
    EXPECT_EQ(r["ORETEL"].toText(), QStringLiteral("06123456"));

    form->Lista();
    form->torag->setText(QStringLiteral("NUOVO NOME SPA"));
    ASSERT_TRUE(Conn.Execute(QStringLiteral("PRAGMA query_only = ON")));
    scripted.messages.clear();
    clic("bregistra_0");
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Errore Registrazione: "))) << messaggio().toStdString();
    EXPECT_FALSE(form->DatiValidi);
    EXPECT_EQ(form->torag->text(), QStringLiteral("NUOVO NOME SPA"));

    const QString file = home.file(QStringLiteral("alfa.txt"));
    scripted.saveAnswers = {file};
    clic("CREACOM");
    EXPECT_TRUE(scripted.saveRequests.empty());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(form->torag->text(), QStringLiteral("NUOVO NOME SPA"));
    ASSERT_TRUE(Conn.Execute(QStringLiteral("PRAGMA query_only = OFF")));

    clic("bregistra_0");
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["orag"].toText(),
              QStringLiteral("NUOVO NOME SPA"));
}

TEST_F(Record, CopyAndDeleteActOnTheSubjectOnScreen)
{
    treProgressivi();
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(1, 0));
    ASSERT_EQ(form->vONPROG->text(), QStringLiteral("002"));
    scripted.answers.push_back(MsgResult::Yes);
    form->Copia();
    ASSERT_EQ(scripted.messages.size(), 2u);
    EXPECT_EQ(scripted.messages[1].text,
              QStringLiteral("I dati del soggetto DELTA sono stati copiati  nel progressivo 004"));
    auto copia = riga(QStringLiteral("55555555555"), QStringLiteral("004"));
    auto origine = riga(QStringLiteral("55555555555"), QStringLiteral("002"));
    EXPECT_EQ(copia["OPEEMAIL"].toText(), QStringLiteral("P002@PEC.IT"));
    copia.erase(QStringLiteral("ONPROG"));
    origine.erase(QStringLiteral("ONPROG"));
    EXPECT_EQ(copia, origine);
    EXPECT_EQ(form->modelloGriglia()->rowCount(), 5) << "the grid is filled again";
    // The copy is on screen, not the row remembered from before (the first one, since the load).
    EXPECT_EQ(rigaCorrente(), 3);
    EXPECT_EQ(form->vPEEMAIL->text(), QStringLiteral("P002@PEC.IT"));

    form->Elimina(); // unanswered: the default button, No
    const MessageRequest& domanda = scripted.messages.back();
    EXPECT_EQ(domanda.text, QStringLiteral("Confermi l'Eliminazione di \n \nDELTA progressivo 004?"));
    EXPECT_EQ(domanda.defaultAnswer(), MsgResult::No);
    EXPECT_EQ(righe(), 5);

    scripted.answers.push_back(MsgResult::Yes);
    form->Elimina();
    EXPECT_EQ(righe(), 4);
    EXPECT_EQ(righe(QStringLiteral("OCOD='55555555555' AND ONPROG='004'")), 0);
    // The row that followed the deleted one is selected and loaded.
    EXPECT_EQ(rigaCorrente(), 3);
    EXPECT_EQ(CodiceCorrente, QStringLiteral("66666666666"));

    // Deleting the last row selects the new last row instead of a row past the end.
    scripted.answers.push_back(MsgResult::Yes);
    form->Elimina();
    ASSERT_EQ(form->modelloGriglia()->rowCount(), 3);
    EXPECT_EQ(rigaCorrente(), 2);
    EXPECT_EQ(form->vONPROG->text(), QStringLiteral("003"));

    // Delete and copy act only on a stored subject that is on screen: not on a blank new one, nor on one
    // whose code is typed over.
    const QString nessuno = QStringLiteral("Nessun soggetto registrato è selezionato");
    form->Aggiungi();
    scripted.messages.clear();
    scripted.answers = {MsgResult::Yes, MsgResult::Yes};
    form->Elimina();
    form->Copia();
    form->Lista();
    form->topiva->setText(QStringLiteral("66666666666"));
    form->Elimina();
    EXPECT_EQ(righe(), 3);
    ASSERT_EQ(scripted.messages.size(), 3u);
    for (const MessageRequest& m : scripted.messages) {
        EXPECT_TRUE(m.text.startsWith(nessuno)) << m.text.toStdString();
    }
}

// Failures of the database never end the program: the form's own controls report them, the
// operations of the main window's commands raise them.
TEST_F(Record, FailuresAreReportedAndTheFormGoesOn)
{
    inserisci({{"OCOD", "11111111111"}, {"ONPROG", "001"}, {"ODES", "ALFA"}, {"OSTP", "1"}});
    inserisci({{"OCOD", "22222222222"}, {"ONPROG", "001"}, {"ODES", "BETA"}, {"OSTP", "1"}});
    apri();
    compilaValido();
    clic("CREACOM");
    EXPECT_EQ(righe(QStringLiteral("OCOD='12345678901'")), 1) << "saved before the file is written";
    EXPECT_EQ(scripted.saveRequests.size(), 1u) << "then the file is asked for";

    clic("bSEZ");
    EXPECT_TRUE(messaggio().contains(QStringLiteral("non è ancora disponibile")));
    int aiuti = 0;
    form->mostraAiutoSezioni = [&] { ++aiuti; };
    clic("bSEZ");
    EXPECT_EQ(aiuti, 1);

    ASSERT_TRUE(Conn.Execute(QStringLiteral("ALTER TABLE COPE RENAME TO COPE_VIA")));
    scripted.messages.clear();
    ASSERT_EQ(form->IGOpe->currentIndex().row(), 1) << "the subject saved by the button is the chosen row";
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(2, 0));
    ASSERT_EQ(scripted.messages.size(), 1u) << "the row choice reports the failed load";
    EXPECT_TRUE(messaggio().contains(QStringLiteral("COPE"))) << messaggio().toStdString();

    scripted.messages.clear();
    clic("bregistra_0");
    ASSERT_EQ(scripted.messages.size(), 1u) << "nothing was saved: the list is not read again over the form";
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Errore Registrazione: "))) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(QStringLiteral("COPE"))) << messaggio().toStdString();

    EXPECT_THROW(form->Lista(), ErroreEsecuzione);
    scripted.answers.push_back(MsgResult::Yes);
    EXPECT_THROW(form->Elimina(), ErroreEsecuzione);
    // The subject saved above is still the one on screen.
    scripted.answers.push_back(MsgResult::Yes);
    EXPECT_THROW(form->Copia(), ErroreEsecuzione);
}

// A new subject typed with the code and progressive of a stored one never replaces it unasked: the next
// free progressive is proposed, and the stored subject is replaced only on Yes.
TEST_F(Record, ANewSubjectNeverOverwritesAStoredOneUnasked)
{
    inserisci({{"OCOD", "12345678901"},
               {"ONPROG", "001"},
               {"ODES", "ALFA SPA"},
               {"OSTP", "1"},
               {"orag", "ALFA SPA"},
               {"OPEEMAIL", "VECCHIA@PEC.IT"},
               {"ORECOG", "BIANCHI"}});
    inserisci({{"OCOD", "77777777777"}, {"ONPROG", "001"}, {"ODES", "CHARLIE"}, {"OSTP", "1"}});
    apri();
    compilaValido(); // Aggiungi, then the same code as the stored subject
    form->vPEEMAIL->setText(QStringLiteral("NUOVA@PEC.IT"));
    ASSERT_EQ(form->vONPROG->text(), QStringLiteral("001"));

    // Saved through the main window's command, the focus stays in the code box: leaving it would propose the
    // next free progressive by itself. Unanswered: the default button, No.
    form->Conferma();
    ASSERT_FALSE(scripted.messages.empty());
    const MessageRequest& domanda = scripted.messages.back();
    EXPECT_TRUE(
        domanda.text.startsWith(QStringLiteral("Il soggetto 12345678901 progressivo 001 esiste già. Sostituirlo?")))
        << domanda.text.toStdString();
    EXPECT_EQ(domanda.defaultAnswer(), MsgResult::No);
    EXPECT_EQ(righe(), 2);
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["OPEEMAIL"].toText(),
              QStringLiteral("VECCHIA@PEC.IT"));
    EXPECT_EQ(form->vONPROG->text(), QStringLiteral("002")) << "the next free progressive is proposed";
    EXPECT_EQ(form->vPEEMAIL->text(), QStringLiteral("NUOVA@PEC.IT")) << "what was typed stays on screen";

    // Saved again, the new subject takes the proposed progressive; the stored one is untouched.
    scripted.messages.clear();
    form->Conferma();
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
    ASSERT_EQ(righe(), 3);
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("002"))["OPEEMAIL"].toText(),
              QStringLiteral("NUOVA@PEC.IT"));

    // The operator keeps an existing progressive and answers Yes: that subject is replaced, and reselected
    // though its new name moves it to the end of the list.
    compilaValido();
    form->torag->setText(QStringLiteral("ZULU"));
    form->vPEEMAIL->setText(QStringLiteral("TERZA@PEC.IT"));
    scripted.answers.push_back(MsgResult::Yes);
    form->Conferma();
    EXPECT_EQ(righe(), 3);
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["OPEEMAIL"].toText(),
              QStringLiteral("TERZA@PEC.IT"));
    EXPECT_EQ(form->modelloGriglia()->testo(2, 2), QStringLiteral("ZULU"));
    EXPECT_EQ(rigaCorrente(), 2);
    EXPECT_EQ(form->RigaGriglia, 3);
    EXPECT_EQ(form->vONPROG->text(), QStringLiteral("001"));
    EXPECT_EQ(form->torag->text(), QStringLiteral("ZULU"));

    // The stored subject on screen, changed and saved, is rewritten without a question.
    scripted.messages.clear();
    form->vPEEMAIL->setText(QStringLiteral("QUARTA@PEC.IT"));
    form->Conferma();
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["OPEEMAIL"].toText(),
              QStringLiteral("QUARTA@PEC.IT"));
}

// Loading a subject and saving it without a change leaves every stored value as it was, the subject
// type's long description included.
TEST_F(Record, SavingAnUnchangedSubjectChangesNoStoredValue)
{
    apri();
    personaValida(); // a natural person, whose birth date is kept in a date column
    form->vPEDATAF->setText(QStringLiteral("31/12/2030"));
    ASSERT_GT(form->CBrap->currentText().size(), 53) << "a description longer than the 50 characters looked up";
    clic("bregistra_0");
    const auto salvata = riga(QStringLiteral("12345678901"), QStringLiteral("001"));
    ASSERT_EQ(salvata.at(QStringLiteral("OTIPOSOGD")).toText(), form->CBrap->itemText(0));

    for (const auto& [scheda, pulsante] : {std::pair{0, "bregistra_0"}, {1, "bregistra_2"}}) {
        form->Lista();
        form->SSTab1->setCurrentIndex(scheda);
        clic(pulsante);
        EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001")), salvata);
    }
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
}

// A subject restored without a type shows none, and a save asks for one instead of taking the type of the
// subject shown before it.
TEST_F(Record, ASubjectWithoutATypeDoesNotTakeThePreviousOne)
{
    inserisci({{"OCOD", "01234567897"},
               {"ONPROG", "001"},
               {"ODES", "ALFA SPA"},
               {"OSTP", "1"},
               {"orag", "ALFA SPA"},
               {"oTIPOSOG", "01"},
               {"OTIPOSOGD", "01=BANCHE"},
               {"OMOC1", "1"}});
    inserisci({{"OCOD", "12345678901"},
               {"ONPROG", "001"},
               {"ODES", "BETA SPA"},
               {"OSTP", "1"},
               {"orag", "BETA SPA"},
               {"OMOC1", "1"}});
    apri();
    ASSERT_EQ(form->CBrap->currentText(), QStringLiteral("01=BANCHE"));
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(1, 0));
    EXPECT_EQ(form->CBrap->currentText(), QString());
    scripted.messages.clear();
    form->Conferma();
    EXPECT_EQ(messaggio().trimmed(), QStringLiteral("Indicare il tipo di soggetto"));
    EXPECT_TRUE(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["oTIPOSOG"].isNull());
}

// After "Aggiungi" the list has no chosen row: choosing the subject that was on screen brings it back. Its
// copy takes the next progressive by number: "1", typed by hand or brought by another installation's backup,
// beside "002" gives "003", never a second "002"; one that is no number at all ("A") stops nothing. One typed
// with a blank after it ("01 ") is saved as "001": the saved subject stays on screen and can be copied
// afterwards, instead of showing as an empty new subject.
TEST_F(Record, ARowChosenAfterAddLoadsAgainAndProgressivesAreNumbers)
{
    for (const char* p : {"1", "A"}) {
        inserisci({{"OCOD", "01234567897"}, {"ONPROG", p}, {"ODES", "BETA"}, {"OSTP", "1"}, {"orag", "BETA"}});
    }
    inserisci({{"OCOD", "01234567897"}, {"ONPROG", "002"}, {"ODES", "ALFA"}, {"OSTP", "1"}, {"orag", "ALFA"}});
    apri();
    ASSERT_EQ(form->vONPROG->text(), QStringLiteral("002"));

    form->Aggiungi();
    EXPECT_FALSE(form->IGOpe->currentIndex().isValid());
    QTest::keyClicks(form->topiva, QStringLiteral("12345678901"));
    scripted.answers = {MsgResult::No}; // the code typed is dropped
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(0, 0));
    EXPECT_EQ(form->torag->text(), QStringLiteral("ALFA"));
    EXPECT_EQ(form->vONPROG->text(), QStringLiteral("002"));

    scripted.answers = {MsgResult::Yes};
    form->Copia();
    EXPECT_EQ(righe(QStringLiteral("ONPROG='002'")), 1);
    EXPECT_EQ(righe(QStringLiteral("ONPROG='003'")), 1) << messaggio().toStdString();

    compilaValido();
    form->vONPROG->setText(QStringLiteral("01 "));
    clic("bregistra_0");
    ASSERT_EQ(righe(QStringLiteral("OCOD='12345678901' AND ONPROG='001'")), 1) << messaggio().toStdString();
    EXPECT_EQ(form->torag->text(), QStringLiteral("ALFA SPA"));
    EXPECT_EQ(form->vONPROG->text(), QStringLiteral("001"));
    scripted.answers = {MsgResult::Yes};
    form->Copia();
    EXPECT_EQ(righe(QStringLiteral("OCOD='12345678901'")), 2) << messaggio().toStdString();
}

// "Aggiungi" from any tab puts the code box in view with the focus: what the operator types next goes where he
// sees it.
TEST_F(Record, AddShowsTheCodeBoxItTypesInto)
{
    inserisci({{"OCOD", "12345678901"}, {"ONPROG", "001"}, {"ODES", "ALFA"}, {"OSTP", "1"}, {"orag", "ALFA"}});
    apri();
    for (int scheda = form->SSTab1->count() - 1; scheda >= 0; --scheda) {
        form->SSTab1->setCurrentIndex(scheda);
        form->Aggiungi();
        EXPECT_EQ(QApplication::focusWidget(), form->topiva) << scheda;
        EXPECT_TRUE(form->topiva->isVisible()) << scheda;
    }
}

// A tab brought to the front gives the focus back to the box last used on it; a box whose frame the subject
// loaded since has hidden (the other kind of subject, the other cancellation reason) never takes it.
TEST_F(Record, TheFocusNeverFallsOnABoxOutOfSight)
{
    inserisci({{"OCOD", "RSSNNA62C45H501X"},
               {"ONPROG", "001"},
               {"ODES", "ROSSI ANNA"},
               {"OSTP", "0"},
               {"OCOG", "ROSSI"},
               {"ONOME", "ANNA"},
               {"OTIPOCOM2", "-1"},
               {"OMC1", "-1"}});
    inserisci({{"OCOD", "99999999999"},
               {"ONPROG", "001"},
               {"ODES", "ZETA"},
               {"OSTP", "1"},
               {"orag", "ZETA"},
               {"OTIPOCOM2", "-1"},
               {"OMC2", "-1"}});
    apri();
    const auto clicRiga = [this](int riga) {
        const QRect cella = form->IGOpe->visualRect(form->IGOpe->model()->index(riga, 2));
        QTest::mouseClick(form->IGOpe->viewport(), Qt::LeftButton, {}, cella.center());
    };
    struct Caso {
        int partenza; // the row loaded first
        QLineEdit* casella;
        int scheda;
    };
    for (const Caso& c : {Caso{0, form->vOCOG, 0}, Caso{1, form->vSICF, 3}}) {
        clicRiga(c.partenza);
        form->SSTab1->setCurrentIndex(c.scheda);
        c.casella->setFocus(Qt::MouseFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), c.casella);
        clicRiga(1 - c.partenza);
        ASSERT_FALSE(c.casella->isVisible()) << c.casella->objectName().toStdString();
        form->SSTab1->setCurrentIndex(2);
        form->vPEEMAIL->setFocus(Qt::MouseFocusReason);
        form->SSTab1->setCurrentIndex(c.scheda);
        const QWidget* fuoco = QApplication::focusWidget();
        ASSERT_NE(fuoco, nullptr);
        EXPECT_TRUE(fuoco->isVisible()) << fuoco->objectName().toStdString();
    }
}

// The communication file of a subject whose name was typed over proposes a file name with the name on screen; the
// delete and the copy go on naming the subject as stored, never a name typed once and typed over again since.
TEST_F(Record, DeleteAndCopyNameTheStoredSubjectAfterACommunication)
{
    apri();
    compilaValido();
    form->Conferma();
    ASSERT_EQ(form->torag->text(), QStringLiteral("ALFA SPA"));
    form->torag->setText(QStringLiteral("ALTRO NOME"));
    form->CreaComunicazione(); // the file's name is asked, and the operator cancels
    ASSERT_EQ(scripted.saveRequests.size(), 1u);
    EXPECT_EQ(scripted.saveRequests[0].fileName, QStringLiteral("OVIA_ALTRONOME_001.TXT"));
    form->torag->setText(QStringLiteral("TERZO NOME"));
    scripted.answers = {MsgResult::No};
    form->Elimina();
    EXPECT_EQ(messaggio().toStdString(), "Confermi l'Eliminazione di \n \nALFA SPA progressivo 001?");
    scripted.answers = {MsgResult::No, MsgResult::No}; // the changes dropped, no copy
    form->Copia();
    EXPECT_TRUE(messaggio().contains(QStringLiteral("\n \nALFA SPA?\n"))) << messaggio().toStdString();
    EXPECT_EQ(righe(), 1);
}

TEST_F(Record, ARowWithoutProgressiveIsShownAndDeleted)
{
    // Left by a restore of a damaged backup: the code and nothing else. It sorts first.
    inserisci({{"OCOD", "77777777777"}, {"ODES", ""}, {"OSTP", "1"}, {"orag", "SENZA PROGRESSIVO"}});
    inserisci({{"OCOD", "66666666666"}, {"ONPROG", "001"}, {"ODES", "EPSILON"}, {"OSTP", "1"}, {"orag", "EPSILON"}});
    apri();
    ASSERT_EQ(rigaCorrente(), 0);
    EXPECT_EQ(CodiceCorrente, QStringLiteral("77777777777"));
    EXPECT_EQ(form->torag->text(), QStringLiteral("SENZA PROGRESSIVO")) << "its data are on screen";

    scripted.answers.push_back(MsgResult::Yes);
    form->Elimina();
    EXPECT_FALSE(messaggio().contains(QStringLiteral("Nessun soggetto registrato"))) << messaggio().toStdString();
    EXPECT_EQ(righe(QStringLiteral("OCOD='77777777777'")), 0);
    EXPECT_EQ(righe(), 1);
    EXPECT_EQ(CodiceCorrente, QStringLiteral("66666666666"));
}

// Copia and the print-out find a row stored without a progressive as Elimina does: the copy takes the
// subject's first free progressive.
TEST_F(Record, ARowWithoutProgressiveIsCopiedAndReadForPrinting)
{
    inserisci({{"OCOD", "77777777777"}, {"ODES", ""}, {"OSTP", "1"}, {"orag", "SENZA PROGRESSIVO"}});
    apri();
    ASSERT_EQ(CodiceCorrente, QStringLiteral("77777777777"));
    scripted.answers.push_back(MsgResult::Yes);
    form->Copia();
    ASSERT_FALSE(scripted.messages.empty());
    EXPECT_TRUE(scripted.messages.back().text.endsWith(QStringLiteral("nel progressivo 001")))
        << messaggio().toStdString();
    EXPECT_EQ(righe(QStringLiteral("OCOD='77777777777'")), 2);
    EXPECT_EQ(riga(QStringLiteral("77777777777"), QStringLiteral("001"))["orag"].toText(),
              QStringLiteral("SENZA PROGRESSIVO"));

    QString errore;
    const std::optional<DatiScheda> scheda = DatiScheda::leggi(QStringLiteral("77777777777"), QString(), &errore);
    ASSERT_TRUE(scheda.has_value()) << errore.toStdString();
    EXPECT_EQ(scheda->valore("orag"), QStringLiteral("SENZA PROGRESSIVO"));
}

// A stored person corrected and saved updates its own row: the code box is locked on every stored subject, and
// no progressive is proposed for it.
TEST_F(Record, ACorrectedStoredPersonUpdatesItsOwnRow)
{
    inserisci({{"OCOD", "11111111111"}, {"ONPROG", "001"}, {"ODES", "ALFA"}, {"OSTP", "1"}, {"orag", "ALFA"}});
    apri();
    personaValida();
    clic("bregistra_0");
    ASSERT_EQ(righe(), 2) << messaggio().toStdString();

    // The company first, then the person: the code box stays locked, and passing through it proposes nothing.
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(0, 0));
    ASSERT_EQ(form->torag->text(), QStringLiteral("ALFA"));
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(1, 0));
    ASSERT_EQ(form->vOCOG->text(), QStringLiteral("ROSSI"));
    EXPECT_FALSE(form->topiva->isEnabled());
    form->topiva->setFocus();
    form->vONPROG->setFocus();
    EXPECT_EQ(form->vONPROG->text(), QStringLiteral("001"));

    form->vONDT->setText(QStringLiteral("06/03/1962"));
    clic("bregistra_0");
    EXPECT_EQ(righe(), 2) << "no second row";
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["ONDT"].toDate(), QDate(1962, 3, 6));
}

// Copies stop at the last progressive; with no stored subject on screen nothing is copied.
TEST_F(Record, CopiesStopAt999AndNeedAStoredSubject)
{
    inserisci({{"OCOD", "11111111111"}, {"ONPROG", "999"}, {"ODES", "ALFA"}, {"OSTP", "1"}, {"orag", "ALFA"}});
    apri();
    scripted.answers = {MsgResult::Yes};
    form->Copia();
    EXPECT_TRUE(messaggio().contains(QStringLiteral("999"))) << messaggio().toStdString();
    EXPECT_EQ(righe(), 1);
    EXPECT_EQ(righe(QStringLiteral("ONPROG='1000'")), 0);

    form->Aggiungi();
    scripted.messages.clear();
    scripted.answers = {MsgResult::Yes};
    form->Copia();
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Nessun soggetto registrato"))) << messaggio().toStdString();
    EXPECT_EQ(righe(), 1);
}

// The next progressive is the highest stored one as a number, whatever order the rows are read in.
TEST_F(Record, TheNextProgressiveFollowsTheHighest)
{
    for (const char* p : {"010", "9", "002"}) {
        inserisci({{"OCOD", "11111111111"}, {"ONPROG", p}, {"ODES", "ALFA"}, {"OSTP", "1"}, {"orag", "ALFA"}});
    }
    apri();
    form->Aggiungi();
    form->topiva->setFocus();
    QTest::keyClicks(form->topiva, QStringLiteral("11111111111"));
    form->vONPROG->setFocus();
    EXPECT_EQ(form->vONPROG->text(), QStringLiteral("011"));
}

// A row the database stores only in part is no save: the typing stays on screen and no file is written.
TEST_F(Record, ARowStoredInPartIsNoSave)
{
    apri();
    compilaValido();
    clic("bregistra_0");
    ASSERT_EQ(righe(), 1);
    form->torag->setText(QStringLiteral("ALFA NUOVA SPA"));
    costruttori::mostraIntero(form->vSIPRO, QStringLiteral("ROMA")); // refused by the database alone
    scripted.messages.clear();
    scripted.saveAnswers = {home.file(QStringLiteral("alfa.txt"))};
    clic("CREACOM");
    EXPECT_TRUE(messaggio().startsWith(QStringLiteral("Errore Registrazione: "))) << messaggio().toStdString();
    EXPECT_FALSE(form->DatiValidi);
    EXPECT_TRUE(scripted.saveRequests.empty());
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("alfa.txt"))));
    EXPECT_EQ(form->torag->text(), QStringLiteral("ALFA NUOVA SPA"));
    EXPECT_EQ(form->vSIPRO->text(), QStringLiteral("ROMA"));
}

// A stored subject's progressive names its row: its box is locked like the code box, whatever brought the subject
// on screen, and Copia is the way to a new progressive. A new subject's progressive is a whole number from 1 to
// 999, saved and shown with three digits; anything else, an empty box included, is refused on the box.
TEST_F(Record, AStoredProgressiveIsLockedAndANewOneIsANumberUpTo999)
{
    inserisci({{"OCOD", "55555555555"}, {"ONPROG", "001"}, {"ODES", "DELTA"}, {"OSTP", "1"}, {"orag", "DELTA"}});
    apri();
    const auto bloccato = [&](const char* dopo, const char* progressivo) {
        EXPECT_FALSE(form->vONPROG->isEnabled()) << dopo;
        EXPECT_EQ(form->vONPROG->text(), QLatin1String(progressivo)) << dopo;
    };
    bloccato("the first load", "001");
    compilaValido();
    EXPECT_TRUE(form->vONPROG->isEnabled());
    clic("bregistra_0");
    bloccato("a save", "001");
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(1, 0));
    bloccato("a row change", "001");
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(0, 0));
    ASSERT_EQ(form->torag->text(), QStringLiteral("ALFA SPA"));
    form->vONPROG->selectAll();
    QTest::keyClicks(form->vONPROG, QStringLiteral("5"));
    bloccato("typing", "001");
    scripted.answers = {MsgResult::Yes};
    form->Copia();
    bloccato("Copia", "002");
    form->vPEEMAIL->setText(QStringLiteral("COPIA@PEC.IT"));
    clic("bregistra_0");
    bloccato("a save of the copy", "002");
    EXPECT_EQ(righe(), 3) << messaggio().toStdString();
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("002"))["OPEEMAIL"].toText(),
              QStringLiteral("COPIA@PEC.IT"));

    // A new subject with a registered code is still proposed the next free progressive.
    compilaValido();
    lascia(form->topiva, form->vONPROG);
    EXPECT_EQ(form->vONPROG->text(), QStringLiteral("003"));

    const struct {
        const char* digitato;
        const char* salvato; // nullptr: refused
    } casi[] = {
        {"5", "005"},    {"05", "005"},    {"005", "005"},
        {" 7 ", "007"},  {"999", "999"},   {"1000", "100"}, // the box takes 3
        {"0", nullptr},  {"000", nullptr}, {"A7", nullptr},
        {"-5", nullptr}, {"5.", nullptr},  {"", nullptr},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.digitato);
        compilaValido();
        form->topiva->setText(QStringLiteral("11111111111")); // a code without rows: nothing is proposed
        form->vONPROG->clear();
        QTest::keyClicks(form->vONPROG, QLatin1String(caso.digitato));
        scripted.messages.clear();
        clic("bregistra_0");
        if (caso.salvato) {
            EXPECT_EQ(righe(QStringLiteral("OCOD='11111111111'")), 1) << messaggio().toStdString();
            EXPECT_EQ(righe(QStringLiteral("OCOD='11111111111' AND ONPROG='%1'").arg(caso.salvato)), 1);
            bloccato("the save of a new subject", caso.salvato);
            ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE WHERE OCOD='11111111111'")));
        } else {
            EXPECT_EQ(righe(QStringLiteral("OCOD='11111111111'")), 0);
            ASSERT_EQ(scripted.messages.size(), 1u);
            EXPECT_TRUE(messaggio().contains(QStringLiteral("da 1 a 999"))) << messaggio().toStdString();
            EXPECT_EQ(QApplication::focusWidget(), form->vONPROG);
        }
    }
    // A number past 999, which the box cannot take typed, is refused all the same.
    costruttori::mostraIntero(form->vONPROG, QStringLiteral("1000"));
    scripted.messages.clear();
    clic("bregistra_0");
    EXPECT_EQ(righe(QStringLiteral("OCOD='11111111111'")), 0);
    EXPECT_TRUE(messaggio().contains(QStringLiteral("da 1 a 999"))) << messaggio().toStdString();
}
