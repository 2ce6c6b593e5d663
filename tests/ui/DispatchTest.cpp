#include "ShellFixture.h"

#include <QAbstractButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>

using namespace ondavia;
using namespace ondavia::test;

namespace {

const QString Intestazione = QStringLiteral("ERR COMMANDBARS EXECUTE: ");

const QString PaginaRei = QStringLiteral("/wps/content/nsilib/nsi/schede/comunicazioni/"
                                         "registro+elettronico+degli+indirizzi+%28rei%29/scheda+info+rei"
                                         "?page=operatorientipa");

} // namespace

TEST_F(ShellTest, RegisterCommandsRunFromBothBarsAndOnlyWhileTheRegisterIsActive)
{
    auto finestra = finestraAperta();
    QToolBar* base = finestra->barraBase();
    for (const auto& [id, caption] : std::vector<std::pair<int, QString>>{{701, "Aggiungi"},
                                                                          {702, "Elimina"},
                                                                          {718, "Copia"},
                                                                          {700, "Conferma"},
                                                                          {704, "Stampa"},
                                                                          {821, "Crea Comunicazione"}}) {
        auto* pulsante = qobject_cast<QAbstractButton*>(base->widgetForAction(comando(base, id, caption)));
        ASSERT_NE(pulsante, nullptr);
        pulsante->click();
    }
    const QMenu* funzioni = popup(*finestra, "Funzioni");
    for (const auto& [id, caption] : std::vector<std::pair<int, QString>>{
             {700, "Registra"}, {701, "Aggiungi"}, {702, "Elimina"}, {704, "Stampa "}, {821, "Crea Comunicazione"}}) {
        comando(funzioni, id, caption)->trigger();
    }
    EXPECT_EQ(chiamate, (QStringList{"Aggiungi", "Elimina", "Copia", "Conferma", "STAMPA", "CreaComunicazione",
                                     "Conferma", "Aggiungi", "Elimina", "STAMPA", "CreaComunicazione"}));
    EXPECT_TRUE(desktop.messages.empty());

    // A failure inside a command is reported plainly and the program goes on.
    chiamate.clear();
    guasti = {{"STAMPA", Guasto::Errore}, {"Copia", Guasto::Eccezione}, {"Conferma", Guasto::Ignoto}};
    finestra->CommandBars_Execute(ComandoStampa, "Stampa");
    finestra->CommandBars_Execute(ComandoCopia, "Copia");
    finestra->CommandBars_Execute(ComandoRegistra, "Conferma");
    finestra->CommandBars_Execute(ComandoAggiungi, "Aggiungi");
    EXPECT_EQ(desktop.messageTexts(),
              (QStringList{Intestazione + "STAMPA: riga non trovata", Intestazione + "disco pieno",
                           Intestazione + "errore non previsto"}));
    EXPECT_EQ(chiamate, QStringList{"Aggiungi"});

    // Delete runs only while the register is the active form.
    chiamate.clear();
    desktop.messages.clear();
    auto* altra = new QWidget;
    altra->setObjectName("FAltra");
    QMdiSubWindow* finestraAltra = finestra->areaLavoro()->addSubWindow(altra);
    finestraAltra->show();
    finestra->areaLavoro()->setActiveSubWindow(finestraAltra);

    finestra->CommandBars_Execute(ComandoElimina, "Elimina");
    EXPECT_EQ(FormAttiva, "FAltra");
    EXPECT_TRUE(chiamate.isEmpty());

    // Every command names the active form and trims the current code first, even one that does nothing.
    finestra->areaLavoro()->setActiveSubWindow(finestra->areaLavoro()->subWindowList().first());
    CodiceCorrente = QStringLiteral("  RSSMRA80A01H501U  ");
    finestra->CommandBars_Execute(9999, "nessuno");
    EXPECT_EQ(CodiceCorrente, "RSSMRA80A01H501U");
    EXPECT_EQ(FormAttiva, "F1OP");
    finestra->CommandBars_Execute(ComandoElimina, "Elimina");
    EXPECT_EQ(chiamate, QStringList{"Elimina"});
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ShellTest, WithNoChildWindowTheFailureIsShownAndTheCommandStillRuns)
{
    auto finestra = creaFinestra();
    FormAttiva = QStringLiteral("F1OP");
    finestra->CommandBars_Execute(ComandoElimina, "Elimina");
    EXPECT_EQ(desktop.messageTexts(), QStringList{Intestazione + "nessuna finestra aperta nell'area di lavoro"});
    EXPECT_EQ(FormAttiva, "F1OP");
    // The register is made and shown for the command, as it would be for any command that needs it.
    EXPECT_EQ(chiamate, QStringList{"Elimina"});
    EXPECT_EQ(finestra->areaLavoro()->subWindowList().size(), 1);

    // Closing the register's window only hides it; the next command shows the same register again.
    finestra->areaLavoro()->subWindowList().first()->close();
    desktop.messages.clear();
    finestra->CommandBars_Execute(ComandoAggiungi, "Aggiungi");
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(chiamate, (QStringList{"Elimina", "Aggiungi"}));
    EXPECT_EQ(registriCreati, 1);
    EXPECT_FALSE(finestra->areaLavoro()->subWindowList().first()->isHidden());
}

