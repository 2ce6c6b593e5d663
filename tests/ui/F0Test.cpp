#include "ShellFixture.h"

#include "shell/F0INI.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

using namespace ondavia;
using namespace ondavia::test;

namespace {

struct Voce {
    int id;
    QString caption;
    bool gruppo;
    int stile = StileAutomatico;
    QString suggerimento = {};
};

// The bars as the users know them; captions are compared exactly, blanks included.
const std::vector<Voce> Funzioni{
    {721, "Salva Dati (Backup)", true}, {722, "Ripristina Dati", false},   {700, "Registra", true},
    {701, "Aggiungi", false},           {702, "Elimina", false},           {704, "Stampa ", true},
    {821, "Crea Comunicazione", true},  {708, "Esci dal Programma", true},
};
const std::vector<Voce> Aiuto{
    {7062, "Agenzia Entrate - Provvedimento", false},   {7062, "Agenzia Entrate - Pagina REI", false},
    {706, "Modalità di compilazione", false},           {7061, "Controllo con Entratel/Fisconline", false},
    {7062, "Guida REI Completa (pdf)", false},          {713, "Richiesta Assistenza", false},
    {712, "Versione", false},                           {726, "Controllo Aggiornamenti su Sito", false},
    {727, "Assistenza Remota", false},
};
const std::vector<Voce> Base{
    {701, "Aggiungi", true, 3, " Aggiungi i dati di un nuovo soggetto "},
    {702, "Elimina", true, 3, " Elimina i dati del soggetto selezionato "},
    {718, "Copia", true, 3, " Copia i dati del soggetto "},
    {700, "Conferma", true, 3, " Conferma i dati in elaborazione "},
    {721, "Salva", true, 3, "Crea Salvataggio Archivi (Backup)"},
    {722, "Ripristina", true, 3, "Ripristina Salvataggio"},
    {704, "Stampa", true, 3, " Stampa i dati per tutte le comunicazioni selezionate "},
    {706, "Istruzioni", true, 3, "Istruzioni di compilazione"},
    {727, "Assistenza Remota", true, 3, "Avvia programma di Assistenza Remota (Team Viewer)"},
    {712, "Versione Programma", false},
    {713, "Richiesta di Assistenza (email)", false},
    {821, "Crea Comunicazione", true, 3, " Crea Comunicazione da controllare con Entratel/Fisconline "},
};

void confronta(const QWidget* barra, const std::vector<Voce>& attese)
{
    SCOPED_TRACE(barra->objectName().toStdString());
    std::size_t n = 0;
    bool separatore = false;
    for (const QAction* azione : barra->actions()) {
        if (azione->isSeparator()) {
            separatore = true;
            continue;
        }
        ASSERT_LT(n, attese.size());
        const Voce& voce = attese[n];
        SCOPED_TRACE(voce.caption.toStdString());
        EXPECT_EQ(azione->data().toInt(), voce.id);
        EXPECT_EQ(azione->text(), voce.caption);
        EXPECT_EQ(separatore, voce.gruppo && n > 0);
        EXPECT_FALSE(azione->icon().isNull());
        if (!voce.suggerimento.isEmpty()) {
            EXPECT_EQ(azione->toolTip(), voce.suggerimento);
        }
        if (const auto* toolbar = qobject_cast<const QToolBar*>(barra)) {
            const auto* pulsante =
                qobject_cast<const QToolButton*>(toolbar->widgetForAction(const_cast<QAction*>(azione)));
            ASSERT_NE(pulsante, nullptr);
            EXPECT_EQ(pulsante->toolButtonStyle(),
                      voce.stile == 3 ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
        }
        separatore = false;
        ++n;
    }
    EXPECT_EQ(n, attese.size());
}

} // namespace

TEST_F(ShellTest, OnlyTheSplashShowsUntilEntraOpensTheBarsAndTheRegister)
{
    auto finestra = creaFinestra();
    finestra->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(finestra->windowTitle(), "Ondavia - Registro Elettronico Indirizzi Release 1.99 - 07 Dicembre 2020");
    EXPECT_FALSE(finestra->menuBar()->isVisible());
    EXPECT_FALSE(finestra->barraBase()->isVisible());
    F0INI* benvenuto = finestra->benvenuto();
    ASSERT_TRUE(benvenuto->isVisible());
    EXPECT_EQ(benvenuto->findChild<QLabel*>("Versione")->text(), "Versione 1.0 - Monoutente");
    EXPECT_EQ(benvenuto->findChild<QLabel*>("Nrel")->text(), Release);
    EXPECT_EQ(registriCreati, 0);

    auto* entra = benvenuto->findChild<QPushButton*>("Command1");
    ASSERT_EQ(entra->text(), "ENTRA");
    QTest::mouseClick(entra, Qt::LeftButton);

    EXPECT_TRUE(finestra->menuBar()->isVisible());
    EXPECT_TRUE(finestra->barraBase()->isVisible());
    EXPECT_FALSE(benvenuto->isVisible());
    ASSERT_EQ(registriCreati, 1);
    ASSERT_NE(finestra->registro(), nullptr);
    const QMdiSubWindow* figlia = finestra->areaLavoro()->currentSubWindow();
    ASSERT_NE(figlia, nullptr);
    EXPECT_EQ(figlia->widget(), finestra->registro()->form());
    // The register stays open for the whole run: its window offers no way to close it.
    EXPECT_FALSE(figlia->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ShellTest, ARegisterThatCannotBeOpenedIsReportedAndTheProgramGoesOn)
{
    registroGuasto = true;
    auto finestra = creaFinestra();
    finestra->show();
    finestra->benvenuto()->findChild<QPushButton*>("Command1")->click();
    EXPECT_TRUE(finestra->menuBar()->isVisible());
    finestra->CommandBars_Execute(ComandoRegistra, "Registra");
    EXPECT_EQ(desktop.messageTexts(),
              (QStringList{"Impossibile aprire il registro dei soggetti: archivio non leggibile",
                           "ERR COMMANDBARS EXECUTE: nessuna finestra aperta nell'area di lavoro",
                           "ERR COMMANDBARS EXECUTE: archivio non leggibile"}));
    EXPECT_TRUE(finestra->isVisible());
}

TEST_F(ShellTest, TheBarsCarryEveryCommandWithItsIdCaptionGroupStyleIconAndTip)
{
    auto finestra = creaFinestra();
    const QList<QAction*> titoli = finestra->menuBar()->actions();
    ASSERT_EQ(titoli.size(), 2);
    EXPECT_EQ(titoli[0]->text(), "Funzioni");
    EXPECT_EQ(titoli[1]->text(), "Aiuto");
    confronta(popup(*finestra, "Funzioni"), Funzioni);
    confronta(popup(*finestra, "Aiuto"), Aiuto);
    confronta(finestra->barraBase(), Base);
    EXPECT_EQ(finestra->barraBase()->iconSize(), QSize(24, 24));
}

TEST_F(ShellTest, TheSizingRoutineTakesAShareOfTheScreenWidthAndKeepsTheProportions)
{
    int larghezza = 0;
    int altezza = 0;
    ASSERT_TRUE(RisoluzioneSchermo(larghezza, altezza));
    auto finestra = creaFinestra();
    const QSize iniziale(1000, 500);

    const auto prova = [&](const QByteArray& ini, const QSize& attesa) {
        SCOPED_TRACE(ini.toStdString());
        scriviIni(ini);
        finestra->resize(iniziale);
        ASSERT_EQ(finestra->size(), iniziale);
        finestra->DimensionaFinestra();
        EXPECT_EQ(finestra->size(), attesa);
    };
    const int ottanta = static_cast<int>(std::nearbyint(larghezza * 0.8));
    prova("", QSize(ottanta, static_cast<int>(std::nearbyint(ottanta * 0.5))));
    const int meta = static_cast<int>(std::nearbyint(larghezza * 0.5));
    prova("App_PercLarghezza=50 per cento\n", QSize(meta, static_cast<int>(std::nearbyint(meta * 0.5))));
    prova("App_PercLarghezza=0\n", iniziale);
    prova("App_PercLarghezza=150\n", iniziale);
    prova("App_PercLarghezza=metà\n", iniziale);
    prova("App_DimAuto=off\nApp_PercLarghezza=50\n", iniziale);
}
