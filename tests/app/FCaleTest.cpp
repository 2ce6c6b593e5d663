// The date picker FCale: what it shows, how it moves between months and years, what it hands back.

#include "app/Dichiarazioni.h"
#include "app/widgets/FCale.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

using namespace ondavia;

namespace {

int argc = 1;
char nome[] = "FCaleTest";
char* argv[] = {nome, nullptr};

class FCaleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!qApp) {
            new QApplication(argc, argv);
        }
    }
    void TearDown() override { ResetDichiarazioni(); }

    // A picker opened on `data`, shown.
    std::unique_ptr<FCale> apri(const QString& data)
    {
        DataCalendario = data;
        auto cale = std::make_unique<FCale>();
        cale->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(cale.get()));
        return cale;
    }
    static QStringList giorni(const FCale& cale)
    {
        QStringList testi;
        for (const QLabel* cella : cale.G) {
            testi << cella->text();
        }
        return testi;
    }
    static void tasto(FCale& cale, Qt::Key k) { QTest::keyClick(cale.pctCAL, k); }
    static void clic(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
};

} // namespace

TEST_F(FCaleTest, ApertoSuUnaDataNeMostraIlMese)
{
    auto cale = apri(QStringLiteral("31/01/2021"));
    EXPECT_EQ(cale->windowTitle(), QStringLiteral("Seleziona una data"));
    EXPECT_EQ(cale->nomiMesi(), (QStringList{"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio",
                                             "Agosto", "Settembre", "Ottobre", "Novembre", "Dicembre"}));
    EXPECT_FALSE(cale->lstMESI->isVisible());
    EXPECT_EQ(cale->lblMESE->text(), QStringLiteral("Gennaio"));
    EXPECT_EQ(cale->lblANNO->text(), QStringLiteral("2021"));
    EXPECT_EQ(cale->MyDate->text(), QString());
    QStringList teste;
    for (const QLabel* t : cale->GL) {
        teste << t->text();
    }
    EXPECT_EQ(teste, (QStringList{"L", "M", "M", "G", "V", "S", "D"}));
    // 1 January 2021 was a Friday: cell 4; the 31st in cell 34, marked.
    const QStringList celle = giorni(*cale);
    EXPECT_EQ(celle.mid(0, 4), QStringList(4, QString()));
    EXPECT_EQ(celle[4], QStringLiteral("1"));
    EXPECT_EQ(celle[34], QStringLiteral("31"));
    EXPECT_EQ(celle[35], QString());
    EXPECT_TRUE(cale->G[4]->font().bold());
    EXPECT_EQ(cale->G[4]->font().pointSize(), 10);
    EXPECT_EQ(cale->indiceScelto(), 34);
    EXPECT_TRUE(cale->Shape1->isVisible());
    EXPECT_TRUE(cale->Shape1->geometry().contains(cale->G[34]->geometry()));

    // February 2021 begins on a Monday and has 28 days: the frame stays on the 31st's place, now empty.
    clic(cale->Command3);
    EXPECT_EQ(cale->lblMESE->text(), QStringLiteral("Febbraio"));
    EXPECT_EQ(giorni(*cale)[0], QStringLiteral("1"));
    EXPECT_EQ(giorni(*cale)[27], QStringLiteral("28"));
    EXPECT_EQ(cale->indiceScelto(), 30);
    EXPECT_EQ(cale->G[30]->text(), QString());
}

TEST_F(FCaleTest, MesiEAnniAvantiEIndietro)
{
    auto cale = apri(QStringLiteral("10/02/2021"));
    clic(cale->Command2);
    EXPECT_EQ(cale->meseMostrato(), 1);
    EXPECT_EQ(cale->anno(), 2021);
    clic(cale->Command2);
    EXPECT_EQ(cale->meseMostrato(), 12);
    EXPECT_EQ(cale->anno(), 2020);
    EXPECT_EQ(cale->lblANNO->text(), QStringLiteral("2020"));
    clic(cale->Command3);
    EXPECT_EQ(cale->meseMostrato(), 1);
    EXPECT_EQ(cale->anno(), 2021);

    // The bar runs from 2500 at its top to 1500 at its bottom: its up arrow raises the year.
    cale->VScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(cale->anno(), 2022);
    EXPECT_EQ(cale->lblANNO->text(), QStringLiteral("2022"));
    cale->VScroll1->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(cale->anno(), 2500);
    cale->VScroll1->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(cale->anno(), 1500);

    // No month before January 1500, none after December 2500.
    clic(cale->Command2);
    EXPECT_EQ(cale->meseMostrato(), 1);
    EXPECT_EQ(cale->anno(), 1500);
    cale->impostaAnno(2500);
    cale->lstMESI->setCurrentRow(11);
    clic(cale->Command3);
    EXPECT_EQ(cale->meseMostrato(), 12);
    EXPECT_EQ(cale->anno(), 2500);

    // A click on the year brings this year back; the month list chooses the month and hides.
    clic(cale->lblANNO);
    EXPECT_EQ(cale->anno(), QDate::currentDate().year());
    clic(cale->cmdMESI);
    EXPECT_TRUE(cale->lstMESI->isVisible());
    QListWidgetItem* agosto = cale->lstMESI->item(7);
    QTest::mouseClick(cale->lstMESI->viewport(), Qt::LeftButton, {},
                      cale->lstMESI->visualItemRect(agosto).center());
    EXPECT_FALSE(cale->lstMESI->isVisible());
    EXPECT_EQ(cale->lblMESE->text(), QStringLiteral("Agosto"));
    EXPECT_EQ(cale->meseMostrato(), 8);
}

