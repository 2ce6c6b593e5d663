// The register form's help while typing: municipality completion and look-up, the progressive of a
// registered code, the date boxes and their calendar, birth data from the responsible person's code.

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"
#include "register/CreaRegistro.h"
#include "shell/F0.h"
#include "shell/F0INI.h"
#include "ui/FCale.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

enum Scheda { Soggetto = 0, Responsabile = 1, PostaElettronica = 2, Cancellazione = 3 };

class Digitazione : public RegistroProva {
protected:
    // Opens the form on a new natural person, with tab `scheda` in front.
    void nuovaPersona(int scheda = Soggetto)
    {
        apri();
        form->Aggiungi();
        form->o2->setChecked(true);
        form->SSTab1->setCurrentIndex(scheda);
        scripted.messages.clear();
    }
    // Types into a box as the operator does: each key pressed and released.
    static void digita(QLineEdit* casella, const QString& testo)
    {
        casella->setFocus();
        QTest::keyClicks(casella, testo);
    }
    // The box's text, its caret and its selection (which begins at the caret).
    static void atteso(const QLineEdit* c, const char* testo, int caret, const char* selezione)
    {
        EXPECT_EQ(c->text(), QLatin1String(testo));
        EXPECT_EQ(c->cursorPosition(), caret);
        EXPECT_EQ(c->selectedText(), QLatin1String(selezione));
        EXPECT_EQ(c->selectionStart(), *selezione ? caret : -1);
    }
    QString messaggioSolo() const
    {
        EXPECT_EQ(scripted.messages.size(), 1u);
        return messaggio().trimmed();
    }
    // Answers the date picker that the next ApriCalendario opens.
    static void rispondiCalendario(std::function<void(FCale&)> azione)
    {
        QTimer::singleShot(0, [azione = std::move(azione)] {
            auto* cale = dynamic_cast<FCale*>(QApplication::activeModalWidget());
            ASSERT_NE(cale, nullptr) << "no date picker open";
            azione(*cale);
        });
    }
};

} // namespace

TEST_F(Digitazione, MunicipalitiesAreCompletedWhileTypedAndLookedUpWhenLeft)
{
    nuovaPersona();
    form->vONPRO->setText(QStringLiteral("XX"));
    digita(form->vONCOM, QStringLiteral("mil"));
    atteso(form->vONCOM, "MILANO", 3, "ANO");
    EXPECT_EQ(form->vONPRO->text(), QStringLiteral("MI"));

    // Backspace, the arrows, a digit and a blank never complete.
    for (const Qt::Key k : {Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Right, Qt::Key_End}) {
        QTest::keyClick(form->vONCOM, k);
    }
    QTest::keyClicks(form->vONCOM, QStringLiteral("1 "));
    atteso(form->vONCOM, "MIL1 ", 5, "");

    // The letters before the caret count, not the whole text; leading blanks go.
    form->vONCOM->setText(QStringLiteral("  ROXXX"));
    form->vONCOM->setCursorPosition(4);
    QTest::keyClick(form->vONCOM, Qt::Key_M, Qt::ShiftModifier);
    atteso(form->vONCOM, "ROMA", 3, "A");
    EXPECT_EQ(form->vONPRO->text(), QStringLiteral("RM"));

    // Apostrophes before the caret; the other boxes complete into their own province.
    form->SSTab1->setCurrentIndex(Responsabile);
    digita(form->vRENCOM, QStringLiteral("SANT'AGATA DE' G"));
    atteso(form->vRENCOM, "SANT'AGATA DE' GOTI", 16, "OTI");
    EXPECT_EQ(form->vRENPRO->text(), QStringLiteral("BN"));

    // No municipality begins with XQ: the box and the province keep their texts.
    form->SSTab1->setCurrentIndex(Cancellazione);
    form->vSIPRO->setText(QStringLiteral("ZZ"));
    digita(form->vSICOM, QStringLiteral("xq"));
    atteso(form->vSICOM, "xq", 2, "");
    EXPECT_EQ(form->vSIPRO->text(), QStringLiteral("ZZ"));

    // Left, a municipality is looked up by its whole name.
    form->SSTab1->setCurrentIndex(Soggetto);
    form->vONCOM->setText(QStringLiteral("sant'agata de' goti"));
    lascia(form->vONCOM, form->vOCOG);
    EXPECT_EQ(form->vONCOM->text(), QStringLiteral("SANT'AGATA DE' GOTI"));
    EXPECT_EQ(form->vONPRO->text(), QStringLiteral("BN"));
    form->vONCOM->setText(QStringLiteral("ROMANIA DEL SUD"));
    lascia(form->vONCOM, form->vOCOG);
    EXPECT_EQ(form->vONPRO->text(), QStringLiteral("BN")) << "an unknown name leaves the province";

    // CASTRO is in BG and in LE: a province typed that has it is kept.
    form->o1->setChecked(true);
    form->vOSCOM->setText(QStringLiteral("castro"));
    form->vOSPRO->setText(QStringLiteral("XX"));
    lascia(form->vOSCOM, form->torag);
    const QString altra = form->vOSPRO->text() == QLatin1String("BG") ? QStringLiteral("LE") : QStringLiteral("BG");
    form->vOSPRO->setText(altra);
    lascia(form->vOSCOM, form->torag);
    EXPECT_EQ(form->vOSPRO->text(), altra);
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
}

