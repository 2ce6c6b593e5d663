// The date picker FCale: what it shows, how it moves between months and years, what it hands back.

#include "ui/FCale.h"
#include "app/Dichiarazioni.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

using namespace ondavia;

namespace {

class FCaleTest : public ::testing::Test {
protected:
    void TearDown() override { resetDichiarazioni(); }

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

// Monday first: the 1st in the column of its weekday; the arrows move a month, the bar a year.
TEST_F(FCaleTest, MesiEAnniAvantiEIndietro)
{
    auto cale = apri(QStringLiteral("31/01/2021"));
    EXPECT_EQ(cale->lblMESE->text(), QStringLiteral("Gennaio"));
    // 1 January 2021 was a Friday: cell 4; the 31st, the day opened on, in cell 34.
    const QStringList celle = giorni(*cale);
    EXPECT_EQ(celle.mid(3, 2), (QStringList{"", "1"}));
    EXPECT_EQ(celle.mid(34, 2), (QStringList{"31", ""}));
    EXPECT_EQ(cale->indiceScelto(), 34);

    // February 2021 begins on a Monday and has 28 days.
    clic(cale->Command3);
    EXPECT_EQ(cale->lblMESE->text(), QStringLiteral("Febbraio"));
    EXPECT_EQ(giorni(*cale).mid(0, 1) + giorni(*cale).mid(27, 2), (QStringList{"1", "28", ""}));
    clic(cale->Command2);
    clic(cale->Command2);
    EXPECT_EQ(std::pair(cale->meseMostrato(), cale->anno()), std::pair(12, 2020));

    // The bar runs from 2500 at its top to 1500 at its bottom: its up arrow raises the year.
    cale->VScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(cale->lblANNO->text(), QStringLiteral("2021"));
    // The month list chooses the month and hides; there is no month before January 1500.
    cale->VScroll1->triggerAction(QAbstractSlider::SliderToMaximum);
    clic(cale->cmdMESI);
    ASSERT_TRUE(cale->lstMESI->isVisible());
    QTest::mouseClick(cale->lstMESI->viewport(), Qt::LeftButton, {},
                      cale->lstMESI->visualItemRect(cale->lstMESI->item(0)).center());
    EXPECT_FALSE(cale->lstMESI->isVisible());
    clic(cale->Command2);
    EXPECT_EQ(std::pair(cale->meseMostrato(), cale->anno()), std::pair(1, 1500));

    // A click on the year brings this year back.
    clic(cale->lblANNO);
    EXPECT_EQ(cale->anno(), QDate::currentDate().year());
}

// A text the form would not take as a date, or a year the bar cannot show, opens on today; a date the
// form takes in another shape opens on that date.
TEST_F(FCaleTest, UnTestoCheNonEUnaDataApreSuOggi)
{
    const QDate oggi = QDate::currentDate();
    for (const char* testo : {"ABC", "01/01/1499", "01/01/2501"}) {
        auto cale = apri(QLatin1String(testo));
        EXPECT_EQ(std::pair(cale->meseMostrato(), cale->anno()), std::pair(oggi.month(), oggi.year())) << testo;
        EXPECT_EQ(cale->G[cale->indiceScelto()]->text(), QString::number(oggi.day())) << testo;
    }
    auto cale = apri(QStringLiteral("05.03.21"));
    EXPECT_EQ(std::pair(cale->meseMostrato(), cale->anno()), std::pair(3, 2021));
    EXPECT_EQ(apri(QStringLiteral("01/01/1500"))->anno(), 1500);
}

TEST_F(FCaleTest, CioChePassaInDataCalendario)
{
    // Enter with no day clicked: nothing chosen.
    auto cale = apri(QString());
    tasto(*cale, Qt::Key_Return);
    EXPECT_FALSE(cale->isVisible());
    EXPECT_EQ(DataCalendario, QString());

    // A click shows the day under the calendar; Enter after showing another month still chooses it.
    cale = apri(QStringLiteral("10/03/2021"));
    clic(cale->G[11]);
    EXPECT_EQ(cale->MyDate->text(), QStringLiteral("12/03/2021"));
    clic(cale->Command3);
    clic(cale->Command3);
    tasto(*cale, Qt::Key_Enter);
    EXPECT_EQ(DataCalendario, QStringLiteral("12/03/2021"));

    // August 2021 begins on a Sunday: its 31st is the last cell. An empty cell does nothing; Space as Enter.
    cale = apri(QStringLiteral("10/08/2021"));
    clic(cale->G[36]);
    clic(cale->G[0]);
    EXPECT_EQ(cale->MyDate->text(), QStringLiteral("31/08/2021"));
    tasto(*cale, Qt::Key_Space);
    EXPECT_EQ(DataCalendario, QStringLiteral("31/08/2021"));

    // Releasing the form empties the exchange.
    cale.reset();
    EXPECT_EQ(DataCalendario, QString());
}