TEST_F(FCaleTest, UnMeseCheIniziaDiDomenica)
{
    auto cale = apri(QStringLiteral("15/08/2021"));
    const QStringList celle = giorni(*cale);
    EXPECT_EQ(celle.mid(0, 6), QStringList(6, QString()));
    EXPECT_EQ(celle[6], QStringLiteral("1"));
    EXPECT_EQ(celle[36], QStringLiteral("31"));
    EXPECT_EQ(cale->G[6]->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_NE(cale->G[0]->cursor().shape(), Qt::PointingHandCursor);
}

// A text the form would not take as a date, or a year the bar cannot show, opens on today; a date the
// form takes in another shape opens on that date.
TEST_F(FCaleTest, UnTestoCheNonEUnaDataApreSuOggi)
{
    const QDate oggi = QDate::currentDate();
    for (const char* testo : {"", "ABC", "31/02/2021", "01/01/1499", "01/01/2501", "5/3/2021"}) {
        SCOPED_TRACE(testo);
        auto cale = apri(QLatin1String(testo));
        EXPECT_EQ(cale->anno(), oggi.year());
        EXPECT_EQ(cale->meseMostrato(), oggi.month());
        EXPECT_EQ(cale->G[cale->indiceScelto()]->text(), QString::number(oggi.day()));
    }
    for (const char* testo : {"050321", "05.03.2021", "05/03/21"}) {
        SCOPED_TRACE(testo);
        auto cale = apri(QLatin1String(testo));
        EXPECT_EQ(cale->anno(), 2021);
        EXPECT_EQ(cale->meseMostrato(), 3);
    }
    auto cale = apri(QStringLiteral("01/01/1500"));
    EXPECT_EQ(cale->anno(), 1500);
}

TEST_F(FCaleTest, CiChePassaInDataCalendario)
{
    // Enter with no day clicked: nothing chosen.
    auto cale = apri(QString());
    tasto(*cale, Qt::Key_Return);
    EXPECT_FALSE(cale->isVisible());
    EXPECT_EQ(DataCalendario, QString());

    // A click shows the day under the calendar; Enter after showing another month still chooses it.
    cale = apri(QStringLiteral("10/03/2021"));
    clic(cale->G[cale->indiceScelto() + 2]);
    EXPECT_EQ(cale->MyDate->text(), QStringLiteral("12/03/2021"));
    EXPECT_EQ(cale->indiceScelto(), 0 + 11) << "March 2021 begins on a Monday";
    clic(cale->Command3);
    clic(cale->Command3);
    EXPECT_EQ(cale->lblMESE->text(), QStringLiteral("Maggio"));
    tasto(*cale, Qt::Key_Enter);
    EXPECT_EQ(DataCalendario, QStringLiteral("12/03/2021"));
    EXPECT_EQ(cale->result(), QDialog::Accepted);

    // Space as Enter; an empty cell does nothing.
    cale = apri(QStringLiteral("10/03/2021"));
    clic(cale->G[36]);
    EXPECT_EQ(cale->MyDate->text(), QString());
    clic(cale->G[0]);
    tasto(*cale, Qt::Key_Space);
    EXPECT_EQ(DataCalendario, QStringLiteral("01/03/2021"));

    // Esc chooses nothing, even after a click.
    cale = apri(QStringLiteral("10/03/2021"));
    clic(cale->G[3]);
    tasto(*cale, Qt::Key_Escape);
    EXPECT_FALSE(cale->isVisible());
    EXPECT_EQ(DataCalendario, QString());

    // A double click chooses its day at once.
    cale = apri(QStringLiteral("10/03/2021"));
    QTest::mouseDClick(cale->G[20], Qt::LeftButton);
    EXPECT_FALSE(cale->isVisible());
    EXPECT_EQ(DataCalendario, QStringLiteral("21/03/2021"));

    // Releasing the form empties the exchange.
    cale.reset();
    EXPECT_EQ(DataCalendario, QString());
}

TEST_F(FCaleTest, LaDataSottoIlCalendarioLoNascondeELoMostra)
{
    auto cale = apri(QStringLiteral("10/03/2021"));
    clic(cale->G[4]);
    clic(cale->MyDate);
    EXPECT_FALSE(cale->pctCAL->isVisible());
    clic(cale->MyDate);
    EXPECT_TRUE(cale->pctCAL->isVisible());
}

// ApriCalendario: the box's date in, the chosen date out; no choice leaves the box alone.
TEST_F(FCaleTest, ApriCalendarioSuUnaCasella)
{
    QWidget form;
    auto* casella = new QLineEdit(&form);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    const auto risposta = [](const std::function<void(FCale&)>& azione) {
        QTimer::singleShot(0, [azione] {
            auto* cale = dynamic_cast<FCale*>(QApplication::activeModalWidget());
            ASSERT_NE(cale, nullptr);
            azione(*cale);
        });
    };
    casella->setText(QStringLiteral("050321"));
    risposta([](FCale& cale) {
        EXPECT_EQ(cale.meseMostrato(), 3);
        QTest::mouseDClick(cale.G[cale.indiceScelto() + 1], Qt::LeftButton);
    });
    ApriCalendario(casella);
    EXPECT_EQ(casella->text(), QStringLiteral("06/03/2021"));
    EXPECT_EQ(DataCalendario, QString());

    risposta([](FCale& cale) { QTest::keyClick(cale.pctCAL, Qt::Key_Escape); });
    ApriCalendario(casella);
    EXPECT_EQ(casella->text(), QStringLiteral("06/03/2021"));

    casella->setText(QStringLiteral("XYZ"));
    risposta([](FCale& cale) { cale.close(); });
    ApriCalendario(casella);
    EXPECT_EQ(casella->text(), QStringLiteral("XYZ"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
