// The register form's load, its subject list, the grid's row choice, the option handlers and the
// column scaling.

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"
#include "register/GrigliaSoggetti.h"

#include <QApplication>
#include <QGroupBox>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

class Lista : public RegistroProva {
protected:
    QStringList colonna(int c) const
    {
        QStringList testi;
        for (int r = 0; r < form->modelloGriglia()->rowCount(); ++r) {
            testi << form->modelloGriglia()->testo(r, c);
        }
        return testi;
    }
};

} // namespace

TEST_F(Lista, EmptyTableGivesFourColumnsAndANewSubject)
{
    bool versione = false;
    form->attivaVersioneProgramma = [&] { versione = true; };
    apri();
    EXPECT_EQ(trova<QTableView>("IGOpe")->model()->rowCount(), 0);

    EXPECT_EQ(casella("vONPROG")->text(), QStringLiteral("001"));
    EXPECT_TRUE(opzione("o1")->isChecked());
    EXPECT_TRUE(opzione("TC1")->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), casella("topiva"));
    EXPECT_EQ(form->CBrap->currentText(), QString());
    EXPECT_FALSE(trova<QGroupBox>("FPF")->isVisible());
    EXPECT_EQ(FormAttiva, QStringLiteral("F1OP"));
    EXPECT_TRUE(versione);
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
}

TEST_F(Lista, SortsByNameAndLoadsTheChosenRow)
{
    inserisci({{"OCOD", "33333333333"}, {"ONPROG", "001"}, {"ODES", "BETA SRL"}, {"OSTP", "1"}, {"orag", "BETA SRL"}});
    inserisci({{"OCOD", "22222222222"},
               {"ONPROG", "001"},
               {"ODES", "alfa srl"},
               {"Ocf", "2"},
               {"OSTP", "1"},
               {"orag", "ALFA SPA"},
               {"OSCOM", "ROMA"},
               {"oTIPOSOG", "14"},
               {"OMOC2", "1"}});
    inserisci({{"OCOD", "RSSMRA80A01H501U"},
               {"ONPROG", "002"},
               {"ODES", "ALFA SPA"},
               {"Ocf", "1"},
               {"OSTP", "0"},
               {"OCOG", "ROSSI"},
               {"ONOME", "MARIO"},
               {"ONDT", "01/01/1980"},
               {"oitt2", "-1"}});
    apri();
    EXPECT_EQ(colonna(0), (QStringList{"RSSMRA80A01H501U", "22222222222", "33333333333"}));
    EXPECT_EQ(colonna(1), (QStringList{"002", "001", "001"}));

    // The first row is a natural person.
    EXPECT_EQ(CodiceCorrente, QStringLiteral("RSSMRA80A01H501U"));
    EXPECT_EQ(casella("vONPROG")->text(), QStringLiteral("002"));
    EXPECT_TRUE(trova<QGroupBox>("FPF")->isVisible());
    EXPECT_EQ(casella("vONDT")->text(), QStringLiteral("01/01/1980"));
    EXPECT_EQ(NomeCorrente, QStringLiteral("ROSSI MARIO"));
    EXPECT_TRUE(opzione("vITT2")->isChecked());
    EXPECT_FALSE(opzione("TC1")->isChecked() || opzione("TC2")->isChecked()) << "no type stored, none chosen";

    // Choosing the second row with the mouse loads a non-natural person, with the code box locked.
    auto* griglia = form->IGOpe;
    const QRect cella = griglia->visualRect(griglia->model()->index(1, 2));
    QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, cella.center());
    EXPECT_EQ(CodiceCorrente, QStringLiteral("22222222222"));
    EXPECT_TRUE(trova<QGroupBox>("FPNF")->isVisible());
    EXPECT_EQ(NomeCorrente, QStringLiteral("ALFA SPA"));
    EXPECT_FALSE(casella("topiva")->isEnabled());
    EXPECT_EQ(form->CBrap->currentText(), QStringLiteral("14=Società di gestione del risparmio (SGR)"));
    EXPECT_TRUE(spunta("MOC2")->isChecked());
    EXPECT_FALSE(opzione("vITT2")->isChecked()) << "a Null option is not chosen";

    // Back to the natural person by keyboard: its boxes are refilled, the code box stays locked.
    QTest::keyClick(griglia, Qt::Key_Up);
    EXPECT_EQ(casella("vOCOG")->text(), QStringLiteral("ROSSI"));
    EXPECT_EQ(casella("vOSCOM")->text(), QStringLiteral("ROMA")) << "the other kind's boxes keep their texts";
    EXPECT_FALSE(casella("topiva")->isEnabled());
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
}

