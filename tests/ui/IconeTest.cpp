// The command icons, drawn when they are first shown: at the size and density asked, each its own
// picture, greyed by the style when disabled, and on every command of the bars. The window icon, drawn
// when first asked for, as the picture it always was.
#include "ShellFixture.h"

#include "shell/IconaDifferita.h"
#include "shell/ImmaginiComandi.h"
#include "shell/ImmaginiOndavia.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QStyle>
#include <QStyleOption>
#include <QToolBar>

using namespace ondavia;
using namespace ondavia::test;

namespace {

const QList<int> IdComandi{700, 701, 702, 704, 706, 708, 712, 713, 718, 721, 722, 726, 727, 821, 7061, 7062};

bool disegnata(const QPixmap& immagine)
{
    const QImage pixel = immagine.toImage();
    for (int y = 0; y < pixel.height(); ++y) {
        for (int x = 0; x < pixel.width(); ++x) {
            if (qAlpha(pixel.pixel(x, y)) != 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST(IconeComandi, EachIconIsDrawnAtTheSideAndDensityAsked)
{
    const ImmaginiComandi immagini;
    for (const int id : IdComandi) {
        SCOPED_TRACE(id);
        QIcon icona = immagini.icona(id);
        ASSERT_FALSE(icona.isNull());
        for (const int lato : {16, 24, 32, 48}) {
            const QPixmap immagine = icona.pixmap(QSize(lato, lato));
            EXPECT_EQ(immagine.size(), QSize(lato, lato));
            EXPECT_TRUE(disegnata(immagine));
        }
        // A request that is not square gets the largest square that fits.
        EXPECT_EQ(icona.pixmap(QSize(24, 16)).size(), QSize(16, 16));
        EXPECT_EQ(icona.actualSize(QSize(40, 30)), QSize(30, 30));
        // A high-density screen gets the picture drawn at its own pixels, not one scaled up.
        const QPixmap doppia = icona.pixmap(QSize(24, 24), 2.0);
        EXPECT_EQ(doppia.size(), QSize(48, 48));
        EXPECT_EQ(doppia.devicePixelRatio(), 2.0);
        EXPECT_EQ(doppia.toImage(), icona.pixmap(QSize(48, 48)).toImage());
        // What was drawn once is kept, and sides asked in between do not change it.
        const QPixmap prima = icona.pixmap(QSize(24, 24));
        icona.pixmap(QSize(16, 16));
        EXPECT_EQ(icona.pixmap(QSize(24, 24)).cacheKey(), prima.cacheKey());
    }
    EXPECT_TRUE(immagini.icona(999).isNull());
}

TEST(IconeComandi, EveryCommandHasAPictureOfItsOwn)
{
    const ImmaginiComandi immagini;
    QList<QImage> viste;
    for (const int id : IdComandi) {
        const QImage immagine = immagini.icona(id).pixmap(QSize(24, 24)).toImage();
        EXPECT_FALSE(viste.contains(immagine)) << id;
        viste << immagine;
    }
}

TEST(IconeComandi, ADisabledCommandShowsTheStylesGreyedPicture)
{
    const QIcon icona = ImmaginiComandi().icona(721);
    const QPixmap normale = icona.pixmap(QSize(24, 24));
    const QPixmap spenta = icona.pixmap(QSize(24, 24), QIcon::Disabled);
    QStyleOption opzioni(0);
    opzioni.palette = QGuiApplication::palette();
    const QPixmap attesa = QApplication::style()->generatedIconPixmap(QIcon::Disabled, normale, &opzioni);
    EXPECT_NE(spenta.toImage(), normale.toImage());
    EXPECT_EQ(spenta.toImage(), attesa.toImage());
}

TEST_F(ShellTest, EveryCommandOfTheMenusAndTheToolbarCarriesItsIcon)
{
    auto finestra = creaFinestra();
    const ImmaginiComandi immagini;
    int comandi = 0;
    for (QAction* azione : finestra->findChildren<QAction*>()) {
        const int id = azione->data().toInt();
        if (id == 0 || azione->menu()) {
            continue;
        }
        ++comandi;
        SCOPED_TRACE(azione->text().toStdString());
        EXPECT_EQ(azione->icon().pixmap(QSize(24, 24)).toImage(), immagini.icona(id).pixmap(QSize(24, 24)).toImage());
    }
    EXPECT_EQ(comandi, 29);
    // The toolbar paints them through the icons themselves.
    finestra->mostraBarre(true);
    finestra->show();
    EXPECT_TRUE(disegnata(finestra->barraBase()->grab()));
}

TEST(IconaOndavia, IsDrawnAtTheFirstRequestAndShowsTheEmblemAsItAlwaysDid)
{
    int disegni = 0;
    QIcon icona(new IconaDifferita(
        [&disegni] {
            ++disegni;
            return logoOndavia(64);
        },
        {QSize(64, 64)}));
    EXPECT_FALSE(icona.isNull());
    EXPECT_EQ(icona.availableSizes(), QList<QSize>{QSize(64, 64)});
    EXPECT_EQ(disegni, 0);

    const QIcon fissa(logoOndavia(64));
    for (const int lato : {16, 24, 64, 96}) {
        SCOPED_TRACE(lato);
        EXPECT_EQ(icona.actualSize(QSize(lato, lato)), fissa.actualSize(QSize(lato, lato)));
        EXPECT_EQ(icona.pixmap(QSize(lato, lato)).toImage(), fissa.pixmap(QSize(lato, lato)).toImage());
    }
    const QPixmap doppia = icona.pixmap(QSize(24, 24), 2.0);
    EXPECT_EQ(doppia.toImage(), fissa.pixmap(QSize(24, 24), 2.0).toImage());
    EXPECT_EQ(doppia.devicePixelRatio(), 2.0);
    EXPECT_EQ(icona.pixmap(QSize(24, 24), QIcon::Disabled).toImage(),
              fissa.pixmap(QSize(24, 24), QIcon::Disabled).toImage());
    EXPECT_EQ(disegni, 1);

    EXPECT_EQ(iconaOndavia().pixmap(QSize(64, 64)).toImage(), fissa.pixmap(QSize(64, 64)).toImage());
}
