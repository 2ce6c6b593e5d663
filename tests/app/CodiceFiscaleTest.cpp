#include "ArchivioProva.h"

#include "app/CodiceFiscale.h"

using namespace ondavia;

class ControllaCFTest : public ArchivioProva {};

TEST_F(ControllaCFTest, TabellaDeiCodici)
{
    // ACCETTURA is A017; Z999 is no place. L M N P Q R S T U V stand for 0-9. The check
    // characters are those of the published rule (RSSMRA85T10A562S is one of its examples).
    const struct {
        QString codice;
        int esito;
    } casi[] = {
        // clang-format off
        // 11 characters: VAT numbers, any eleven digits and nothing else; valid in lower case, 17 characters and more
        {"12345678901", 0}, {"00000000000", 0}, {"1234567890A", 1}, {"12345-67890", 1}, {"12345'78901", 1},
        {"           ", 1}, {"1234567890\u0663", 1}, {"rssmra85t10a562s", 0}, {"RSSMRA85T10A562SXYZ", 0},
        // omocode cadastral code at 3, at 4+3+2; then an unknown place
        {"VRDGPP80A01A0M7E", 0}, {"VRDGPP80A01ALMTE", 0}, {"RSSMRA85T10Z999S", 1},
        // the check character: wrong, missing (15 characters), empty code, other characters in the first 15
        {"RSSMRA85T10A562A", 'S'}, {"RSSMRA85T10A562", 'S'}, {"", 50}, {"RSS-RA85T10A562S", 'F'},
        // an apostrophe in the cadastral code must not break the search criterion
        {"RSSMRA85T10'OR'U", 1},
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
    EXPECT_EQ(ControllaCF(QStringLiteral("VRDGPP80A01A0MTB")), CFNonVerificabile) << "nor is the omocode search hidden";
}