// Leaving the code box with a registered code proposes its next free progressive, and the save that
// follows adds a row of its own.
TEST_F(Digitazione, LeavingARegisteredCodeProposesItsNextProgressive)
{
    for (const char* p : {"001", "002"}) {
        inserisci({{"OCOD", "12345678901"}, {"ONPROG", p}, {"ODES", "ALFA SPA"}, {"OSTP", "1"}, {"orag", "ALFA SPA"}});
    }
    inserisci({{"OCOD", "11111111111"}, {"ONPROG", "999"}, {"ODES", "BETA"}, {"OSTP", "1"}});
    apri();
    compilaValido();
    form->topiva->setText(QStringLiteral("12345678901"));
    // A save from the main window's command whose check moves the focus to another field: the code box
    // was not left by the operator, and the progressive stays.
    form->CBrap->setCurrentIndex(-1);
    form->Conferma();
    EXPECT_EQ(QApplication::focusWidget(), form->CBrap);
    EXPECT_EQ(form->vONPROG->text(), QStringLiteral("001"));
    EXPECT_EQ(messaggioSolo(), QStringLiteral("Indicare il tipo di soggetto"));
    scripted.messages.clear();
    form->CBrap->setCurrentIndex(0);
    form->topiva->setFocus();
    clic("bregistra_0"); // the button takes the focus: the code box is left
    EXPECT_EQ(righe(), 4) << messaggio().toStdString();
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("003"))["orag"].toText(), QStringLiteral("ALFA SPA"));

    // A code without rows, or with apostrophes, leaves the progressive alone; so does one at "999", saying so.
    for (const char* codice : {"98765432109", "' OR '1'='1", "11111111111"}) {
        if (form->modificato()) {
            scripted.answers.push_back(MsgResult::No); // the code typed before is dropped
        }
        form->Aggiungi();
        scripted.messages.clear();
        form->topiva->setText(QLatin1String(codice));
        lascia(form->topiva, form->vONPROG);
        EXPECT_EQ(form->vONPROG->text(), QStringLiteral("001")) << codice;
    }
    EXPECT_TRUE(messaggioSolo().contains(QStringLiteral("999"))) << messaggio().toStdString();
}

// The program ends with the focus in a box: the box loses it as the main window takes the form down, and no
// handler of the form may run then, over controls already gone.
TEST_F(Digitazione, NoFieldHandlerRunsWhileTheFormIsTakenDown)
{
    inserisci({{"OCOD", "12345678901"}, {"ONPROG", "001"}, {"ODES", "ALFA SPA"}, {"OSTP", "1"}, {"orag", "ALFA SPA"}});
    form.reset();
    auto finestra = std::make_unique<F0>(creaRegistro);
    finestra->show();
    QApplication::processEvents(); // the splash form
    finestra->benvenuto()->findChild<QPushButton*>()->click();
    auto* registro = dynamic_cast<F1OP*>(finestra->registro());
    ASSERT_NE(registro, nullptr);
    finestra->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(finestra.get()));
    QApplication::processEvents();
    registro->Aggiungi();
    registro->topiva->setFocus();
    QTest::keyClicks(registro->topiva, QStringLiteral("12345678901"));
    ASSERT_EQ(QApplication::focusWidget(), registro->topiva);
    CodiceCorrente.clear();
    scripted.messages.clear();
    finestra.reset();
    EXPECT_TRUE(CodiceCorrente.isEmpty()) << "the code box's handler looked the code up";
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
}

