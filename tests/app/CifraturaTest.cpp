#include "app/Cifratura.h"
#include "app/Windows1252.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

using namespace ondavia;

namespace {

const QString kScrivi = QStringLiteral("Scrivi");
const QString kLeggi = QStringLiteral("Leggi");
const QChar kSep(0xA6);
using M = MotivoNonCifrabile;
using Segnalati = QList<std::pair<int, M>>;

// Position and reason of each character reported.
Segnalati segnalati(const QString& testo, const QString& modo, std::int16_t chiave = 3)
{
    NonCifrabili scarti;
    CifraTesto(testo, modo, chiave, &scarti);
    Segnalati r;
    for (const auto& s : scarti) {
        r.append({s.posizione, s.motivo});
    }
    return r;
}

} // namespace

TEST(Windows1252Test, OgniByteEOgniCarattere)
{
    QByteArray tutti(256, 0);
    std::iota(tutti.begin(), tutti.end(), 0);
    const QString testo = cp1252::decode(tutti);
    // Qt's ICU converter, where present, is a second opinion; it too reads the five undefined bytes as
    // the control characters of the same number.
    if (QStringDecoder icu("windows-1252"); icu.isValid()) {
        EXPECT_EQ(testo, QString(icu.decode(tutti)));
    }
    EXPECT_EQ(testo.mid(0x80, 4), QStringLiteral("€\u0081‚ƒ"));
    EXPECT_EQ(cp1252::encode(testo), tutti);

    const QString misto = QStringLiteral("a€ł") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("bÿ");
    qsizetype primo = 0;
    EXPECT_EQ(cp1252::encode(misto, &primo), QByteArray("a\x80??b\xFF")) << "one ? for a surrogate pair";
    EXPECT_EQ(primo, 2);
    EXPECT_EQ(cp1252::firstUnencodable(misto), 2);
}

TEST(CifraTestoTest, SpostamentiESegnalazioni)
{
    EXPECT_EQ(CifraTesto(QStringLiteral("A B  "), kScrivi, 3), QStringLiteral("E%H  ")) << "trailing blanks stay";
    EXPECT_EQ(CifraTesto(QStringLiteral("€"), kScrivi, 3), QStringLiteral("„")) << "0x80 + 4 is 0x84";
    EXPECT_EQ(CifraTesto(QStringLiteral("ABC"), QStringLiteral("scrivi"), 3), QStringLiteral("ABC"));

    EXPECT_EQ(CifraTesto(QStringLiteral("Aÿ"), kScrivi, 3), QStringLiteral("Eÿ")) << "255 + 5 stays unshifted";
    EXPECT_EQ(segnalati(QStringLiteral("Aÿ"), kScrivi), (Segnalati{{2, M::FuoriIntervallo}}));
    EXPECT_EQ(segnalati(QStringLiteral("Ał"), kScrivi), (Segnalati{{2, M::NonWindows1252}}));
    EXPECT_EQ(segnalati(QString(QChar(1)), kLeggi), (Segnalati{{1, M::FuoriIntervallo}})) << "below 0";
    // Leading blanks are shifted and the last characters not, so reading back gets those wrong.
    EXPECT_EQ(CifraTesto(QStringLiteral("  AB"), kScrivi, 3), QStringLiteral("$%AB"));
    EXPECT_EQ(segnalati(QStringLiteral("  AB"), kScrivi), (Segnalati{{3, M::NonReversibile}, {4, M::NonReversibile}}));
}

