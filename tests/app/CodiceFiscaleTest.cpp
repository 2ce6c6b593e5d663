#include "ArchivioProva.h"

#include "app/CodiceFiscale.h"

#include <map>

using namespace ondavia;

namespace {

// The published check-character tables, written out here on their own so that the expected results
// do not come from the code under test.
const std::map<char, int> kValoriDispari = {
    {'0', 1},  {'1', 0},  {'2', 5},  {'3', 7},  {'4', 9},  {'5', 13}, {'6', 15}, {'7', 17}, {'8', 19},
    {'9', 21}, {'A', 1},  {'B', 0},  {'C', 5},  {'D', 7},  {'E', 9},  {'F', 13}, {'G', 15}, {'H', 17},
    {'I', 19}, {'J', 21}, {'K', 2},  {'L', 4},  {'M', 18}, {'N', 20}, {'O', 11}, {'P', 3},  {'Q', 6},
    {'R', 8},  {'S', 12}, {'T', 14}, {'U', 16}, {'V', 10}, {'W', 22}, {'X', 25}, {'Y', 24}, {'Z', 23},
};

int valorePari(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c - 'A';
}

// Sum over the first 15 characters of (value + 1) for letters and digits, others adding nothing;
// the character expected in 16th place is 65 + ((sum - 15) rem 26).
int carattereAtteso(const std::string& primi15)
{
    int somma = 0;
    for (size_t i = 0; i < 15 && i < primi15.size(); ++i) {
        const char c = primi15[i];
        if (!std::isdigit(static_cast<unsigned char>(c)) && !(c >= 'A' && c <= 'Z')) {
            continue;
        }
        somma += ((i + 1) % 2 == 1 ? kValoriDispari.at(c) : valorePari(c)) + 1;
    }
    return 65 + (somma - 15) % 26;
}

QString conControllo(const std::string& primi15)
{
    return QString::fromStdString(primi15 + static_cast<char>(carattereAtteso(primi15)));
}

} // namespace

TEST(CarattereDiControlloDelTest, DaGliEsempiPubblicati)
{
    // Guards the test's own tables with two codes printed in public examples.
    EXPECT_EQ(conControllo("RSSMRA85T10A562"), QStringLiteral("RSSMRA85T10A562S"));
    EXPECT_EQ(conControllo("MRTMTT25D09F205"), QStringLiteral("MRTMTT25D09F205Z"));
}

class ControllaCFTest : public ArchivioProva {};

TEST_F(ControllaCFTest, PartiteIvaDiUndiciCaratteri)
{
    EXPECT_EQ(ControllaCF(QStringLiteral("12345678901")), 0);
    EXPECT_EQ(ControllaCF(QStringLiteral("00000000000")), 0);
    EXPECT_EQ(ControllaCF(QStringLiteral("           ")), 0);
    EXPECT_EQ(ControllaCF(QStringLiteral("12345-678.9")), 0);
    EXPECT_EQ(ControllaCF(QStringLiteral("1234567890A")), 1);
    EXPECT_EQ(ControllaCF(QStringLiteral("a2345678901")), 1);
}

TEST_F(ControllaCFTest, CodiciValidi)
{
    ASSERT_EQ(ControllaCF(QStringLiteral("RSSMRA85T10A562S")), 0);
    EXPECT_EQ(ControllaCF(QStringLiteral("MRTMTT25D09F205Z")), 0);
    EXPECT_EQ(ControllaCF(conControllo("BNCLRA90A41H501")), 0);
    EXPECT_EQ(ControllaCF(conControllo("VRDGPP80A01Z404")), 0) << "a foreign state";
    EXPECT_EQ(ControllaCF(QStringLiteral("rssmra85t10a562s")), 0) << "lower case";
    EXPECT_EQ(ControllaCF(QStringLiteral("RssMra85T10a562S")), 0) << "mixed case";
    EXPECT_EQ(ControllaCF(QStringLiteral("RSSMRA85T10A562SXYZ")), 0) << "judged on its first 16 characters";
    // Omocode letters in the birth date are part of the code the check character is computed on.
    EXPECT_EQ(ControllaCF(conControllo("RSSMRA8RTLMA562")), 0);
}

