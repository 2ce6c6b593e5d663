#include "app/Dates.h"
#include "app/Dichiarazioni.h"

#include <gtest/gtest.h>

using namespace ondavia;

namespace {

struct CasoData {
    const char* testo;
    int esito;
    const char* formattata; // DataFormattata afterwards
    const char* riscritto;  // the argument afterwards
};

void PrintTo(const CasoData& caso, std::ostream* os)
{
    *os << '"' << caso.testo << '"';
}

class ValidaDataTest : public ::testing::TestWithParam<CasoData> {
protected:
    void TearDown() override { ResetDichiarazioni(); }
};

} // namespace

TEST_P(ValidaDataTest, EsitoDataFormattataEArgomento)
{
    const CasoData& caso = GetParam();
    DataFormattata = QStringLiteral("resto di prima");
    QString valore = QString::fromUtf8(caso.testo);
    EXPECT_EQ(ValidaData(valore), caso.esito);
    EXPECT_EQ(DataFormattata, QString::fromUtf8(caso.formattata));
    EXPECT_EQ(valore, QString::fromUtf8(caso.riscritto));
}

INSTANTIATE_TEST_SUITE_P(
    Forme, ValidaDataTest,
    ::testing::Values(
        // Empty forms
        CasoData{"", 0, "", ""}, CasoData{"0.00.00", 0, "", "0.00.00"}, CasoData{"00:00:00", 0, "", "00:00:00"},
        // Accepted shapes
        CasoData{"050321", 2, "05/03/2021", "050321  "}, CasoData{"05.03.21", 2, "05/03/2021", "050321  "},
        CasoData{"05/03/21", 2, "05/03/2021", "050321  "}, CasoData{"05-03-1998", 2, "05/03/1998", "05031998"},
        CasoData{"05032021", 2, "05/03/2021", "05032021"}, CasoData{"05/03/2021", 2, "05/03/2021", "05032021"},
        CasoData{"05 03 2021", 2, "05/03/2021", "05032021"}, CasoData{"31/12/1999", 2, "31/12/1999", "31121999"},
        CasoData{"a05b03c21", 2, "05/03/2021", "050321  "},
        // The blank year of a date typed without one
        CasoData{"01/02/", 2, "01/02/20  ", "0102    "},
        // Length
        CasoData{"0503", 1, "", "0503"}, CasoData{"05/03/2021 ", 1, "", "05/03/2021 "},
        // Single-digit day and month are not supported
        CasoData{"5/3/2021", 1, "", "532021  "},
        // A ninth digit
        CasoData{"0503202112", 1, "", "0503202112"},
        // Days and months out of range
        CasoData{"00/01/2020", 1, "", "00012020"}, CasoData{"01/00/2020", 1, "", "01002020"},
        CasoData{"01/13/2020", 1, "", "01132020"}, CasoData{"32/01/2020", 1, "", "32012020"},
        CasoData{"31/04/2020", 1, "", "31042020"}, CasoData{"30/02/2020", 1, "", "30022020"},
        CasoData{"ab/cd/efgh", 1, "", "        "},
        // 29 February: only in leap years, when the year is known
        CasoData{"29/02/2020", 2, "29/02/2020", "29022020"}, CasoData{"29/02/2000", 2, "29/02/2000", "29022000"},
        CasoData{"29/02/2021", 1, "", "29022021"}, CasoData{"29/02/21", 1, "", "290221  "},
        CasoData{"29/02/1900", 1, "", "29021900"}, CasoData{"28/02/2021", 2, "28/02/2021", "28022021"},
        CasoData{"29/02/", 2, "29/02/20  ", "2902    "}));

TEST(ValidaDataCifre, IlSecoloEntraNelTestoDiAppoggio)
{
    QString valore = QStringLiteral("5/3/2021");
    ValidaData(valore);
    EXPECT_EQ(CifreData, QStringLiteral("53202021"));
    ResetDichiarazioni();
}

TEST(GiorniMeseTest, LunghezzeDeiMesi)
{
    const char* attesi[] = {"31", "29", "31", "30", "31", "30", "31", "31", "30", "31", "30", "31"};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(GiorniMese(QString::number(m)), QString::fromLatin1(attesi[m - 1])) << m;
    }
    EXPECT_EQ(GiorniMese(QStringLiteral("02")), QStringLiteral("29"));
    EXPECT_EQ(GiorniMese(QStringLiteral("13")), QStringLiteral("30"));
    EXPECT_EQ(GiorniMese(QStringLiteral("0")), QString());
    EXPECT_EQ(GiorniMese(QStringLiteral("xx")), QString());
}