TEST(CifraTestoTest, IlRapportoCopreOgniCarattereRestituito)
{
    // With leading blanks the trimmed length is shorter than the text, and the last characters are returned
    // as they are: a line end or a separator there would reach the backup line unless reported.
    for (std::int16_t chiave = 1; chiave <= 20; ++chiave) {
        SCOPED_TRACE(chiave);
        for (const QString& testo :
             {QStringLiteral("  AB\r\n"), QStringLiteral(" X¦"), QStringLiteral("   AB\nC"), QStringLiteral(" Ał")}) {
            NonCifrabili scarti;
            const QString cifrato = CifraTesto(testo, kScrivi, chiave, &scarti);
            for (qsizetype i = 0; i < cifrato.size(); ++i) {
                const QChar c = cifrato[i];
                if (c == kSep || c == u'\r' || c == u'\n' || cp1252::codeOf(c) < 0) {
                    EXPECT_TRUE(
                        std::any_of(scarti.begin(), scarti.end(), [&](const auto& s) { return s.posizione == i + 1; }))
                        << testo.toStdString() << ": position " << i + 1 << " not reported";
                }
            }
        }
    }
    // The case that reported nothing before: key 9 leaves CR and LF unshifted and reading back keeps them.
    NonCifrabili scarti;
    EXPECT_TRUE(CifraTesto(QStringLiteral("  AB\r\n"), kScrivi, 9, &scarti).endsWith(QStringLiteral("\r\n")));
    EXPECT_EQ(segnalati(QStringLiteral("  AB\r\n"), kScrivi, 9), (Segnalati{{5, M::FineRiga}, {6, M::FineRiga}}));
}

TEST(CifraTestoTest, AndataERitornoSuTestoCasuale)
{
    constexpr std::int16_t chiave = 7;
    std::mt19937 caso(20210305);
    int puliti = 0, conSegnalazioni = 0;
    for (int prova = 0; prova < 5000; ++prova) {
        // Half typed-looking texts, half any character of the code page.
        std::uniform_int_distribution<int> codice(prova % 2 ? 0 : 32, prova % 2 ? 255 : 126);
        QString testo;
        for (int i = std::uniform_int_distribution<int>(0, 60)(caso); i > 0; --i) {
            testo.append(cp1252::charOf(codice(caso)));
        }
        NonCifrabili scarti;
        const QString cifrato = CifraTesto(testo, kScrivi, chiave, &scarti);
        const QString riletto = CifraTesto(cifrato, kLeggi, chiave);
        if (scarti.isEmpty()) {
            ++puliti;
            ASSERT_EQ(riletto, testo) << "unreported damage";
            ASSERT_FALSE(cifrato.contains(kSep) || cifrato.contains(u'\r') || cifrato.contains(u'\n'));
            continue;
        }
        ++conSegnalazioni;
        for (const auto& s : scarti) { // every report names a real problem
            const int spostato = cp1252::codeOf(testo[s.posizione - 1]) + chiave + s.posizione;
            ASSERT_EQ(s.carattere, testo[s.posizione - 1]);
            EXPECT_TRUE((s.motivo == M::FuoriIntervallo && spostato > 255) ||
                        (s.motivo == M::Separatore && spostato == 0xA6) ||
                        (s.motivo == M::FineRiga && (spostato == 10 || spostato == 13)) ||
                        (s.motivo == M::NonReversibile && riletto[s.posizione - 1] != s.carattere));
        }
    }
    EXPECT_GT(puliti, 1000);
    EXPECT_GT(conSegnalazioni, 100);
}

TEST(CifraRigaTest, VociDellaRiga)
{
    const QString riga = kSep + QStringLiteral("COPE") + kSep + QStringLiteral("ABC") + kSep + kSep + "X  ";
    const QString cifrata = CifraRiga(riga, kScrivi, 3);
    EXPECT_EQ(cifrata.split(kSep), (QStringList{"", "GTVL", "EGI", "", "\\  "})) << "each item counts from 1";
    EXPECT_EQ(CifraRiga(cifrata, kLeggi, 3), riga);
    EXPECT_EQ(CifraRiga(QStringLiteral("|AB|C"), QStringLiteral("altro"), 3), kSep + QStringLiteral("AB") + kSep + "C")
        << "split at its first character, joined with the broken bar";

    NonCifrabili scarti;
    CifraRiga(kSep + QStringLiteral("COPE") + kSep + QStringLiteral("¢OK"), kScrivi, 3, &scarti);
    ASSERT_EQ(scarti.size(), 1);
    EXPECT_EQ(scarti[0].voce, 2);
}
