#include "ShellFixture.h"

#include "shell/F0INI.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <cmath>

using namespace ondavia;
using namespace ondavia::test;

TEST_F(ShellTest, OnlyTheSplashShowsUntilEntraOpensTheBarsAndTheRegister)
{
    auto finestra = creaFinestra();
    finestra->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(finestra->menuBar()->isVisible());
    EXPECT_FALSE(finestra->barraBase()->isVisible());
    F0INI* benvenuto = finestra->benvenuto();
    ASSERT_TRUE(benvenuto->isVisible());
    EXPECT_EQ(registriCreati, 0);

    QTest::mouseClick(benvenuto->findChild<QPushButton*>("Command1"), Qt::LeftButton);

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
    prova("App_PercLarghezza=150\n", iniziale);
    prova("App_DimAuto=off\nApp_PercLarghezza=50\n", iniziale);
}
