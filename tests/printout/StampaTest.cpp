// The printed card of a subject: every value in its place, the document as readers see it.

#include "StampaProva.h"

#include "../pdf/PdfTestSupport.h"
#include "app/Dates.h"
#include "app/Dichiarazioni.h"
#include "app/Testi.h"

#include <QFile>
#include <QSet>

#include <algorithm>

namespace ondavia::test {

namespace {

using scheda::Rettangolo;

// pdftotext places a word by the font's ascent and descent, a little outside the glyphs themselves.
constexpr float kTolleranza = 0.05F;

bool dentro(const Rettangolo& area, const Rettangolo& parola)
{
    const float cx = parola.x + parola.w / 2;
    const float cy = parola.y + parola.h / 2;
    return cx > area.x && cx < area.destra() && cy > area.y && cy < area.basso();
}

QString senzaBlank(QString testo)
{
    return testo.remove(QLatin1Char(' '));
}

// Each field's value is read back, whole, from the words inside the field's value area, and every one of those
// words lies wholly inside it; each box holds a cross exactly when `spuntate` names its caption. The fields
// named in `tagliati` are too long for any size: they read back as the value's beginning and "…".
// Returns the words read.
std::vector<Parola> verificaScheda(const QString& pdf, const std::map<QString, QString>& riga,
                                   const QSet<QString>& spuntate, const QSet<QString>& tagliati = {})
{
    const std::vector<Parola> parole = paroleDi(pdf);
    EXPECT_FALSE(parole.empty());
    QSet<QString> stampati;
    for (const scheda::Campo& campo : scheda::layout().campi) {
        if (campo.campo == nullptr) {
            continue;
        }
        const QString nome = QString::fromLatin1(campo.campo);
        const QString chiave = nome == QLatin1String("SOGGETTO") ? QStringLiteral("ODES") : nome;
        stampati.insert(chiave);
        const Rettangolo area = areaValore(campo);
        QString letto;
        for (const Parola& p : parole) {
            if (!dentro(area, p.box)) {
                continue;
            }
            EXPECT_TRUE(contiene(area, p.box, kTolleranza))
                << campo.campo << ": \"" << p.testo.toStdString() << "\" reaches out of its field";
            letto += p.testo;
        }
        const QString atteso = senzaBlank(riga.count(chiave) ? riga.at(chiave) : QString());
        if (tagliati.contains(chiave)) {
            EXPECT_TRUE(letto.endsWith(QChar(0x2026))) << campo.campo;
            EXPECT_GT(letto.size(), 20) << campo.campo;
            EXPECT_TRUE(atteso.startsWith(letto.chopped(1))) << campo.campo << ": " << letto.toStdString();
        } else {
            EXPECT_EQ(letto, atteso) << campo.campo;
        }
    }
    for (const scheda::Casella& casella : scheda::layout().caselle) {
        stampati.insert(QString::fromLatin1(casella.campo));
        bool croce = false;
        for (const Parola& p : parole) {
            if (p.testo == QLatin1String("X") && dentro(casella.quadrato, p.box)) {
                croce = true;
            }
        }
        EXPECT_EQ(croce, spuntate.contains(casella.didascalia)) << casella.didascalia.toStdString();
    }
    // Every field of the row is on the card; the type's code is part of its description.
    for (const auto& [campo, valore] : riga) {
        EXPECT_TRUE(stampati.contains(campo) || campo == QLatin1String("oTIPOSOG")) << campo.toStdString();
    }
    return parole;
}

} // namespace

class Stampa : public StampaProva {};

TEST_F(Stampa, ANaturalPersonsCardCarriesEveryValueInItsPlace)
{
    inserisci(personaFisica());
    const QString pdf = desktop(QStringLiteral("dangelo.pdf"));
    scripted.saveAnswers.push_back(pdf);
    // The program was started days before: the print-out carries the day it is printed.
    InizializzaDate(QDate(2026, 12, 1));

    stampa(QStringLiteral("DNGMRA70C45H501Z"), QStringLiteral("001"));

    ASSERT_TRUE(QFile::exists(pdf)) << messaggio().toStdString();
    ASSERT_EQ(scripted.saveRequests.size(), 1u);
    EXPECT_EQ(scripted.saveRequests[0].fileName, "OVIA_DANGELOMARIA_20261205.pdf");
    EXPECT_EQ(scripted.saveRequests[0].initialFolder, scripted.desktop);
    ASSERT_EQ(scripted.opened.size(), 1u);
    EXPECT_EQ(scripted.opened[0], pdf);
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();

    const std::vector<Parola> parole = verificaScheda(pdf, personaFisica(),
                                                      {"PF - Persona fisica", "PRIMO INVIO o VARIAZIONE",
                                                       "ANAGRAFE RAPPORTI", "FACTA/CRS", "Da chi EFFETTUA L'INVIO"});
    EXPECT_TRUE(std::any_of(parole.begin(), parole.end(), [](const Parola& p) { return p.testo == "05/12/2026"; }));

    const auto lettori = folian::test::readWithReaders(pdf.toStdString());
    EXPECT_TRUE(lettori.qpdfClean) << lettori.qpdfOutput;
    EXPECT_EQ(lettori.pdfinfoStderr, "");
    EXPECT_EQ(lettori.field("Title"), "Scheda REI - D'ANGELO MARIA");
    EXPECT_EQ(lettori.field("Subject"),
              "Registro Elettronico degli Indirizzi - D'ANGELO MARIA - C.F. DNGMRA70C45H501Z - progressivo 001");
    // Helvetica and Helvetica-Bold by their standard aliases, never embedded.
    const auto caratteri = folian::test::listedFonts(pdf.toStdString());
    EXPECT_FALSE(caratteri.empty());
    for (const auto& riga : caratteri) {
        const std::vector<std::string> regolare{"Arial", "Type", "1", "WinAnsi", "no"};
        const std::vector<std::string> grassetto{"Arial,Bold", "Type", "1", "WinAnsi", "no"};
        EXPECT_TRUE(riga == regolare || riga == grassetto) << (riga.empty() ? std::string() : riga[0]);
    }
    const std::string byte = folian::test::readFile(pdf.toStdString());
    EXPECT_NE(byte.find("/CreationDate (D:20261205140309"), std::string::npos) << "dated by the clock";
    EXPECT_EQ(byte.find("/Filter"), std::string::npos) << "no compression";

    // The page as a reader draws it, against the picture looked at when the card was laid out.
    folian::test::expectPageLooksLike(pdf.toStdString(), 1, 72, "printout/scheda-pf.png", 16, 0.001);
}

// Long values wrap inside their frames; one too long for any size ends visibly inside its field.
TEST_F(Stampa, ACompanysCardKeepsLongValuesInsideTheirFields)
{
    std::map<QString, QString> riga = personaNonFisica();
    riga["OPEEMAIL"] = QString(260, QLatin1Char('a')) + QStringLiteral("@pec.esempio.it");
    QString indirizzo;
    for (int i = 1; i <= 25; ++i) {
        indirizzo += QStringLiteral("VIA DELL'ARTIGIANATO %1, ").arg(i);
    }
    riga["OSIRAG"] = indirizzo.trimmed();
    inserisci(riga);
    const QString pdf = desktop(QStringLiteral("lunghi.pdf"));
    scripted.saveAnswers.push_back(pdf);

    stampa(QStringLiteral("01234567897"), QStringLiteral("002"));

    ASSERT_TRUE(QFile::exists(pdf)) << messaggio().toStdString();
    verificaScheda(pdf, riga,
                   {"PNF - Persona non fisica", "CANCELLAZIONE", "ANAGRAFE RAPPORTI", "MONITORAGGIO FISCALE",
                    "Cessazione CON confluenza in altro soggetto", "Dal CONTRIBUENTE"},
                   {"OPEEMAIL", "OSIRAG"});
}

} // namespace ondavia::test

