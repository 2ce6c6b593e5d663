#include "app/Cifratura.h"
#include "app/Windows1252.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <random>

using namespace ondavia;

namespace {

const QString kScrivi = QStringLiteral("Scrivi");
const QString kLeggi = QStringLiteral("Leggi");
constexpr std::int16_t kChiave = 7;
const QChar kSeparatore(0xA6);

QString daCodici(std::initializer_list<int> codici)
{
    QString testo;
    for (int c : codici) {
        testo.append(cp1252::charOf(c));
    }
    return testo;
}

// The system's own converter, as a second opinion on the code page.
std::optional<QString> decodificaDiSistema(unsigned char byte)
{
    iconv_t cd = iconv_open("UTF-16LE", "CP1252");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* pin = in;
    char* pout = out;
    size_t restaIn = 1;
    size_t restaOut = sizeof out;
    const size_t esito = iconv(cd, &pin, &restaIn, &pout, &restaOut);
    iconv_close(cd);
    if (esito == static_cast<size_t>(-1)) {
        return std::nullopt;
    }
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(out), (sizeof out - restaOut) / 2);
}

} // namespace

TEST(Windows1252Test, OgniByteComeLoLeggeIlSistema)
{
    if (!decodificaDiSistema('A')) {
        GTEST_SKIP() << "the system converter has no CP1252";
    }
    const QList<int> nonDefiniti = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (int b = 0; b < 256; ++b) {
        const QChar c = cp1252::charOf(b);
        if (nonDefiniti.contains(b)) {
            EXPECT_EQ(c.unicode(), b) << "undefined byte " << b << " stands for its control character";
        } else {
            const auto atteso = decodificaDiSistema(static_cast<unsigned char>(b));
            ASSERT_TRUE(atteso.has_value()) << b;
            EXPECT_EQ(QString(c), *atteso) << "byte " << b;
        }
        EXPECT_EQ(cp1252::codeOf(c), b) << "byte " << b;
    }
}

TEST(Windows1252Test, CodificaEDecodifica)
{
    QByteArray tutti;
    for (int b = 0; b < 256; ++b) {
        tutti.append(static_cast<char>(b));
    }
    qsizetype primo = 0;
    EXPECT_EQ(cp1252::encode(cp1252::decode(tutti), &primo), tutti);
    EXPECT_EQ(primo, -1);

    const QString misto = QStringLiteral("a€ł") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("bÿ");
    EXPECT_EQ(cp1252::encode(misto, &primo), QByteArray("a\x80??b\xFF"));
    EXPECT_EQ(primo, 2);
    EXPECT_EQ(cp1252::firstUnencodable(misto), 2);
    EXPECT_EQ(cp1252::firstUnencodable(QStringLiteral("Società € 100")), -1);

    EXPECT_EQ(cp1252::codeOf(QChar(0x0100)), -1);
    EXPECT_EQ(cp1252::codeOf(QChar(0x20AD)), -1);
    EXPECT_EQ(cp1252::codeOf(QChar(0x2122)), 0x99);
    EXPECT_TRUE(cp1252::charOf(256).isNull());
    EXPECT_TRUE(cp1252::charOf(-1).isNull());
}

TEST(CifraTestoTest, SpostamentoPerPosizione)
{
    EXPECT_EQ(CifraTesto(QStringLiteral("ABC"), kScrivi, 3), QStringLiteral("EGI"));
    EXPECT_EQ(CifraTesto(QStringLiteral("EGI"), kLeggi, 3), QStringLiteral("ABC"));
    EXPECT_EQ(CifraTesto(QStringLiteral("AB  "), kScrivi, 3), QStringLiteral("EG  ")) << "trailing blanks stay";
    EXPECT_EQ(CifraTesto(QStringLiteral("A B"), kScrivi, 3), QStringLiteral("E%H")) << "inner blanks move";
    EXPECT_EQ(CifraTesto(QString(), kScrivi, 3), QString());
    EXPECT_EQ(CifraTesto(QStringLiteral("ABC"), QStringLiteral("scrivi"), 3), QStringLiteral("ABC"));
    EXPECT_EQ(CifraTesto(QStringLiteral("ABC"), QString(), 3), QStringLiteral("ABC"));
    // Codes above 127 move by their Windows-1252 number: € (0x80) + 3 + 1 is 0x84, „.
    EXPECT_EQ(CifraTesto(QStringLiteral("€"), kScrivi, 3), QStringLiteral("„"));
}