TEST(GiorniMeseTest, FebbraioSecondoLAnno)
{
    EXPECT_EQ(GiorniMese(QStringLiteral("2"), QStringLiteral("2021")), QStringLiteral("28"));
    EXPECT_EQ(GiorniMese(QStringLiteral("2"), QStringLiteral("2024")), QStringLiteral("29"));
    EXPECT_EQ(GiorniMese(QStringLiteral("02"), QStringLiteral("1900")), QStringLiteral("28"));
    EXPECT_EQ(GiorniMese(QStringLiteral("2"), QStringLiteral("2000")), QStringLiteral("29"));
    EXPECT_EQ(GiorniMese(QStringLiteral("2"), QStringLiteral("20  ")), QStringLiteral("29")) << "year unknown";
    EXPECT_EQ(GiorniMese(QStringLiteral("4"), QStringLiteral("2021")), QStringLiteral("30"));
}

TEST(DataGGMMAAAATest, DallaFormaDelModuloAQuellaDelFile)
{
    EXPECT_EQ(DataGGMMAAAA(QStringLiteral("05/03/2021")), QStringLiteral("05032021"));
    EXPECT_EQ(DataGGMMAAAA(QStringLiteral("31/12/1899")), QStringLiteral("31121899"));
    EXPECT_EQ(DataGGMMAAAA(QString()), QString());
    // The blank year that ValidaData leaves reads as this century's year.
    EXPECT_EQ(DataGGMMAAAA(QStringLiteral("01/02/20  ")), QStringLiteral("01022020"));
    EXPECT_EQ(DataGGMMAAAA(QStringLiteral("31/02/2021")), std::nullopt);
    EXPECT_EQ(DataGGMMAAAA(QStringLiteral("29/02/2021")), std::nullopt);
    EXPECT_EQ(DataGGMMAAAA(QStringLiteral("pippo")), std::nullopt);
}

TEST(OggiTest, TestiDellaDataDiOggi)
{
    EXPECT_EQ(OggiAAAAMMGG(QDate(2021, 1, 9)), QStringLiteral("20210109"));
    EXPECT_EQ(OggiAAAAMMGG(QDate(2020, 12, 31)), QStringLiteral("20201231"));
    EXPECT_EQ(OggiAAAAMMGG().size(), 8);

    InizializzaDate(QDate(2021, 1, 9));
    EXPECT_EQ(OggiTesto, QStringLiteral("09012021"));
    EXPECT_EQ(Oggi, QDate(2021, 1, 9));
    ResetDichiarazioni();
}

TEST(DueCifreTest, RiempieASinistra)
{
    EXPECT_EQ(DueCifre(QStringLiteral("7")), QStringLiteral("07"));
    EXPECT_EQ(DueCifre(QStringLiteral(" 7 ")), QStringLiteral("07"));
    EXPECT_EQ(DueCifre(QStringLiteral("12")), QStringLiteral("12"));
    EXPECT_EQ(DueCifre(QString()), QStringLiteral("00"));
    EXPECT_EQ(DueCifre(QStringLiteral("123")), std::nullopt);
}

TEST(TestoInDataTest, TestiDelBackup)
{
    QString t = QStringLiteral("  05/03/1998 ");
    EXPECT_EQ(TestoInData(t), QDate(1998, 3, 5));
    EXPECT_EQ(t, QStringLiteral("05/03/1998")) << "the argument is trimmed in place";

    const auto leggi = [](const char* testo) {
        QString copia = QString::fromLatin1(testo);
        return TestoInData(copia);
    };
    const QDate zero(1899, 12, 30);
    EXPECT_EQ(leggi("05/03/2021"), QDate(2021, 3, 5));
    EXPECT_EQ(leggi("05/03/21"), QDate(2021, 3, 5));
    EXPECT_EQ(leggi("05/03/45"), QDate(1945, 3, 5));
    EXPECT_EQ(leggi("00:00:00"), zero);
    EXPECT_EQ(leggi("00/00/0000"), zero);
    EXPECT_EQ(leggi(""), zero);
    EXPECT_EQ(leggi("2021-03-05"), zero) << "neither shape";
    EXPECT_EQ(leggi("05/03/1850"), zero) << "a century other than 19 or 20";
    EXPECT_EQ(leggi("31/02/2021"), std::nullopt);
    EXPECT_EQ(leggi("29/02/2021"), std::nullopt);
    EXPECT_EQ(leggi("ab/cd/2021"), std::nullopt);
    EXPECT_EQ(leggi("5/3/2021"), std::nullopt);
}

TEST(InvertiDataTest, NeiDueSensi)
{
    EXPECT_EQ(InvertiData(QStringLiteral("05/03/2021")), QStringLiteral("20210305"));
    EXPECT_EQ(InvertiData(QStringLiteral("20210305")), QStringLiteral("05/03/2021"));
    EXPECT_EQ(InvertiData(QStringLiteral("")), QString());
    EXPECT_EQ(InvertiData(QStringLiteral("   ")), QString());
    EXPECT_EQ(InvertiData(QStringLiteral("00/00/0000")), QString());
}
