// The card's layout and its template page.

#include "../pdf/PdfTestSupport.h"
#include "../support/TempHome.h"
#include "Verifiche.h"
#include "core/Folian.h"
#include "printout/ModelloStampa.h"
#include "printout/SchedaSoggetto.h"
#include "printout/wD.h"
#include "streams/QpdfSource.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ondavia::test {

namespace {

// The template is read by the reader linked in, as the program reads it through its module.
class LettoreCollegato : public ::testing::Environment {
public:
    void SetUp() override
    {
        folian::Hooks hooks;
        hooks.openPdf = folian::OpenWithQpdf;
        folian::SetDefaultHooks(std::move(hooks));
    }
};

[[maybe_unused]] ::testing::Environment* const lettore = ::testing::AddGlobalTestEnvironment(new LettoreCollegato);

} // namespace

using scheda::Rettangolo;

namespace {

constexpr float kLarghezzaA4 = 596 / scheda::kPuntiPerCm;
constexpr float kAltezzaA4 = 842 / scheda::kPuntiPerCm;

std::string nome(const scheda::Campo& c)
{
    return c.etichetta.toStdString();
}

} // namespace

TEST(Scheda, FramesFieldsAndBoxesNeverOverlapAndStayOnThePage)
{
    const scheda::Layout& l = scheda::layout();
    const Rettangolo pagina{1.0F, 0.8F, kLarghezzaA4 - 2.0F, kAltezzaA4 - 1.6F};
    ASSERT_GE(l.cornici.size(), 5u);

    for (std::size_t i = 0; i < l.cornici.size(); ++i) {
        EXPECT_TRUE(contiene(pagina, l.cornici[i].area)) << l.cornici[i].titolo.toStdString();
        for (std::size_t j = i + 1; j < l.cornici.size(); ++j) {
            EXPECT_FALSE(interseca(l.cornici[i].area, l.cornici[j].area))
                << l.cornici[i].titolo.toStdString() << " / " << l.cornici[j].titolo.toStdString();
        }
    }
    for (std::size_t i = 0; i < l.campi.size(); ++i) {
        const scheda::Campo& c = l.campi[i];
        // Inside a frame, below its caption band, or (the subject's name) in the heading's band.
        int contenitori = 0;
        for (const scheda::Cornice& f : l.cornici) {
            if (contiene(f.area, c.cella)) {
                ++contenitori;
                EXPECT_GT(c.cella.y, f.area.y + 0.5F) << nome(c);
            }
        }
        for (const scheda::Fascia& f : l.fasce) {
            contenitori += contiene(f.area, c.cella, 0.05F) ? 1 : 0;
        }
        EXPECT_EQ(contenitori, 1) << nome(c);
        for (std::size_t j = i + 1; j < l.campi.size(); ++j) {
            EXPECT_FALSE(interseca(c.cella, l.campi[j].cella)) << nome(c) << " / " << nome(l.campi[j]);
        }
        // The value has room for a line of the smallest size between the caption and the field's line.
        const Rettangolo area = areaValore(c);
        EXPECT_TRUE(contiene(c.cella, area)) << nome(c);
        EXPECT_GT(area.y, baseEtichetta(c)) << nome(c);
        EXPECT_GE(area.h, scheda::kCorpoMinimo * scheda::kInterlinea / scheda::kPuntiPerCm) << nome(c);
        if (c.linea) {
            EXPECT_LE(area.basso(), lineaCampo(c)) << nome(c);
        }
    }
    for (std::size_t i = 0; i < l.caselle.size(); ++i) {
        const scheda::Casella& b = l.caselle[i];
        int celle = 0;
        for (const scheda::Campo& c : l.campi) {
            if (contiene(c.cella, b.quadrato)) {
                ++celle;
                EXPECT_EQ(c.campo, nullptr) << "a box sits in the value of " << nome(c);
                EXPECT_GT(b.quadrato.y, baseEtichetta(c)) << b.didascalia.toStdString();
            }
        }
        EXPECT_EQ(celle, 1) << b.didascalia.toStdString();
        for (std::size_t j = i + 1; j < l.caselle.size(); ++j) {
            EXPECT_FALSE(interseca(b.quadrato, l.caselle[j].quadrato)) << b.didascalia.toStdString();
        }
    }
    const float fondoCornici = l.cornici.back().area.basso();
    for (const scheda::Firma& f : l.firme) {
        EXPECT_GT(f.y, fondoCornici + 0.5F) << f.didascalia.toStdString();
        EXPECT_LT(f.y + 0.5F, l.didascaliaData.y - 1.0F) << f.didascalia.toStdString();
    }
}