TEST_F(Digitazione, DateBoxesAreCheckedWhenLeft)
{
    nuovaPersona();
    form->vONDT->setText(QStringLiteral("050321"));
    lascia(form->vONDT, form->vONCOM);
    EXPECT_EQ(form->vONDT->text(), QStringLiteral("05/03/1921")) << "a birth date of someone of age";
    form->vONDT->setText(QStringLiteral("   "));
    lascia(form->vONDT, form->vONCOM);
    EXPECT_TRUE(scripted.messages.empty()) << "a blank date is no error";

    form->vONDT->setText(QStringLiteral("30/02/2020"));
    lascia(form->vONDT, form->vONCOM);
    EXPECT_EQ(messaggioSolo(), QStringLiteral("Data non valida"));
    EXPECT_EQ(QApplication::focusWidget(), form->vONDT);
    EXPECT_EQ(form->vONDT->text(), QStringLiteral("30/02/2020"));

    // Another tab put in front hides the box: it was not left, and the save will judge its date.
    form->SSTab1->setCurrentIndex(Responsabile);
    EXPECT_EQ(scripted.messages.size(), 1u);
    scripted.messages.clear();
    form->vREDTNAS->setText(QStringLiteral("1/2/1980"));
    lascia(form->vREDTNAS, form->vRENCOM);
    EXPECT_EQ(messaggioSolo(), QStringLiteral("Data non valida"));
    EXPECT_EQ(QApplication::focusWidget(), form->vREDTNAS);
}

TEST_F(Digitazione, TheResponsiblePersonsCodeFillsHisBirthData)
{
    nuovaPersona(Responsabile);
    form->vRECF->setText(QStringLiteral("bnclra62c45c566z"));
    lascia(form->vRECF, form->vRETEL);
    EXPECT_EQ(form->vRECF->text(), QStringLiteral("BNCLRA62C45C566Z"));
    EXPECT_EQ(form->vRESEX->text(), QStringLiteral("F"));
    EXPECT_EQ(form->vREDTNAS->text(), QStringLiteral("05/03/1962"));
    EXPECT_EQ(form->vRENCOM->text(), QStringLiteral("CESANO MADERNO"));
    EXPECT_EQ(QApplication::focusWidget(), form->vRECOG);

    // An unknown place fills sex and date only, and the focus goes where the operator went.
    form->vRECF->setText(QStringLiteral("RSSMRA8LT3MZ999X"));
    lascia(form->vRECF, form->vRETEL);
    EXPECT_EQ(form->vRESEX->text() + form->vREDTNAS->text(), QStringLiteral("M31/12/1980"));
    EXPECT_EQ(form->vRENCOM->text(), QStringLiteral("CESANO MADERNO"));
    EXPECT_EQ(QApplication::focusWidget(), form->vRETEL);
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();

    // A code of 15 characters is a field error; nothing else changes.
    form->vRECF->setText(QStringLiteral("rssmra80a01h501"));
    lascia(form->vRECF, form->vRETEL);
    EXPECT_EQ(messaggioSolo(), QStringLiteral("Codice Fiscale non corretto."));
    EXPECT_EQ(form->vRESEX->text() + form->vREDTNAS->text(), QStringLiteral("M31/12/1980"));
    EXPECT_EQ(QApplication::focusWidget(), form->vRECF);

    // A calendar button leaves the box being typed in first: its check keeps the focus there, and the
    // picker closed.
    scripted.messages.clear();
    bool aperto = false;
    QTimer::singleShot(0, [&] {
        if (auto* cale = QApplication::activeModalWidget()) {
            aperto = true;
            cale->close();
        }
    });
    clic("rdata_1");
    QApplication::processEvents();
    EXPECT_FALSE(aperto);
    EXPECT_EQ(messaggioSolo(), QStringLiteral("Codice Fiscale non corretto."));
    EXPECT_EQ(QApplication::focusWidget(), form->vRECF);
}