// The help menu's entries: each document opens from the help folder and a missing one is named; the
// agency's page opens on the configured host or on the public site.
TEST_F(ShellTest, TheHelpMenuOpensItsDocumentsAndTheAgencyPage)
{
    auto finestra = finestraAperta();
    const QMenu* aiuto = popup(*finestra, "Aiuto");
    const std::vector<std::pair<QAction*, QString>> documenti{
        {comando(aiuto, 706, "Modalità di compilazione"), "02_Allegato+2+-Modalità+di+compilazione+e+trasmissione.pdf"},
        {comando(aiuto, 7061, "Controllo con Entratel/Fisconline"), "ONDAVIA_CONTROLLOFILE.pdf"},
        {comando(aiuto, 7062, "Agenzia Entrate - Provvedimento"), "Provv_PEC_10052017.pdf"},
        {comando(aiuto, 7062, "Guida REI Completa (pdf)"), "guida REI COMPLETA.pdf"},
    };
    documenti[0].first->trigger();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.contains(QDir::toNativeSeparators(home.file("Help/" + documenti[0].second))));
    EXPECT_TRUE(desktop.opened.empty());

    desktop.messages.clear();
    for (const auto& [azione, documento] : documenti) {
        SCOPED_TRACE(documento.toStdString());
        home.write("Help/" + documento, "%PDF-1.4\n");
        desktop.opened.clear();
        azione->trigger();
        EXPECT_EQ(desktop.opened, std::vector<QString>{QDir::toNativeSeparators(home.file("Help/" + documento))});
    }

    desktop.opened.clear();
    QAction* pagina = comando(aiuto, 7062, "Agenzia Entrate - Pagina REI");
    pagina->trigger();
    scriviIni("Host_Agenzia = portale.agenzia.test/\n");
    pagina->trigger();
    // A caption that is not one of the three opens nothing.
    finestra->CommandBars_Execute(ComandoPagineAgenzia, "Agenzia Entrate");
    EXPECT_EQ(desktop.opened, (std::vector<QString>{"https://www.agenziaentrate.gov.it" + PaginaRei,
                                                    "https://portale.agenzia.test" + PaginaRei}));
    EXPECT_TRUE(desktop.messages.empty());

    desktop.openSucceeds = false;
    documenti[1].first->trigger();
    pagina->trigger();
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_TRUE(desktop.messages[0].text.startsWith("Impossibile aprire il documento"));
    EXPECT_TRUE(desktop.messages[1].text.contains("https://portale.agenzia.test" + PaginaRei));
}

// The window's close button and Alt+F4 ask like the close command, so that a click loses nothing typed.
TEST_F(ShellTest, TheCloseCommandAndTheWindowsCloseButtonAskAndEndOnlyOnYes)
{
    auto finestra = finestraAperta();
    QAction* esci = comando(popup(*finestra, "Funzioni"), 708, "Esci dal Programma");
    desktop.answers = {MsgResult::No, MsgResult::No, MsgResult::Yes};
    esci->trigger();
    EXPECT_FALSE(finestra->close());
    EXPECT_TRUE(finestra->isVisible());
    EXPECT_EQ(uscite, 0);
    ASSERT_EQ(desktop.messages.size(), 2u);
    for (const MessageRequest& domanda : desktop.messages) {
        EXPECT_EQ(domanda.text, "Vuoi chiudere il programma?");
        EXPECT_EQ(domanda.buttons, MsgButtons::YesNo);
    }

    // Once Yes is said the program ends, with no second question from the window's own close.
    esci->trigger();
    EXPECT_EQ(uscite, 1);
    EXPECT_TRUE(finestra->close());
    EXPECT_EQ(uscite, 1);
    EXPECT_EQ(desktop.messages.size(), 3u);
    EXPECT_TRUE(chiamate.isEmpty());
}