TEST(CifraTestoTest, CaratteriCheNonPossonoViaggiare)
{
    NonCifrabili scarti;
    // ÿ is 255: 255 + 3 + 1 leaves the code page, so it stays as it was.
    EXPECT_EQ(CifraTesto(QStringLiteral("Aÿ"), kScrivi, 3, &scarti), QStringLiteral("E") + QChar(0xFF));
    ASSERT_EQ(scarti.size(), 1);
    EXPECT_EQ(scarti[0].posizione, 2);
    EXPECT_EQ(scarti[0].carattere, QChar(0xFF));
    EXPECT_EQ(scarti[0].motivo, MotivoNonCifrabile::FuoriIntervallo);

    // ¢ is 162: 162 + 3 + 1 is the separator.
    scarti.clear();
    EXPECT_EQ(CifraTesto(QStringLiteral("¢"), kScrivi, 3, &scarti), QString(kSeparatore));
    ASSERT_EQ(scarti.size(), 1);
    EXPECT_EQ(scarti[0].motivo, MotivoNonCifrabile::Separatore);

    // A control character 5 in second place would become LF (5 + 3 + 2).
    scarti.clear();
    CifraTesto(daCodici({'A', 5}) + QLatin1Char('B'), kScrivi, 3, &scarti);
    ASSERT_EQ(scarti.size(), 1);
    EXPECT_EQ(scarti[0].posizione, 2);
    EXPECT_EQ(scarti[0].motivo, MotivoNonCifrabile::FineRiga);

    scarti.clear();
    EXPECT_EQ(CifraTesto(QStringLiteral("Ał"), kScrivi, 3, &scarti), QStringLiteral("Eł"));
    ASSERT_EQ(scarti.size(), 1);
    EXPECT_EQ(scarti[0].motivo, MotivoNonCifrabile::NonWindows1252);

    // Leading blanks are shifted, the last characters not; reading back gets them wrong.
    scarti.clear();
    EXPECT_EQ(CifraTesto(QStringLiteral("  AB"), kScrivi, 3, &scarti), QStringLiteral("$%AB"));
    ASSERT_EQ(scarti.size(), 2);
    EXPECT_EQ(scarti[0].posizione, 3);
    EXPECT_EQ(scarti[1].posizione, 4);
    EXPECT_EQ(scarti[0].motivo, MotivoNonCifrabile::NonReversibile);

    // Reading below code 0.
    scarti.clear();
    EXPECT_EQ(CifraTesto(daCodici({1}), kLeggi, 3, &scarti), daCodici({1}));
    ASSERT_EQ(scarti.size(), 1);
    EXPECT_EQ(scarti[0].motivo, MotivoNonCifrabile::FuoriIntervallo);

    scarti.clear();
    CifraTesto(QStringLiteral("ROSSI MARIO SRL"), kScrivi, kChiave, &scarti);
    EXPECT_TRUE(scarti.isEmpty());
}