TEST_F(Digitazione, EachCalendarButtonAndDoubleClickOpensThePickerOnItsBox)
{
    nuovaPersona();
    const std::pair<const char*, int> date[] = {{"vONDT", Soggetto},
                                                {"vREDTNAS", Responsabile},
                                                {"vPEDATAI", PostaElettronica},
                                                {"vPEDATAF", PostaElettronica},
                                                {"vDTCANC", Cancellazione}};
    for (int indice = 0; indice < 5; ++indice) {
        const auto& [nome, scheda] = date[indice];
        SCOPED_TRACE(nome);
        QLineEdit* casella = this->casella(nome);
        form->SSTab1->setCurrentIndex(scheda);
        casella->setText(QStringLiteral("10/03/2021"));
        QString mese;
        rispondiCalendario([&](FCale& cale) {
            mese = cale.lblMESE->text() + QLatin1Char(' ') + cale.lblANNO->text();
            QTest::mouseDClick(cale.G[cale.indiceScelto() + 1], Qt::LeftButton);
        });
        clic(qPrintable(QStringLiteral("rdata_%1").arg(indice)));
        EXPECT_EQ(mese, QStringLiteral("Marzo 2021"));
        EXPECT_EQ(casella->text(), QStringLiteral("11/03/2021"));
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        EXPECT_EQ(QApplication::focusWidget(), casella);
    }
    // A double click goes the same road as the button of its box.
    rispondiCalendario([](FCale& cale) { QTest::keyClick(cale.pctCAL, Qt::Key_Escape); });
    QTest::mouseDClick(form->vDTCANC, Qt::LeftButton);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(form->vDTCANC->text(), QStringLiteral("11/03/2021")) << "Esc leaves the box as it was";
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), form->vDTCANC);
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
}

// A two-digit year typed and not yet left opens the picker where the box will read it: a person born five
// years ago by the digits would be a child, so the birth boxes go back a century; a PEC address does not.
TEST_F(Digitazione, ThePickerReadsATwoDigitYearAsItsBoxDoes)
{
    nuovaPersona();
    const int cifre = (QDate::currentDate().year() - 5) % 100;
    const QString nascita = QString::number(1900 + cifre);
    const QString recente = QString::number(2000 + cifre);
    const struct {
        const char* nome;
        int scheda;
        int indice;
        QString anno;
    } casi[] = {{"vONDT", Soggetto, 0, nascita},
                {"vREDTNAS", Responsabile, 1, nascita},
                {"vPEDATAI", PostaElettronica, 2, recente}};
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        QLineEdit* casella = this->casella(caso.nome);
        form->SSTab1->setCurrentIndex(caso.scheda);
        casella->setFocus();
        casella->setText(QStringLiteral("0101%1").arg(cifre, 2, 10, QLatin1Char('0')));
        QString mese;
        rispondiCalendario([&](FCale& cale) {
            mese = cale.lblMESE->text() + QLatin1Char(' ') + cale.lblANNO->text();
            QTest::mouseDClick(cale.G[cale.indiceScelto() + 1], Qt::LeftButton);
        });
        clic(qPrintable(QStringLiteral("rdata_%1").arg(caso.indice)));
        EXPECT_EQ(mese, QStringLiteral("Gennaio ") + caso.anno);
        EXPECT_EQ(casella->text(), QStringLiteral("02/01/") + caso.anno);
    }
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
}

TEST_F(Digitazione, TheSubjectCodeTableOpensFromTheHelpFolderOrIsNamedWhenMissing)
{
    apri();
    const QString documento =
        QStringLiteral("Help/03_Allegato+3+-+Tabella+dei+codici+soggetto+per+sezione+del+REI.pdf");
    const QString percorso = QDir::toNativeSeparators(home.file(documento));
    clic("PushButton2");
    EXPECT_TRUE(messaggioSolo().contains(percorso)) << messaggio().toStdString();
    EXPECT_TRUE(scripted.opened.empty());
    home.write(documento, "%PDF-1.4\n");
    scripted.messages.clear();
    clic("PushButton2");
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
    EXPECT_EQ(scripted.opened, std::vector<QString>{percorso});
}

// A look-up that fails (the tables gone) is told in a plain message; the form goes on.
TEST_F(Digitazione, AFailingLookUpIsReportedAndTheFormGoesOn)
{
    nuovaPersona();
    form->TC2->setChecked(true); // by code, too, the cancellation chooses its first reason
    EXPECT_TRUE(form->mc1->isChecked());
    rsComuni.Close();
    rsComuniCF.Close();
    ComuniCaricati = false;
    ASSERT_TRUE(Conn.Execute(QStringLiteral("DROP TABLE T_COMUNI")));
    digita(form->vONCOM, QStringLiteral("R"));
    lascia(form->vONCOM, form->vOCOG);
    ASSERT_TRUE(Conn.Execute(QStringLiteral("DROP TABLE COPE")));
    form->topiva->setText(QStringLiteral("12345678901"));
    lascia(form->topiva, form->vONPROG);
    ASSERT_EQ(scripted.messages.size(), 3u);
    EXPECT_EQ(scripted.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(form->vONCOM->text(), QStringLiteral("R"));
    EXPECT_EQ(form->vONPROG->text(), QStringLiteral("001"));
}
