// Changes on screen not yet saved are never dropped unasked: every action that would put something else over
// them asks first, through the main window as the operator drives it.

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"
#include "register/CreaRegistro.h"
#include "register/GrigliaSoggetti.h"
#include "shell/F0.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTest>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

const QString kDomanda = QStringLiteral("Il soggetto ALFA SPA progressivo 001 è stato modificato. Registrare le "
                                        "modifiche?");

class Modifiche : public RegistroProva {
protected:
    void SetUp() override
    {
        RegistroProva::SetUp();
        // A subject that passes the validation, as the form saves it, and a second one after it in the list.
        apri();
        alfa = registraValido();
        form.reset();
    }

    void TearDown() override { finestra.reset(); }

    // The main window on ALFA SPA, whose PEC address the operator has just retyped.
    void alfaModificata()
    {
        finestra.reset();
        ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE")));
        inserisci(alfa);
        inserisci(
            {{"OCOD", "99999999999"}, {"ONPROG", "001"}, {"ODES", "ZETA SPA"}, {"OSTP", "1"}, {"orag", "ZETA SPA"}});
        finestra = std::make_unique<F0>(creaRegistro);
        finestra->impostaUscita([this] { ++uscite; });
        finestra->show();
        registro = dynamic_cast<F1OP*>(&finestra->apriRegistro());
        ASSERT_NE(registro, nullptr);
        QApplication::processEvents();
        ASSERT_EQ(registro->torag->text(), QStringLiteral("ALFA SPA"));
        registro->SSTab1->setCurrentIndex(2);
        registro->vPEEMAIL->setFocus();
        registro->vPEEMAIL->setText(QStringLiteral("NUOVA@PEC.IT"));
        scripted.messages.clear();
        scripted.answers.clear();
        scripted.openRequests.clear();
        uscite = 0;
    }

    QString pecRegistrata() const
    {
        return riga(QStringLiteral("12345678901"), QStringLiteral("001"))["OPEEMAIL"].toText();
    }
    bool domandato() const { return scripted.messageTexts().contains(kDomanda); }

    std::map<QString, QString> alfa;
    std::unique_ptr<F0> finestra;
    F1OP* registro = nullptr;
    int uscite = 0;
};

struct Azione {
    const char* nome;
    std::vector<MsgResult> prima; // answers to the questions the action asks before
    std::vector<MsgResult> dopo;  // and after
};

} // namespace