TEST(CifraTestoTest, AndataERitornoSuTestoCasuale)
{
    std::mt19937 generatore(20210305);
    std::uniform_int_distribution<int> lunghezza(0, 60);
    std::uniform_int_distribution<int> codice(0, 255);
    std::uniform_int_distribution<int> stampabile(32, 126);
    int puliti = 0;
    int segnalati = 0;
    for (int prova = 0; prova < 5000; ++prova) {
        // Half the texts plain typing, half any byte of the code page.
        const bool qualsiasi = prova % 2 == 1;
        QString testo;
        const int n = lunghezza(generatore);
        for (int i = 0; i < n; ++i) {
            testo.append(cp1252::charOf(qualsiasi ? codice(generatore) : stampabile(generatore)));
        }
        NonCifrabili scarti;
        const QString cifrato = CifraTesto(testo, kScrivi, kChiave, &scarti);
        const QString riletto = CifraTesto(cifrato, kLeggi, kChiave);
        if (scarti.isEmpty()) {
            ++puliti;
            ASSERT_EQ(riletto, testo) << "unreported damage in " << testo.toStdString();
            ASSERT_FALSE(cifrato.contains(kSeparatore) || cifrato.contains(QLatin1Char('\r')) ||
                         cifrato.contains(QLatin1Char('\n')))
                << "a line breaker or separator slipped through";
            continue;
        }
        ++segnalati;
        // Every report names a real problem at its position.
        for (const CarattereNonCifrabile& s : scarti) {
            const qsizetype i = s.posizione - 1;
            ASSERT_EQ(testo[i], s.carattere);
            const int spostato = cp1252::codeOf(testo[i]) + kChiave + s.posizione;
            switch (s.motivo) {
            case MotivoNonCifrabile::FuoriIntervallo:
                EXPECT_GT(spostato, 255);
                break;
            case MotivoNonCifrabile::Separatore:
                EXPECT_EQ(spostato, 0xA6);
                break;
            case MotivoNonCifrabile::FineRiga:
                EXPECT_TRUE(spostato == 10 || spostato == 13);
                break;
            case MotivoNonCifrabile::NonReversibile:
                EXPECT_NE(riletto[i], testo[i]);
                break;
            case MotivoNonCifrabile::NonWindows1252:
                ADD_FAILURE() << "every character here has a code";
                break;
            }
        }
    }
    // Both kinds of text must have come up for the test to mean anything.
    EXPECT_GT(puliti, 1000);
    EXPECT_GT(segnalati, 100);
}

TEST(CifraRigaTest, VociDellaRigaDiBackup)
{
    const QString riga = QString(kSeparatore) + QStringLiteral("COPE") + kSeparatore + QStringLiteral("ABC") +
                         kSeparatore + kSeparatore + QStringLiteral("X  ");
    const QString cifrata = CifraRiga(riga, kScrivi, 3);
    const QStringList voci = cifrata.split(kSeparatore);
    ASSERT_EQ(voci.size(), 5);
    EXPECT_EQ(voci[0], QString()) << "nothing in front of the first separator";
    EXPECT_EQ(voci[1], CifraTesto(QStringLiteral("COPE"), kScrivi, 3));
    EXPECT_EQ(voci[2], QStringLiteral("EGI")) << "each item counts its positions from 1";
    EXPECT_EQ(voci[3], QString());
    EXPECT_EQ(voci[4], QStringLiteral("\\  "));
    EXPECT_EQ(CifraRiga(cifrata, kLeggi, 3), riga);

    EXPECT_EQ(CifraRiga(QString(), kScrivi, 3), QString());
    EXPECT_EQ(CifraRiga(QStringLiteral("|AB|C"), QStringLiteral("altro"), 3),
              QString(kSeparatore) + QStringLiteral("AB") + kSeparatore + QStringLiteral("C"))
        << "split at its first character, joined with the broken bar";
    EXPECT_EQ(CifraRiga(QStringLiteral("#AB"), kScrivi, 3), QString(kSeparatore) + QStringLiteral("EG"));
}

TEST(CifraRigaTest, LaSegnalazioneNominaLaVoce)
{
    NonCifrabili scarti;
    CifraRiga(QString(kSeparatore) + QStringLiteral("COPE") + kSeparatore + QStringLiteral("¢OK"), kScrivi, 3, &scarti);
    ASSERT_EQ(scarti.size(), 1);
    EXPECT_EQ(scarti[0].voce, 2);
    EXPECT_EQ(scarti[0].posizione, 1);
    EXPECT_EQ(scarti[0].motivo, MotivoNonCifrabile::Separatore);
}
