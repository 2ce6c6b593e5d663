// The municipality boxes typed as an operator types: shortcuts, typing over a selection, and the province
// a proposal leaves behind when the name is not a municipality.

#include "RegistroProva.h"

#include <QApplication>
#include <QClipboard>
#include <QTabWidget>
#include <QTest>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

// A municipality box, its province box, the tab that holds them and whether the subject is a natural person.
struct Coppia {
    const char* comune;
    const char* provincia;
    int scheda;
    bool persona;
};

constexpr Coppia kCoppie[] = {{"vOSCOM", "vOSPRO", 0, false},
                              {"vONCOM", "vONPRO", 0, true},
                              {"vRENCOM", "vRENPRO", 1, false},
                              {"vSICOM", "vSIPRO", 3, false}};

class Comuni : public RegistroProva {
protected:
    // A new subject with the tab of `coppia` in front and the focus in its municipality box.
    void prepara(const Coppia& coppia)
    {
        if (!form->caricato()) {
            apri();
        }
        if (form->modificato()) {
            scripted.answers.push_back(MsgResult::No);
        }
        form->Aggiungi();
        scripted.messages.clear();
        (coppia.persona ? form->o2 : form->o1)->setChecked(true);
        form->SSTab1->setCurrentIndex(coppia.scheda);
        comune = casella(coppia.comune);
        provincia = casella(coppia.provincia);
        comune->setFocus();
    }
    // Tab out of the box, as the operator leaves it.
    static void esci(QLineEdit* casella)
    {
        casella->setFocus();
        QTest::keyClick(casella, Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), casella);
    }
    // Ctrl+A as fingers often make it: Ctrl let go before the A.
    static void selezionaTutto(QLineEdit* casella)
    {
        QTest::keyPress(casella, Qt::Key_Control);
        QTest::keyPress(casella, Qt::Key_A, Qt::ControlModifier);
        QTest::keyRelease(casella, Qt::Key_Control, Qt::ControlModifier);
        QTest::keyRelease(casella, Qt::Key_A);
    }

    QLineEdit* comune = nullptr;
    QLineEdit* provincia = nullptr;
};

} // namespace

