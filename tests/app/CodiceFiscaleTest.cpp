#include "ArchivioProva.h"

#include "app/CodiceFiscale.h"

#include <cctype>
#include <map>

using namespace ondavia;

namespace {

// The published odd-position values, written out here apart from the code under test.
const std::map<char, int> kDispari = {
    {'0', 1},  {'1', 0},  {'2', 5},  {'3', 7},  {'4', 9},  {'5', 13}, {'6', 15}, {'7', 17}, {'8', 19},
    {'9', 21}, {'A', 1},  {'B', 0},  {'C', 5},  {'D', 7},  {'E', 9},  {'F', 13}, {'G', 15}, {'H', 17},
    {'I', 19}, {'J', 21}, {'K', 2},  {'L', 4},  {'M', 18}, {'N', 20}, {'O', 11}, {'P', 3},  {'Q', 6},
    {'R', 8},  {'S', 12}, {'T', 14}, {'U', 16}, {'V', 10}, {'W', 22}, {'X', 25}, {'Y', 24}, {'Z', 23},
};

// 65 + ((sum over the letters and digits of the first 15 of value + 1) - 15) rem 26.
int atteso(const std::string& primi15)
{
    int somma = 0;
    for (size_t i = 0; i < 15 && i < primi15.size(); ++i) {
        const char c = primi15[i];
        if (kDispari.count(c)) {
            somma += (i % 2 == 0 ? kDispari.at(c) : (std::isdigit(c) ? c - '0' : c - 'A')) + 1;
        }
    }
    return 65 + (somma - 15) % 26;
}

QString cf(const std::string& primi15)
{
    return QString::fromStdString(primi15 + static_cast<char>(atteso(primi15)));
}

} // namespace

TEST(CarattereDiControlloDelTest, DaEsempiPubblicati)
{
    EXPECT_EQ(cf("RSSMRA85T10A562"), QStringLiteral("RSSMRA85T10A562S"));
    EXPECT_EQ(cf("MRTMTT25D09F205"), QStringLiteral("MRTMTT25D09F205Z"));
}

class ControllaCFTest : public ArchivioProva {};

TEST_F(ControllaCFTest, TabellaDeiCodici)
{
    // ACCETTURA is A017; Z991, Z911 and Z999 are no places. L M N P Q R S T U V stand for 0-9.
    const struct {
        QString codice;
        int esito;
    } casi[] = {
        // clang-format off
        // 11 characters: VAT numbers, letters refused, upper-cased
        {"12345678901", 0}, {"12345-678.9", 0}, {"1234567890A", 1},
        // valid: lower case, 17 characters and more, a foreign state, omocode letters in the birth date
        {"rssmra85t10a562s", 0}, {"RSSMRA85T10A562SXYZ", 0},
        {cf("VRDGPP80A01Z404"), 0}, {cf("RSSMRA8RTLMA562"), 0},
        // omocode cadastral code at 4, at 3, at 4+3, at 4+3+2, in lower case; then unknown places
        {cf("VRDGPP80A01A01T"), 0}, {cf("VRDGPP80A01A0M7"), 0}, {cf("VRDGPP80A01ALMT"), 0},
        {cf("VRDGPP80A01A0MT").toLower(), 0}, {cf("RSSMRA85T10Z999"), 1}, {cf("VRDGPP80A01Z9MM"), 1},
        // the check character: wrong, missing (15 characters), empty code, other characters in the first 15
        {"RSSMRA85T10A562A", 'S'}, {"RSSMRA85T10A562", 'S'}, {"", 50},
        {"RSS-RA85T10A562S", atteso("RSS-RA85T10A562")}, {"1234567890", atteso("1234567890")},
        // an apostrophe in the cadastral code must not break the search criterion
        {cf("RSSMRA85T10'OR'"), 1},
        // clang-format on
    };
    for (const auto& caso : casi) {
        EXPECT_EQ(ControllaCF(caso.codice), caso.esito) << caso.codice.toStdString();
    }
    // The form as given was searched already: only forms with letters turned back are tried.
    EXPECT_FALSE(ControllaOmocodia(QStringLiteral("A017")));
}

// Any text typed or pasted into a code box gets an answer: valid or not, never "not verifiable".
TEST_F(ControllaCFTest, OgniTestoHaUnaRisposta)
{
    // A character outside the basic plane in the cadastral part, with the right check letter, so that the
    // cadastral search itself runs on it.
    const QString primi15 = QStringLiteral("RSSMRA85T10\U0001F600562");
    const std::int16_t controllo = ControllaCF(primi15 + QLatin1Char('?'));
    ASSERT_GE(controllo, 65);
    EXPECT_EQ(ControllaCF(primi15 + QChar(controllo)), 1);
    EXPECT_EQ(ControllaCF(QStringLiteral("RSSMRA85T1\U0001F600562P")), 'R');
    EXPECT_GT(ControllaCF(QStringLiteral("123456789\U0001F600")), 1) << "10 characters: not a VAT number";

    // Random texts over letters, digits, apostrophes, control characters and halves of surrogate pairs.
    const char16_t alfabeto[] = {u'A', u'Z', u'0', u'9', u'\'', u' ', u'\r', u'\n', 0, 0xD83D, 0xDE00, u'%', u'\u00e8'};
    std::uint32_t seme = 12345;
    for (int prova = 0; prova < 2000; ++prova) {
        QString testo;
        seme = seme * 1103515245u + 12345u;
        const int lunghezza = 10 + static_cast<int>(seme >> 16) % 9;
        for (int i = 0; i < lunghezza; ++i) {
            seme = seme * 1103515245u + 12345u;
            testo.append(QChar(alfabeto[(seme >> 16) % std::size(alfabeto)]));
        }
        QString errore;
        EXPECT_NE(ControllaCF(testo, &errore), CFNonVerificabile) << errore.toStdString();
    }
}

TEST_F(ControllaCFTest, TabellaNonCaricata)
{
    rsComuniCF.Close();
    QString errore;
    EXPECT_EQ(ControllaCF(QStringLiteral("RSSMRA85T10A562S"), &errore), CFNonVerificabile);
    EXPECT_FALSE(errore.isEmpty());
    EXPECT_EQ(ControllaCF(cf("VRDGPP80A01A0MT")), CFNonVerificabile) << "nor is the omocode search hidden";
}
