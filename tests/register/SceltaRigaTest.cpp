// Choosing a row of the subject list while the form holds changes: whatever the answer to the question, the list's
// chosen row and the form name the same subject, and the keys that leave the list leave it.

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"
#include "register/GrigliaSoggetti.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTest>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

struct Soggetto {
    const char* codice;
    const char* progressivo;
    const char* nome;
};

// As the list sorts them: two progressives of one code, then another subject.
constexpr Soggetto kAlfa1{"12345678901", "001", "ALFA SPA"};
constexpr Soggetto kAlfa2{"12345678901", "002", "ALFA SPA"};
constexpr Soggetto kZeta{"99999999999", "001", "ZETA SPA"};

// Saved, the retyped name moves its subject between the other two.
const QString kRitoccato = QStringLiteral("CAMBIATO SPA");

enum class Risposta { Si, SiRifiutato, No, Annulla };

class SceltaRiga : public RegistroProva {
protected:
    void SetUp() override
    {
        RegistroProva::SetUp();
        apri();
        valido = registraValido();
        // The question is a modal box: while it is open the program's queued work goes on.
        scripted.onMessage = [](const MessageRequest&) -> std::optional<MsgResult> {
            QApplication::processEvents();
            return std::nullopt;
        };
    }

    // A fresh form on the three subjects, showing `partenza`, whose name the operator has just retyped unless
    // `ritocca` is false.
    void riapri(const Soggetto& partenza, bool ritocca = true)
    {
        form.reset();
        ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE")));
        for (const Soggetto& s : {kAlfa1, kAlfa2, kZeta}) {
            std::map<QString, QString> campi = valido;
            campi["OCOD"] = QLatin1String(s.codice);
            campi["ONPROG"] = QLatin1String(s.progressivo);
            campi["orag"] = campi["ODES"] = QLatin1String(s.nome);
            inserisci(campi);
        }
        form = std::make_unique<F1OP>();
        apri();
        clicSu(rigaDi(partenza));
        ASSERT_EQ(form->vONPROG->text(), QLatin1String(partenza.progressivo));
        if (ritocca) {
            form->torag->setFocus();
            form->torag->selectAll();
            QTest::keyClicks(form->torag, kRitoccato);
        }
        scripted.messages.clear();
        scripted.answers.clear();
    }

    int rigaDi(const Soggetto& s) const
    {
        const GrigliaSoggetti* g = form->modelloGriglia();
        for (int r = 0; r < g->rowCount(); ++r) {
            if (g->testo(r, 0) == QLatin1String(s.codice) && g->testo(r, 1) == QLatin1String(s.progressivo)) {
                return r;
            }
        }
        return -1;
    }

    void clicSu(int riga) const
    {
        const QRect cella = form->IGOpe->visualRect(form->IGOpe->model()->index(riga, 2));
        QTest::mouseClick(form->IGOpe->viewport(), Qt::LeftButton, {}, cella.center());
    }

    // The list's chosen row, its highlight, the form and the delete question all name `atteso`.
    void concordano(const Soggetto& atteso, const QString& nomeNelForm)
    {
        const QTableView* griglia = form->IGOpe;
        const int corrente = griglia->currentIndex().row();
        ASSERT_GE(corrente, 0);
        const GrigliaSoggetti* g = form->modelloGriglia();
        const auto testo = [](const QString& t) { return t.toStdString(); };
        EXPECT_EQ(testo(g->testo(corrente, 0)), atteso.codice) << "list's current row";
        EXPECT_EQ(testo(g->testo(corrente, 1)), atteso.progressivo) << "list's current row";
        const QModelIndexList evidenziate = griglia->selectionModel()->selectedRows();
        ASSERT_EQ(evidenziate.size(), 1);
        EXPECT_EQ(evidenziate[0].row(), corrente) << "the highlighted row is the current one";
        EXPECT_EQ(testo(form->topiva->text()), atteso.codice);
        EXPECT_EQ(testo(CodiceCorrente), atteso.codice);
        EXPECT_EQ(testo(form->vONPROG->text()), atteso.progressivo);
        EXPECT_EQ(testo(form->torag->text()), testo(nomeNelForm));

        scripted.answers = {MsgResult::No};
        form->Elimina();
        EXPECT_EQ(testo(messaggio()), testo(QStringLiteral("Confermi l'Eliminazione di \n \n%1 progressivo %2?")
                                                .arg(g->testo(corrente, 2), g->testo(corrente, 1))));
        EXPECT_EQ(righe(), 3);
    }