TEST_F(Lista, StoredCancellationShowsItsReason)
{
    inserisci({{"OCOD", "44444444444"},
               {"ONPROG", "001"},
               {"ODES", "GAMMA"},
               {"OSTP", "1"},
               {"OTIPOCOM1", "0"},
               {"OTIPOCOM2", "-1"},
               {"OMC1", "0"},
               {"OMC2", "-1"},
               {"OMC3", "0"},
               {"OMOC1", "2"}});
    apri();
    EXPECT_TRUE(opzione("TC2")->isChecked());
    EXPECT_TRUE(opzione("mc2")->isChecked());
    form->SSTab1->setCurrentIndex(3);
    EXPECT_TRUE(trova<QGroupBox>("fSOCINC")->isVisible());
    EXPECT_FALSE(trova<QGroupBox>("fDisp")->isVisible());
    EXPECT_FALSE(spunta("MOC1")->isChecked()) << "a state that is neither 0 nor 1 is not shown";

    // Another reason, clicked on its indicator (a wide button takes no clicks beyond its text), shows its boxes.
    QRadioButton* mc3 = opzione("mc3");
    QTest::mouseClick(mc3, Qt::LeftButton, {}, QPoint(6, mc3->height() / 2));
    EXPECT_FALSE(trova<QGroupBox>("fSOCINC")->isVisible());
    EXPECT_TRUE(trova<QGroupBox>("fDisp")->isVisible());
}

// The columns share the list's whole width in their design proportions at every size, also after the form was
// made smaller and then larger again; "off" keeps the widths the columns have.
TEST_F(Lista, ColumnsFillTheGridAtEverySize)
{
    const int progetto[] = {150, 45, 300, 450};
    for (const char* impostazione : {"OFF", "off"}) { // only the lower-case word stops the scaling
        SCOPED_TRACE(impostazione);
        home.write(QStringLiteral("configurazione.ini"),
                   QByteArray("[opzioni]\r\nAna_DimColAuto=") + impostazione + "\r\n");
        resetDichiarazioni();
        SetUp();
        form->resize(1300, 760); // opened bigger than designed
        apri();
        std::vector<int> prima;
        for (int c = 0; c < 4; ++c) {
            prima.push_back(form->IGOpe->columnWidth(c));
        }
        for (const int larghezza : {1300, 640, 1600}) {
            form->resize(larghezza, 760);
            QApplication::processEvents();
            const int vista = form->IGOpe->viewport()->width();
            int somma = 0;
            for (int c = 0; c < 4; ++c) {
                const int w = form->IGOpe->columnWidth(c);
                somma += w;
                if (QByteArray(impostazione) == "off") {
                    EXPECT_EQ(w, prima[c]) << "no scaling: the widths stay";
                } else {
                    EXPECT_NEAR(w, progetto[c] * vista / 945.0, 1.5) << larghezza << " column " << c;
                }
            }
            if (QByteArray(impostazione) != "off") {
                EXPECT_EQ(somma, vista) << larghezza;
                EXPECT_EQ(form->IGOpe->horizontalScrollBar()->maximum(), 0) << larghezza;
            }
        }
        form.reset();
    }
}

// Every refill of the list (a save, a delete, a restore's rebuild) keeps the columns across the list's whole width.
TEST_F(Lista, ColumnsFillTheGridAfterEveryRefill)
{
    for (int i = 1; i <= 3; ++i) {
        const QString codice = QString(11, QLatin1Char('0' + i));
        inserisci({{"OCOD", codice}, {"ONPROG", "001"}, {"ODES", "SOGGETTO " + codice}, {"OSTP", "1"}});
    }
    form->resize(1300, 760);
    apri();
    const auto riempiono = [this](const char* quando) {
        QApplication::processEvents();
        int somma = 0;
        for (int c = 0; c < form->modelloGriglia()->columnCount(); ++c) {
            somma += form->IGOpe->isColumnHidden(c) ? 0 : form->IGOpe->columnWidth(c);
        }
        EXPECT_EQ(somma, form->IGOpe->viewport()->width()) << quando;
    };
    riempiono("shown");

    compilaValido();
    form->Conferma();
    ASSERT_EQ(righe(), 4) << messaggio().toStdString();
    riempiono("after REGISTRA");

    scripted.answers.push_back(MsgResult::Yes);
    form->Elimina();
    ASSERT_EQ(righe(), 3);
    riempiono("after Elimina");
    form->Lista(); // as a restore rebuilds it
    riempiono("after a rebuild");

    form->resize(900, 700);
    riempiono("after a resize");
}

// Name, then fiscal code, then progressive as a number: 002 never stands above 001, whatever Ocf holds.
TEST_F(Lista, ProgressivesOfOneSubjectStandInTheirOrder)
{
    const std::pair<const char*, const char*> righe[] = {{"010", "1"}, {"002", "2"}, {"1", "3"}, {"009", "0"}};
    for (const auto& [progressivo, ocf] : righe) {
        inserisci({{"OCOD", "55555555555"}, {"ONPROG", progressivo}, {"ODES", "DELTA"}, {"Ocf", ocf}, {"OSTP", "1"}});
    }
    inserisci({{"OCOD", "44444444444"}, {"ONPROG", "003"}, {"ODES", "delta"}, {"Ocf", "9"}, {"OSTP", "1"}});
    apri();
    EXPECT_EQ(colonna(0), (QStringList{"44444444444", "55555555555", "55555555555", "55555555555", "55555555555"}));
    EXPECT_EQ(colonna(1), (QStringList{"003", "1", "002", "009", "010"}));
}