TEST(Modello, TheProgramWritesItsOwnTemplateAndKeepsAnInstallations)
{
    TempHome home;
    const QString percorso = percorsoModello();
    QString errore;

    // A file where the templates' folder should be: no user, not even an administrator, can write there.
    home.write(QStringLiteral("Stampe"), "non una cartella");
    EXPECT_FALSE(preparaModello(&errore));
    EXPECT_TRUE(errore.contains(home.file(QStringLiteral("Stampe")))) << errore.toStdString();
    EXPECT_EQ(home.read(QStringLiteral("Stampe")), "non una cartella");
    ASSERT_TRUE(QFile::remove(home.file(QStringLiteral("Stampe"))));

    ASSERT_TRUE(preparaModello(&errore)) << errore.toStdString();
    ASSERT_TRUE(QFileInfo::exists(percorso));
    // The print-outs' own tests read the page as drawn; here, what only the template holds.
    const auto report = folian::test::readWithReaders(percorso.toStdString());
    EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
    EXPECT_EQ(report.field("Keywords"), firmaModello().toStdString());
    EXPECT_EQ(report.field("Author"), "Ondavia") << "the template belongs to no subject";

    // Every caption of the card lies inside its field's cell.
    const std::vector<Parola> parole = paroleDi(percorso);
    for (const scheda::Campo& c : scheda::layout().campi) {
        const QStringList attese = c.etichetta.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        int trovate = 0;
        for (const Parola& p : parole) {
            if (contiene(c.cella, p.box, 0.05F) && p.box.y < baseEtichetta(c)) {
                trovate += attese.contains(p.testo) ? 1 : 0;
            }
        }
        EXPECT_EQ(trovate, attese.size()) << nome(c);
    }

    // A template of ours laid out by an earlier version would put the values out of their frames.
    QByteArray vecchio = home.read(QStringLiteral("Stampe/basec1.pdf"));
    const QByteArray firma = firmaModello().toLatin1();
    const QByteArray firmaVecchia = firma.left(firma.size() - 1) + "0";
    ASSERT_TRUE(vecchio.contains(firma));
    vecchio.replace(firma, firmaVecchia);
    home.write(QStringLiteral("Stampe/basec1.pdf"), vecchio);
    ASSERT_TRUE(preparaModello(&errore)) << errore.toStdString();
    const QByteArray nuovo = home.read(QStringLiteral("Stampe/basec1.pdf"));
    EXPECT_TRUE(nuovo.contains(firma));
    EXPECT_FALSE(nuovo.contains(firmaVecchia));

    home.write(QStringLiteral("Stampe/basec1.pdf"), "%PDF-1.4\n% carta intestata dello studio\n");
    ASSERT_TRUE(preparaModello(&errore)) << errore.toStdString();
    EXPECT_EQ(home.read(QStringLiteral("Stampe/basec1.pdf")), "%PDF-1.4\n% carta intestata dello studio\n");
}

} // namespace ondavia::test

namespace ondavia::test {

// A restored value may hold one word of any length. It is laid out however long, and cut visibly
// where the field ends: the lines fill the field at the smallest size, each inside its width, and read as
// the value's beginning followed by "…".
TEST(Scheda, AWordOfAMillionCharactersIsCutVisibly)
{
    QTemporaryDir cartella;
    folian::Folian pdf;
    pdf.SetScale(3);
    pdf.BeginDoc(QFile::encodeName(cartella.filePath(QStringLiteral("lungo.pdf"))).toStdString());
    ASSERT_EQ(pdf.ErrNumber(), 0) << pdf.ErrDescription();
    const scheda::Campo* pec = nullptr;
    for (const scheda::Campo& c : scheda::layout().campi) {
        pec = c.campo != nullptr && std::string(c.campo) == "OPEEMAIL" ? &c : pec;
    }
    ASSERT_NE(pec, nullptr);
    const scheda::Rettangolo area = areaValore(*pec);
    std::string valore;
    for (int i = 0; valore.size() < 1000000; ++i) {
        valore += "amministrazione" + std::to_string(i) + ".";
    }

    // How long it takes is bench/printout's business; here, where it breaks and how it ends.
    const TestoAdattato testo = adattaTesto(pdf, valore, area, pec->corpoMassimo, pec->grassetto);

    EXPECT_TRUE(testo.tagliato);
    EXPECT_EQ(testo.corpo, scheda::kCorpoMinimo);
    const auto possibili =
        static_cast<std::size_t>(area.h / (scheda::kCorpoMinimo * scheda::kInterlinea / scheda::kPuntiPerCm) + 1e-4F);
    ASSERT_EQ(testo.righe.size(), possibili);
    std::string letto;
    for (const std::string& riga : testo.righe) {
        EXPECT_LE(pdf.TextLength(riga), area.w) << riga;
        // Broken after a full stop, never inside a number.
        EXPECT_GT(pdf.TextLength(riga + "amministrazione999999."), area.w) << riga;
        letto += riga;
    }
    ASSERT_TRUE(letto.ends_with('\x85'));
    letto.pop_back();
    EXPECT_GT(letto.size(), 100u);
    EXPECT_EQ(valore.substr(0, letto.size()), letto);
    for (std::size_t i = 0; i + 1 < testo.righe.size(); ++i) {
        EXPECT_TRUE(testo.righe[i].ends_with('.')) << testo.righe[i];
    }
}

} // namespace ondavia::test
