// Birth data read out of a fiscal code, and the municipality searches behind them.

#include "ArchivioProva.h"

#include "app/Comuni.h"
#include "app/DatiNascita.h"

#include <gtest/gtest.h>

using namespace ondavia;

namespace {

const QDate kOggi(2025, 6, 15);

} // namespace

TEST(LeggiDatiNascitaTest, SessoDataECodiceCatastale)
{
    const struct {
        const char* codice;
        const char* sesso;
        const char* data;
        const char* catastale;
    } casi[] = {
        {"RSSMRA80Z31H501X", "M", "31/00/1980", "H501"}, // not a month's letter: month 00, refused later
        {"bnclra6nc4qh5lmx", "F", "04/03/1962", "H501"}, // omocode in year, day and cadastral code
        {"RSSMRA05C05H501X", "M", "05/03/2005", "H501"}, // 16 years gone: this century
        {"RSSMRA10C05H501X", "M", "05/03/1910", "H501"}, // 15 years only: the last one
        {"RSSMRA09H15H501X", "M", "15/06/2009", "H501"}, // the 16th birthday is today
        {"RSSMRA09H56H501X", "F", "16/06/1909", "H501"}, // tomorrow
        {"RSSMRAX1A01H501X", "M", "01/01/19X1", "H501"}, // a year that is no number stays as written
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.codice);
        const std::optional<DatiNascita> dati = leggiDatiNascita(QLatin1String(caso.codice), kOggi);
        ASSERT_TRUE(dati.has_value());
        EXPECT_EQ(dati->sesso, QLatin1String(caso.sesso));
        EXPECT_EQ(dati->data, QLatin1String(caso.data));
        EXPECT_EQ(dati->catastale, QLatin1String(caso.catastale));
    }
    for (const char* codice : {"RSSMRA80A01H501", "RSSMRA80A01H501XY"}) {
        EXPECT_EQ(leggiDatiNascita(QLatin1String(codice), kOggi), std::nullopt) << codice;
    }
    // A character outside the basic plane counts once and is read as no digit.
    const auto dati = leggiDatiNascita(QStringLiteral("RSSMRA80A0\U0001F600H501X"), kOggi);
    ASSERT_TRUE(dati.has_value());
    EXPECT_EQ(dati->catastale, QStringLiteral("H501"));
}

class LuogoNascitaTest : public ArchivioProva {
protected:
    DatiNascita luogo(const char* catastale)
    {
        DatiNascita dati;
        dati.catastale = QLatin1String(catastale);
        QString errore;
        EXPECT_TRUE(cercaLuogoNascita(dati, &errore)) << errore.toStdString();
        return dati;
    }
};

// A cadastral code with several rows names the municipality of today: a former name (A001, A022) gives
// way to it; with none of today, the first row.
TEST_F(LuogoNascitaTest, PreferisceIlComuneDiOggi)
{
    const struct {
        const char* catastale;
        const char* comune;
        const char* provincia;
    } casi[] = {
        {"A001", "ABANO TERME", "PD"},
        {"A022", "CERMES", "BZ"},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.catastale);
        const DatiNascita dati = luogo(caso.catastale);
        EXPECT_TRUE(dati.luogoTrovato);
        EXPECT_EQ(dati.comune, QLatin1String(caso.comune));
        EXPECT_EQ(dati.provincia, QLatin1String(caso.provincia));
    }
    EXPECT_FALSE(luogo("H5'1").luogoTrovato) << "an apostrophe neither breaks nor widens the query";

    esegui(QStringLiteral("DROP TABLE T_COMUNICF"));
    DatiNascita dati;
    QString errore;
    EXPECT_FALSE(cercaLuogoNascita(dati, &errore));
    EXPECT_FALSE(errore.isEmpty());
}

class ComuniTest : public ArchivioProva {};

// A typed text may hold the searches' wildcards: no name holds one, so nothing is proposed.
TEST_F(ComuniTest, UnCaratterePerLeRicercheNonTrovaNulla)
{
    std::optional<Comune> trovato;
    ASSERT_TRUE(completaComune(QStringLiteral("ROMA"), &trovato));
    ASSERT_TRUE(trovato.has_value());
    for (const char* senza : {"R%A", "R*", "%", "XQ"}) {
        ASSERT_TRUE(completaComune(QLatin1String(senza), &trovato)) << senza;
        EXPECT_FALSE(trovato.has_value()) << senza;
    }
    ASSERT_TRUE(cercaComune(QStringLiteral("ROM*"), QString(), &trovato));
    EXPECT_FALSE(trovato.has_value());
}

// The table writes a final accent as an apostrophe; an accent inside a word, or on no vowel, is left.
TEST(ApostrofiPerAccentiTest, UnaVocaleAccentataInFondoAllaParola)
{
    for (const auto& [digitato, scritto] : {std::pair<QString, QString>{"Cantù", "Cantu'"},
                                            {"ARQUÀ PETRARCA", "ARQUA' PETRARCA"},
                                            {"perché ", "perche' "},
                                            {"CITTÀDELLA", "CITTÀDELLA"},
                                            {"FRANÇ", "FRANÇ"},
                                            {"CANTU'", "CANTU'"}}) {
        EXPECT_EQ(apostrofiPerAccenti(digitato), scritto) << digitato.toStdString();
    }
}