TEST_F(Comuni, ShortcutsEditTheBoxAndTheCompletionTakesWhatItHolds)
{
    for (const Coppia& coppia : kCoppie) {
        SCOPED_TRACE(coppia.comune);
        prepara(coppia);
        tasti(comune, QStringLiteral("roma"));
        ASSERT_EQ(comune->text() + provincia->text(), QStringLiteral("ROMARM"));

        // Ctrl+A then a paste replaces the name; leaving looks the pasted one up.
        QApplication::clipboard()->setText(QStringLiteral("Napoli"));
        QTest::keyClick(comune, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(comune->selectedText(), QStringLiteral("ROMA"));
        QTest::keyClick(comune, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(comune->text(), QStringLiteral("Napoli"));
        esci(comune);
        EXPECT_EQ(comune->text() + provincia->text(), QStringLiteral("NAPOLINA"));

        // Typing over a selection replaces it, and completes from the letters typed.
        comune->setFocus();
        selezionaTutto(comune);
        EXPECT_EQ(comune->selectedText(), QStringLiteral("NAPOLI"));
        tasti(comune, QStringLiteral("Bari"));
        EXPECT_EQ(comune->text() + provincia->text(), QStringLiteral("BARIBA"));
        EXPECT_EQ(comune->cursorPosition(), 4);

        // A letter held with Ctrl, Alt or Meta does what it does in any other box, and never completes.
        for (const auto& [tasto, nome] :
             {std::pair{Qt::ControlModifier, "Ctrl"}, {Qt::AltModifier, "Alt"}, {Qt::MetaModifier, "Meta"}}) {
            QLineEdit altra(QStringLiteral("BARI"));
            comune->setText(altra.text());
            for (QLineEdit* c : {comune, &altra}) {
                c->setCursorPosition(2);
                QTest::keyClick(c, Qt::Key_M, tasto);
            }
            EXPECT_EQ(comune->text(), altra.text()) << nome;
            EXPECT_EQ(comune->cursorPosition(), altra.cursorPosition()) << nome;
            EXPECT_FALSE(comune->hasSelectedText()) << nome;
            EXPECT_EQ(provincia->text(), QStringLiteral("BA")) << nome;
        }
        comune->setText(QStringLiteral("BARI"));

        // Ctrl+X takes the whole name; the province the completion proposed for it goes with it.
        selezionaTutto(comune);
        QTest::keyClick(comune, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(comune->text(), QString());
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("BARI"));
        esci(comune);
        EXPECT_EQ(provincia->text(), QString());
    }
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
}

TEST_F(Comuni, AProposedProvinceLeavesWithANameNoMunicipalityHas)
{
    for (const Coppia& coppia : kCoppie) {
        SCOPED_TRACE(coppia.comune);
        prepara(coppia);
        // "CANT" proposes CANTAGALLO (PO); the Ù replaces the proposed rest, and means CANTU'.
        tasti(comune, QStringLiteral("CANT"));
        ASSERT_EQ(comune->text() + provincia->text(), QStringLiteral("CANTAGALLOPO"));
        tasti(comune, QStringLiteral("Ù"));
        esci(comune);
        EXPECT_EQ(comune->text(), QStringLiteral("CANTU'"));
        EXPECT_EQ(provincia->text(), QStringLiteral("CO"));

        // MILANO is proposed on the way to MILANO MARITTIMA, which no municipality is called.
        comune->setFocus();
        selezionaTutto(comune);
        tasti(comune, QStringLiteral("MILANO MARITTIMA"));
        EXPECT_EQ(provincia->text(), QStringLiteral("MI"));
        esci(comune);
        EXPECT_EQ(comune->text(), QStringLiteral("MILANO MARITTIMA"));
        EXPECT_EQ(provincia->text(), QString());

        // The province the operator then types stays, whenever the name is left again.
        provincia->setFocus();
        tasti(provincia, QStringLiteral("ra"));
        comune->setFocus();
        QTest::keyClick(comune, Qt::Key_End);
        tasti(comune, QStringLiteral(" 2"));
        esci(comune);
        EXPECT_EQ(comune->text() + provincia->text(), QStringLiteral("MILANO MARITTIMA 2RA"));
    }
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
}

// A stored name that no municipality has keeps its stored province, whatever was proposed on screen before.
TEST_F(Comuni, AStoredProvinceStays)
{
    inserisci({{"OCOD", "12345678901"},
               {"ONPROG", "001"},
               {"ODES", "ALFA SPA"},
               {"OSTP", "1"},
               {"orag", "ALFA SPA"},
               {"OSCOM", "CANTU"},
               {"OSPRO", "PO"},
               {"oRENCOM", "CANTU"},
               {"oREnpro", "PO"},
               {"OSICOM", "CANTU"},
               {"OSIPRO", "PO"}});
    apri();
    for (const Coppia& coppia : kCoppie) {
        if (coppia.persona) {
            continue;
        }
        SCOPED_TRACE(coppia.comune);
        form->SSTab1->setCurrentIndex(coppia.scheda);
        comune = casella(coppia.comune);
        provincia = casella(coppia.provincia);
        comune->setFocus();
        selezionaTutto(comune);
        tasti(comune, QStringLiteral("MIL"));
        ASSERT_EQ(provincia->text(), QStringLiteral("MI"));
        form->Lista(); // the stored subject again, as after a restore
        esci(comune);
        EXPECT_EQ(comune->text() + provincia->text(), QStringLiteral("CANTUPO"));
    }
    EXPECT_FALSE(form->modificato());
}

// The main window's commands take no focus: the box still being typed in is weighed as when it is left, before
// a save and before the communication file.
TEST_F(Comuni, TheMainWindowsCommandsWeighTheBoxBeingTyped)
{
    apri();
    compilaValido();
    const auto digitaSede = [this](const QString& nome) {
        form->vOSCOM->setFocus();
        selezionaTutto(form->vOSCOM);
        tasti(form->vOSCOM, nome);
    };
    digitaSede(QStringLiteral("MILANO MARITTIMA"));
    form->Conferma();
    EXPECT_EQ(righe(), 0);
    EXPECT_EQ(messaggio().trimmed(), QStringLiteral("Indicare la provincia della sede legale"));

    scripted.messages.clear();
    digitaSede(QStringLiteral("CANTÙ"));
    form->Conferma();
    const auto salvato = riga(QStringLiteral("12345678901"), QStringLiteral("001"));
    EXPECT_EQ(salvato.at(QStringLiteral("OSCOM")).toText() + salvato.at(QStringLiteral("OSPRO")).toText(),
              QStringLiteral("CANTU'CO"));
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();

    digitaSede(QStringLiteral("CANT"));
    tasti(form->vOSCOM, QStringLiteral("Ù"));
    const QString path = home.file(QStringLiteral("alfa.txt"));
    scripted.saveAnswers.push_back(path);
    form->CreaComunicazione();
    const auto records = recordsOf(path);
    ASSERT_EQ(records.size(), 4) << messaggio().toStdString();
    EXPECT_EQ(field(records[0], 186, 42), QByteArray("CANTU'").leftJustified(40, ' ') + "CO");
}