namespace ondavia::test {

// A PEC address of one long word is broken after its "@" only where the line stays at least half full: a first
// line of "ab@" alone would leave the field looking empty. The lines read back in order as the address.
TEST_F(Stampa, ALongWordIsBrokenAfterASeparatorOnlyWhereTheLineStaysHalfFull)
{
    std::map<QString, QString> riga = personaFisica();
    QString indirizzo = QStringLiteral("ab@");
    for (int i = 0; i < 300; ++i) {
        indirizzo += QLatin1Char(static_cast<char>('a' + i % 26));
    }
    riga["OPEEMAIL"] = indirizzo;
    inserisci(riga);
    const QString pdf = desktop(QStringLiteral("pec.pdf"));
    scripted.saveAnswers.push_back(pdf);

    stampa(QStringLiteral("DNGMRA70C45H501Z"), QStringLiteral("001"));

    ASSERT_TRUE(QFile::exists(pdf)) << messaggio().toStdString();
    const auto pec =
        std::find_if(scheda::layout().campi.begin(), scheda::layout().campi.end(), [](const scheda::Campo& c) {
            return c.campo != nullptr && c.campo == std::string_view("OPEEMAIL");
        });
    ASSERT_NE(pec, scheda::layout().campi.end());
    const Rettangolo area = areaValore(*pec);
    std::vector<Parola> righe;
    for (const Parola& p : paroleDi(pdf)) {
        if (dentro(area, p.box)) {
            righe.push_back(p);
        }
    }
    ASSERT_GE(righe.size(), 2u);
    std::sort(righe.begin(), righe.end(), [](const Parola& a, const Parola& b) { return a.box.y < b.box.y; });
    const Parola& prima = righe.front();
    EXPECT_NE(prima.testo.toStdString(), "ab@");
    EXPECT_TRUE(prima.testo.startsWith(QStringLiteral("ab@"))) << prima.testo.toStdString();
    EXPECT_GE(prima.box.w, area.w / 2) << prima.testo.toStdString();
    QString letto;
    for (const Parola& p : righe) {
        letto += p.testo;
    }
    if (letto.endsWith(QChar(0x2026))) {
        letto.chop(1);
    } else {
        EXPECT_EQ(letto.size(), indirizzo.size());
    }
    EXPECT_TRUE(indirizzo.startsWith(letto)) << letto.toStdString();
}

} // namespace ondavia::test
