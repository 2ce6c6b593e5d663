// The program on a screen smaller than the register form's design: the window fits the screen and the
// form scrolls, so that every button can be reached.

#include "RegistroProva.h"

#include "register/CreaRegistro.h"
#include "shell/F0.h"
#include "shell/F0INI.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryFile>
#include <QTest>

namespace ondavia::test {

// A laptop's screen, 1366 by 768, for the process that runs this test.
class Schermo : public RegistroProva {
protected:
    static void SetUpTestSuite()
    {
        if (!qApp) {
            static QTemporaryFile configurazione;
            if (configurazione.open()) {
                configurazione.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768,
                                         "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
                configurazione.flush();
                qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + configurazione.fileName().toLocal8Bit());
            }
        }
        RegistroProva::SetUpTestSuite();
    }
};

TEST_F(Schermo, OnASmallScreenTheWindowFitsAndTheFormScrolls)
{
    const QRect disponibile = QGuiApplication::primaryScreen()->availableGeometry();
    F0 finestra(creaRegistro);
    finestra.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&finestra));
    QTest::mouseClick(finestra.benvenuto()->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    auto* registro = dynamic_cast<F1OP*>(finestra.registro());
    ASSERT_NE(registro, nullptr);
    QCoreApplication::processEvents();

    // Lower than the window's design, as on a laptop.
    ASSERT_LT(disponibile.height(), 820) << "the test screen is expected to be small";
    EXPECT_TRUE(disponibile.contains(finestra.frameGeometry()))
        << finestra.frameGeometry().width() << "x" << finestra.frameGeometry().height();

    // Made smaller by the operator, the register window stands whole in the work area and scrolls, and each
    // tab's buttons can be scrolled into view.
    finestra.showNormal();
    finestra.resize(640, 360);
    QCoreApplication::processEvents();
    const QMdiSubWindow* figlia = finestra.areaLavoro()->currentSubWindow();
    ASSERT_NE(figlia, nullptr);
    const QRect area = finestra.areaLavoro()->viewport()->rect();
    EXPECT_LE(figlia->height(), area.height()) << "the register is not cropped by the work area";
    EXPECT_LE(figlia->width(), area.width());
    auto* scorrimento = registro->findChild<QScrollArea*>(QStringLiteral("scorrimento"));
    ASSERT_NE(scorrimento, nullptr);
    EXPECT_TRUE(scorrimento->verticalScrollBar()->isVisible());
    for (int scheda = 0; scheda < registro->SSTab1->count(); ++scheda) {
        registro->SSTab1->setCurrentIndex(scheda);
        QCoreApplication::processEvents();
        for (QPushButton* pulsante : registro->SSTab1->currentWidget()->findChildren<QPushButton*>()) {
            SCOPED_TRACE(pulsante->objectName().toStdString());
            scorrimento->ensureWidgetVisible(pulsante, 0, 0);
            const QRect dove(pulsante->mapTo(scorrimento->viewport(), QPoint(0, 0)), pulsante->size());
            EXPECT_TRUE(scorrimento->viewport()->rect().contains(dove));
            EXPECT_TRUE(figlia->rect().contains(QRect(pulsante->mapTo(figlia, QPoint(0, 0)), pulsante->size())));
        }
    }

    // A field the validation shows is scrolled into view.
    registro->Aggiungi();
    registro->CBrap->setCurrentIndex(0);
    registro->SSTab1->setCurrentIndex(0);
    scorrimento->verticalScrollBar()->setValue(scorrimento->verticalScrollBar()->maximum());
    const QRect codice(registro->topiva->mapTo(scorrimento->viewport(), QPoint(0, 0)), registro->topiva->size());
    ASSERT_FALSE(scorrimento->viewport()->rect().contains(codice)) << "scrolled away from the code box";
    registro->Conferma();
    ASSERT_EQ(messaggio().trimmed(), QStringLiteral("Codice Fiscale non indicato."));
    const QRect mostrato(registro->topiva->mapTo(scorrimento->viewport(), QPoint(0, 0)), registro->topiva->size());
    EXPECT_TRUE(scorrimento->viewport()->rect().contains(mostrato));
}

} // namespace ondavia::test