    std::map<QString, QString> valido;
};

struct Scelta {
    const char* come;
    Soggetto partenza;
    Soggetto arrivo;
    Qt::Key tasto; // Qt::Key_unknown: a click on the row of `arrivo`
    Qt::KeyboardModifiers modificatori = {};
};

} // namespace

// Each way of choosing a row, by mouse or by the keys the list moves with, to a subject of another code and to
// another progressive of the same code, against each answer: Sì saves and loads the chosen subject, No drops the
// changes and loads it, Annulla and a refused save keep the subject and its changes; the list follows the form.
TEST_F(SceltaRiga, TheListAndTheFormShowTheSameSubjectAfterEveryAnswer)
{
    const Scelta scelte[] = {
        {"clic, altro progressivo", kAlfa1, kAlfa2, Qt::Key_unknown},
        {"clic, altro soggetto", kAlfa1, kZeta, Qt::Key_unknown},
        {"clic, in su", kZeta, kAlfa1, Qt::Key_unknown},
        {"giù", kAlfa1, kAlfa2, Qt::Key_Down},
        {"su, altro progressivo", kAlfa2, kAlfa1, Qt::Key_Up},
        {"su, altro soggetto", kZeta, kAlfa2, Qt::Key_Up},
        {"pagina giù", kAlfa1, kZeta, Qt::Key_PageDown},
        {"pagina su", kZeta, kAlfa1, Qt::Key_PageUp},
        {"ctrl fine", kAlfa2, kZeta, Qt::Key_End, Qt::ControlModifier},
        {"ctrl inizio", kZeta, kAlfa1, Qt::Key_Home, Qt::ControlModifier},
    };
    for (const Scelta& scelta : scelte) {
        for (const Risposta risposta : {Risposta::Si, Risposta::SiRifiutato, Risposta::No, Risposta::Annulla}) {
            SCOPED_TRACE(std::string(scelta.come) + ", risposta " + std::to_string(static_cast<int>(risposta)));
            riapri(scelta.partenza);
            if (risposta == Risposta::SiRifiutato) {
                form->vRETEL->clear();
            }
            scripted.answers = {risposta == Risposta::No        ? MsgResult::No
                                : risposta == Risposta::Annulla ? MsgResult::Cancel
                                                                : MsgResult::Yes};
            if (scelta.tasto == Qt::Key_unknown) {
                clicSu(rigaDi(scelta.arrivo));
            } else {
                form->IGOpe->setFocus(Qt::TabFocusReason);
                QTest::keyClick(form->IGOpe, scelta.tasto, scelta.modificatori);
            }
            QApplication::processEvents();
            ASSERT_FALSE(scripted.messages.empty());
            EXPECT_TRUE(scripted.messages[0].text.endsWith(QStringLiteral("è stato modificato. Registrare le "
                                                                          "modifiche?")))
                << scripted.messages[0].text.toStdString();

            const QString salvato =
                riga(QLatin1String(scelta.partenza.codice), QLatin1String(scelta.partenza.progressivo))["orag"]
                    .toText();
            EXPECT_EQ(salvato, risposta == Risposta::Si ? kRitoccato : QLatin1String(scelta.partenza.nome));
            if (risposta == Risposta::Si || risposta == Risposta::No) {
                EXPECT_FALSE(form->modificato());
                concordano(scelta.arrivo, QLatin1String(scelta.arrivo.nome));
            } else {
                EXPECT_TRUE(form->modificato());
                concordano(scelta.partenza, kRitoccato);
            }
        }
    }
}

// Home and End move along the row's cells, not between rows: nothing is asked and the changes stay.
TEST_F(SceltaRiga, HomeAndEndStayOnTheRow)
{
    riapri(kAlfa2);
    form->IGOpe->setFocus(Qt::TabFocusReason);
    for (const Qt::Key tasto : {Qt::Key_End, Qt::Key_Home}) {
        QTest::keyClick(form->IGOpe, tasto);
        QApplication::processEvents();
    }
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
    EXPECT_TRUE(form->modificato());
    concordano(kAlfa2, kRitoccato);
}