// Each action against each answer: Sì saves and goes on, a refused save and Annulla stay with the typing on screen
// and the list on its subject, No drops the typing and goes on.
TEST_F(Modifiche, EveryActionThatReplacesTheSubjectAsksFirst)
{
    const Azione azioni[] = {
        {"clic", {}, {}},       {"tastiera", {}, {}},
        {"Aggiungi", {}, {}},   {"Copia", {}, {MsgResult::Yes}},
        {"Ripristina", {}, {}}, {"Chiudi", {MsgResult::Yes}, {}},
    };
    enum class Risposta { Si, SiRifiutato, No, Annulla };
    for (const Azione& azione : azioni) {
        for (const Risposta risposta : {Risposta::Si, Risposta::SiRifiutato, Risposta::No, Risposta::Annulla}) {
            SCOPED_TRACE(std::string(azione.nome) + " " + std::to_string(static_cast<int>(risposta)));
            alfaModificata();
            if (risposta == Risposta::SiRifiutato) {
                registro->vRETEL->clear();
            }
            scripted.answers.assign(azione.prima.begin(), azione.prima.end());
            scripted.answers.push_back(risposta == Risposta::No        ? MsgResult::No
                                       : risposta == Risposta::Annulla ? MsgResult::Cancel
                                                                       : MsgResult::Yes);
            scripted.answers.insert(scripted.answers.end(), azione.dopo.begin(), azione.dopo.end());

            const QByteArray nome(azione.nome);
            const QTableView* griglia = registro->IGOpe;
            if (nome == "clic") {
                const QRect cella = griglia->visualRect(griglia->model()->index(1, 2));
                QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, cella.center());
            } else if (nome == "tastiera") {
                registro->IGOpe->setFocus(Qt::TabFocusReason);
                QTest::keyClick(registro->IGOpe, Qt::Key_Down);
            } else if (nome == "Aggiungi") {
                finestra->CommandBars_Execute(ComandoAggiungi, QStringLiteral("Aggiungi"));
            } else if (nome == "Copia") {
                finestra->CommandBars_Execute(ComandoCopia, QStringLiteral("Copia"));
            } else if (nome == "Ripristina") {
                finestra->CommandBars_Execute(ComandoRipristina, QStringLiteral("Ripristina"));
            } else {
                finestra->close();
            }
            QApplication::processEvents();

            bool eseguita = false;
            if (nome == "clic" || nome == "tastiera") {
                eseguita = registro->torag->text() == QLatin1String("ZETA SPA");
            } else if (nome == "Aggiungi") {
                eseguita = registro->topiva->text().isEmpty();
            } else if (nome == "Copia") {
                eseguita = righe(QStringLiteral("OCOD='12345678901'")) == 2;
            } else if (nome == "Ripristina") {
                eseguita = !scripted.openRequests.empty(); // the backup to restore is asked for
            } else {
                eseguita = uscite == 1;
            }
            const auto domanda = std::find_if(scripted.messages.begin(), scripted.messages.end(),
                                              [](const MessageRequest& m) { return m.text == kDomanda; });
            ASSERT_NE(domanda, scripted.messages.end()) << scripted.messageTexts().join(" | ").toStdString();
            EXPECT_EQ(domanda->buttons, MsgButtons::YesNoCancel);
            EXPECT_EQ(domanda->defaultAnswer(), MsgResult::Cancel);

            const bool salva = risposta == Risposta::Si;
            const bool resta = risposta == Risposta::SiRifiutato || risposta == Risposta::Annulla;
            EXPECT_EQ(pecRegistrata(), salva ? QStringLiteral("NUOVA@PEC.IT") : QStringLiteral("ALFA@PEC.IT"));
            EXPECT_EQ(eseguita, !resta);
            if (resta) {
                EXPECT_EQ(registro->vPEEMAIL->text(), QStringLiteral("NUOVA@PEC.IT"));
                EXPECT_EQ(registro->torag->text(), QStringLiteral("ALFA SPA"));
                EXPECT_EQ(registro->IGOpe->currentIndex().row(), 0) << "the list back on the subject on screen";
                EXPECT_EQ(registro->IGOpe->selectionModel()->selectedRows().value(0).row(), 0);
            }
        }
    }
}

// A form with no change asks nothing, whatever the action; nor does one whose boxes were only passed through.
TEST_F(Modifiche, NoChangeNoQuestion)
{
    alfaModificata();
    registro->vPEEMAIL->setText(QStringLiteral(" alfa@pec.it")); // cleaned as the box is left: no change
    registro->torag->setFocus();
    const QTableView* griglia = registro->IGOpe;
    const QRect cella = griglia->visualRect(griglia->model()->index(1, 0));
    QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, cella.center());
    EXPECT_EQ(registro->torag->text(), QStringLiteral("ZETA SPA")) << scripted.messageTexts().join(" | ").toStdString();
    registro->IGOpe->setFocus(Qt::TabFocusReason);
    QTest::keyClick(registro->IGOpe, Qt::Key_Up);
    EXPECT_EQ(registro->torag->text(), QStringLiteral("ALFA SPA"));
    finestra->CommandBars_Execute(ComandoRipristina, QStringLiteral("Ripristina"));
    EXPECT_EQ(scripted.openRequests.size(), 1u);
    scripted.answers = {MsgResult::Yes};
    finestra->close();
    EXPECT_EQ(uscite, 1);
    EXPECT_FALSE(domandato()) << scripted.messageTexts().join(" | ").toStdString();

    // A new subject asks as soon as anything is typed, and names what was typed.
    finestra->show();
    finestra->CommandBars_Execute(ComandoAggiungi, QStringLiteral("Aggiungi"));
    finestra->CommandBars_Execute(ComandoAggiungi, QStringLiteral("Aggiungi"));
    EXPECT_TRUE(scripted.messages.empty() || !scripted.messages.back().text.contains(QStringLiteral("modificato")));
    QTest::keyClicks(registro->topiva, QStringLiteral("01234567897"));
    finestra->CommandBars_Execute(ComandoAggiungi, QStringLiteral("Aggiungi"));
    EXPECT_EQ(messaggio(),
              QStringLiteral("Il soggetto 01234567897 (nuovo) è stato modificato. Registrare le modifiche?"));
    EXPECT_EQ(registro->topiva->text(), QStringLiteral("01234567897")) << "Annulla by default";
}
