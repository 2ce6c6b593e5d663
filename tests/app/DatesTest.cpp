#include "app/Dates.h"
#include "app/Dichiarazioni.h"

#include <gtest/gtest.h>

using namespace ondavia;

TEST(ValidaDataTest, OgniFormaAccettataERifiutata)
{
    // text, result, DataFormattata afterwards, the argument afterwards. The communication file reads a date
    // the same way: what the check accepts it writes as eight digits, what the check refuses it refuses.
    const struct {
        const char *testo, *formattata, *riscritto;
        int esito;
    } casi[] = {
        // clang-format off
        {"0.00.00", "", "0.00.00", 0}, {"a05b03c21", "05/03/2021", "050321  ", 2},
        {"05-03-1998", "05/03/1998", "05031998", 2},
        // six or eight digits and nothing else: a year of three digits
        {"01/01/201", "", "0101201 ", 1},
        {"01/01/0999", "", "01010999", 1}, {"01/01/1000", "01/01/1000", "01011000", 2},
        {"05/03/2021 ", "", "05/03/2021 ", 1},                          // too long
        {"0503202112", "", "0503202112", 1},                            // a ninth digit
        {"00/01/2020", "", "00012020", 1}, {"01/13/2020", "", "01132020", 1}, {"31/04/2020", "", "31042020", 1},
        // 29 February only in a leap year
        {"29/02/2000", "29/02/2000", "29022000", 2}, {"29/02/1900", "", "29021900", 1},
        // clang-format on
    };
    for (const auto& caso : casi) {
        DataFormattata = QStringLiteral("resto di prima");
        QString valore = QString::fromUtf8(caso.testo);
        EXPECT_EQ(ValidaData(valore), caso.esito) << caso.testo;
        EXPECT_EQ(DataFormattata, QString::fromUtf8(caso.formattata)) << caso.testo;
        EXPECT_EQ(valore, QString::fromUtf8(caso.riscritto)) << caso.testo;
        const std::optional<QString> scritta = DataGGMMAAAA(QString::fromUtf8(caso.testo));
        EXPECT_EQ(scritta, caso.esito == 1 ? std::nullopt : std::optional(DataFormattata.remove(u'/'))) << caso.testo;
    }
    resetDichiarazioni();
}

TEST(ConversioniTest, TestiDelleDate)
{
    EXPECT_EQ(DueCifre(QStringLiteral(" 7 ")), QStringLiteral("07"));
    EXPECT_EQ(DueCifre(QStringLiteral("123")), std::nullopt);

    EXPECT_EQ(InvertiData(QStringLiteral("05/03/2021")), QStringLiteral("20210305"));
    EXPECT_EQ(InvertiData(QStringLiteral("20210305")), QStringLiteral("05/03/2021"));
    EXPECT_EQ(InvertiData(QStringLiteral("00/00/0000")), QString());
    resetDichiarazioni();
}

TEST(TestoInDataTest, TestiDelBackup)
{
    QString t = QStringLiteral("  05/03/1998 ");
    EXPECT_EQ(TestoInData(t), QDate(1998, 3, 5));
    EXPECT_EQ(t, QStringLiteral("05/03/1998")) << "trimmed in place";

    const QDate zero(1899, 12, 30);
    const struct {
        const char* testo;
        std::optional<QDate> data;
    } casi[] = {
        // clang-format off
        {"05/03/21", QDate(2021, 3, 5)}, {"05/03/45", QDate(1945, 3, 5)}, {"00:00:00", zero},
        {"2021-03-05", zero}, {"05/03/1850", zero}, // other shapes
        {"31/02/2021", std::nullopt}, {"5/3/2021", std::nullopt},
        // clang-format on
    };
    for (const auto& caso : casi) {
        QString testo = QString::fromLatin1(caso.testo);
        EXPECT_EQ(TestoInData(testo), caso.data) << caso.testo;
    }
}