// Tab and Shift+Tab leave the list at once for the next and the previous control, and come back to it, without
// choosing a row or asking; the arrow keys still move between rows, and ask about the changes.
TEST_F(SceltaRiga, TabLeavesTheList)
{
    riapri(kAlfa1);
    QTableView* griglia = form->IGOpe;
    griglia->setFocus(Qt::TabFocusReason);
    QTest::keyClick(griglia, Qt::Key_Tab);
    QWidget* dopo = QApplication::focusWidget();
    ASSERT_NE(dopo, nullptr);
    EXPECT_NE(dopo, griglia);
    QTest::keyClick(dopo, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), griglia) << "Shift+Tab comes back";
    QTest::keyClick(griglia, Qt::Key_Backtab);
    QWidget* prima = QApplication::focusWidget();
    ASSERT_NE(prima, nullptr);
    EXPECT_NE(prima, griglia);
    QTest::keyClick(prima, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), griglia) << "Tab comes back";
    QApplication::processEvents();
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();
    EXPECT_TRUE(form->modificato());
    EXPECT_EQ(griglia->currentIndex().row(), rigaDi(kAlfa1));

    scripted.answers = {MsgResult::No};
    QTest::keyClick(griglia, Qt::Key_Down);
    QApplication::processEvents();
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(messaggio(),
              QStringLiteral("Il soggetto ALFA SPA progressivo 001 è stato modificato. Registrare le modifiche?"));
    concordano(kAlfa2, QStringLiteral("ALFA SPA"));
}

// A stored subject whose type alone was chosen anew from the list holds a change: leaving it asks, and Sì stores
// the new type.
TEST_F(SceltaRiga, ChangingOnlyTheSubjectTypeAsks)
{
    riapri(kAlfa1, false);
    ASSERT_FALSE(form->modificato());
    const QString prima = form->CBrap->currentText();
    form->CBrap->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form->CBrap, Qt::Key_Down);
    const QString scelto = form->CBrap->currentText();
    ASSERT_NE(scelto, prima);
    scripted.answers = {MsgResult::Yes};
    clicSu(rigaDi(kZeta));
    QApplication::processEvents();
    ASSERT_FALSE(scripted.messages.empty());
    EXPECT_EQ(scripted.messages[0].text,
              QStringLiteral("Il soggetto ALFA SPA progressivo 001 è stato modificato. Registrare le modifiche?"));
    const auto salvata = riga(QLatin1String(kAlfa1.codice), QLatin1String(kAlfa1.progressivo));
    EXPECT_EQ(salvata.at(QStringLiteral("OTIPOSOGD")).toText(), scelto);
    EXPECT_EQ(salvata.at(QStringLiteral("oTIPOSOG")).toText(), scelto.left(2));
    concordano(kZeta, QLatin1String(kZeta.nome));
}

// A click on the blank part of the list below its rows, a click with Ctrl on the chosen row and Ctrl+Space choose
// nothing: the subject on screen stays the list's chosen and highlighted row, its changes kept and nothing asked.
TEST_F(SceltaRiga, NoClickOrKeyTakesTheHighlightOffTheSubject)
{
    for (const bool ritocca : {false, true}) {
        SCOPED_TRACE(ritocca ? "with changes" : "without changes");
        riapri(kAlfa2, ritocca);
        const QString nome = ritocca ? kRitoccato : QLatin1String(kAlfa2.nome);
        QTableView* griglia = form->IGOpe;
        const int ultima = griglia->model()->rowCount() - 1;
        const QPoint vuoto(10, griglia->rowViewportPosition(ultima) + griglia->rowHeight(ultima) + 5);
        ASSERT_LT(vuoto.y(), griglia->viewport()->height());
        QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, vuoto);
        QApplication::processEvents();
        concordano(kAlfa2, nome);

        const QRect cella = griglia->visualRect(griglia->model()->index(rigaDi(kAlfa2), 2));
        QTest::mouseClick(griglia->viewport(), Qt::LeftButton, Qt::ControlModifier, cella.center());
        QApplication::processEvents();
        concordano(kAlfa2, nome);

        griglia->setFocus(Qt::TabFocusReason);
        QTest::keyClick(griglia, Qt::Key_Space, Qt::ControlModifier);
        QApplication::processEvents();
        concordano(kAlfa2, nome);

        EXPECT_EQ(form->modificato(), ritocca);
        EXPECT_EQ(scripted.messageTexts().filter(QStringLiteral("modificato")).size(), 0);
    }
}