TEST_F(ControllaCFTest, FormeOmocodicheDelCodiceCatastale)
{
    // ACCETTURA is A017; L M N P Q R S T U V stand for 0-9.
    EXPECT_EQ(ControllaCF(conControllo("VRDGPP80A01A01T")), 0) << "position 4";
    EXPECT_EQ(ControllaCF(conControllo("VRDGPP80A01A0M7")), 0) << "position 3";
    EXPECT_EQ(ControllaCF(conControllo("VRDGPP80A01A0MT")), 0) << "positions 3 and 4";
    EXPECT_EQ(ControllaCF(conControllo("VRDGPP80A01ALMT")), 0) << "positions 2, 3 and 4";
    EXPECT_EQ(ControllaCF(conControllo("VRDGPP80A01A0MT").toLower()), 0) << "lower case";
    // M is 1, but Z991 and Z911 are no places; W is no omocode letter at all.
    EXPECT_EQ(ControllaCF(conControllo("VRDGPP80A01Z99M")), 1);
    EXPECT_EQ(ControllaCF(conControllo("VRDGPP80A01Z9MM")), 1);
    EXPECT_EQ(ControllaCF(conControllo("VRDGPP80A01A01W")), 1);

    EXPECT_TRUE(ControllaOmocodia(QStringLiteral("A0MT")));
    EXPECT_FALSE(ControllaOmocodia(QStringLiteral("Z9MM")));
    // Only the forms with letters turned back are searched: the code as given was searched already.
    EXPECT_FALSE(ControllaOmocodia(QStringLiteral("A017")));
    EXPECT_FALSE(ControllaOmocodia(QStringLiteral("")));
}

TEST_F(ControllaCFTest, CodiciNonValidi)
{
    // The database must not know these cadastral codes for the test to mean anything.
    db::Recordset righe;
    ASSERT_TRUE(righe.Open(QStringLiteral("SELECT * From T_COMUNICF WHERE KEY_TAB IN ('Z999','Z991','Z911')"), Conn));
    ASSERT_EQ(righe.RecordCount(), 0);

    EXPECT_EQ(ControllaCF(conControllo("RSSMRA85T10Z999")), 1) << "unknown birth place";
    EXPECT_EQ(ControllaCF(conControllo("RSSMRA85T10Z9VV")), 1) << "unknown also as digits";
    EXPECT_EQ(ControllaCF(QStringLiteral("RSSMRA85T10A562A")), 'S') << "wrong check letter";
    EXPECT_EQ(ControllaCF(QStringLiteral("RSSMRA85T10A562")), 'S') << "15 characters: blank in 16th place";
    EXPECT_EQ(ControllaCF(QStringLiteral("rssmra85t10a562a")), 'S');
    EXPECT_EQ(ControllaCF(QString()), 50) << "empty: no letters, sum 0";
    EXPECT_EQ(ControllaCF(QStringLiteral("1234567890")), carattereAtteso("1234567890"));
    EXPECT_EQ(ControllaCF(QStringLiteral("RSS-RA85T10A562S")), carattereAtteso("RSS-RA85T10A562"));
    EXPECT_EQ(ControllaCF(QStringLiteral("123456789012")), carattereAtteso("123456789012"));
}

TEST_F(ControllaCFTest, UnApostrofoNelCodiceCatastaleNonRompeLaRicerca)
{
    QString errore;
    EXPECT_EQ(ControllaCF(conControllo("RSSMRA85T10A'62"), &errore), 1);
    EXPECT_TRUE(errore.isEmpty()) << errore.toStdString();
    EXPECT_EQ(ControllaCF(conControllo("RSSMRA85T10'OR'"), &errore), 1);
    EXPECT_TRUE(errore.isEmpty()) << errore.toStdString();
}

TEST_F(ControllaCFTest, TabellaNonCaricata)
{
    rsComuniCF.Close();
    QString errore;
    EXPECT_EQ(ControllaCF(QStringLiteral("RSSMRA85T10A562S"), &errore), CFNonVerificabile);
    EXPECT_FALSE(errore.isEmpty());
    // The check letter is judged before the table is needed.
    EXPECT_EQ(ControllaCF(QStringLiteral("RSSMRA85T10A562A")), 'S');
    // Nor may the omocode search hide the failure as "not valid".
    errore.clear();
    EXPECT_FALSE(ControllaOmocodia(QStringLiteral("A0MT"), &errore));
    EXPECT_FALSE(errore.isEmpty());
}
