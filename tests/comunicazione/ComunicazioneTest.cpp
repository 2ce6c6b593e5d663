#include "app/Comunicazione.h"
#include "../support/LimiteFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

using namespace ondavia;

namespace {

QString u8(const char* testo)
{
    return QString::fromUtf8(testo);
}

// Where each field goes, written out again from the record layouts: record (0-3 for "0", "1", "2", "9"),
// 1-based position, length. "tipo", "itt", "motivo" and "MOC" are the codes worked out from the options.
struct Posto {
    int record, posizione, lunghezza;
};
const std::map<std::string, std::vector<Posto>> kPosti = {
    // clang-format off
    {"tipo", {{0, 7, 1}}},
    {"topiva", {{0, 8, 16}, {2, 4, 16}}}, {"vOCOG", {{0, 24, 26}, {2, 20, 26}}},
    {"vONOME", {{0, 50, 25}, {2, 46, 25}}}, {"vOSEX", {{0, 75, 1}, {2, 71, 1}}},
    {"vONDT", {{0, 76, 8}, {2, 72, 8}}}, {"vONCOM", {{0, 84, 40}, {2, 80, 40}}},
    {"vONPRO", {{0, 124, 2}, {2, 120, 2}}}, {"torag", {{0, 126, 60}, {2, 122, 60}}},
    {"vOSCOM", {{0, 186, 40}, {2, 182, 40}}}, {"vOSPRO", {{0, 226, 2}, {2, 222, 2}}},
    {"vITTCF", {{0, 228, 16}}}, {"itt", {{0, 244, 1}}},
    {"vRECF", {{1, 2, 16}}}, {"vRECOG", {{1, 18, 26}}}, {"vRENOME", {{1, 44, 25}}}, {"vRESEX", {{1, 69, 1}}},
    {"vREDTNAS", {{1, 70, 8}}}, {"vRENCOM", {{1, 78, 40}}}, {"vRENPRO", {{1, 118, 2}}},
    {"vREEMAIL", {{1, 120, 100}}}, {"vRETEL", {{1, 220, 18}}}, {"vPEEMAIL", {{1, 238, 100}}},
    {"vPEGESTORE", {{1, 338, 50}}}, {"vPEDATAI", {{1, 388, 8}}}, {"vPEDATAF", {{1, 396, 8}}},
    {"MOC", {{1, 404, 3}}},
    {"CBrap", {{2, 2, 2}}}, {"motivo", {{2, 224, 1}}}, {"vDTCANC", {{2, 225, 8}}}, {"vSICF", {{2, 233, 11}}},
    {"vSIRAG", {{2, 244, 60}}}, {"vSICOM", {{2, 304, 40}}}, {"vSIPRO", {{2, 344, 2}}},
    // clang-format on
};

// The expected file: blank records with their fixed texts and "A" at 1798, the given fields ("campo=testo|...",
// a later text of a field replacing an earlier one) placed and cut to their length, Windows-1252 bytes
// (Latin-1, plus the euro sign at 0x80), CR LF after each record.
std::string fileAtteso(const QStringList& parti)
{
    std::array<QString, 4> record;
    const char* fissi[] = {"0PEC00", "1", "2", "9000000001000000001"};
    for (int r = 0; r < 4; ++r) {
        record[r] = QString::fromLatin1(fissi[r]).leftJustified(1797) + u'A';
    }
    for (const QString& voce : parti.join(u'|').split(u'|', Qt::SkipEmptyParts)) {
        for (const Posto& p : kPosti.at(voce.section(u'=', 0, 0).toStdString())) {
            const QString t = voce.section(u'=', 1).leftJustified(p.lunghezza, u' ', true);
            record[p.record].replace(p.posizione - 1, t.size(), t);
        }
    }
    std::string file;
    for (const QString& r : record) {
        file += QString(r).replace(u'€', QChar(0x80)).toLatin1().toStdString() + "\r\n";
    }
    return file;
}

// A natural person sending a first communication, with every box filled so that conditions show.
DatiComunicazione soggetto()
{
    DatiComunicazione d;
    d.topiva = u8("RSSMRA70C05H501U"), d.CBrap = u8("01=BANCHE"), d.o2 = true, d.TC1 = true, d.vITT1 = true;
    d.vOCOG = u8("ROSSI"), d.vONOME = u8("MARIO"), d.vOSEX = u8("M"), d.vONDT = u8("05/03/1970");
    d.vONCOM = u8("ROMA"), d.vONPRO = u8("RM"), d.torag = u8("ROSSI MARIO & C. SRL"), d.vOSCOM = u8("MILANO");
    d.vOSPRO = u8("MI"), d.MOC1 = 1, d.MOC3 = 1;
    d.vRECF = u8("BNCLGU80A01F205X"), d.vRECOG = u8("BIANCHI"), d.vRENOME = u8("LUIGI"), d.vRESEX = u8("M");
    d.vREDTNAS = u8("01/01/1980"), d.vRENCOM = u8("MILANO"), d.vRENPRO = u8("MI");
    d.vREEMAIL = u8("luigi.bianchi@esempio.it"), d.vRETEL = u8("02 1234567");
    d.vPEEMAIL = u8("rossi@pec.esempio.it"), d.vPEGESTORE = u8("ARUBA PEC"), d.vPEDATAI = u8("01/02/2021");
    d.vPEDATAF = u8("31/12/2025"), d.vDTCANC = u8("30/06/2022"), d.vSICF = u8("01234567890");
    d.vSIRAG = u8("VIA ROMA 1"), d.vSICOM = u8("TORINO"), d.vSIPRO = u8("TO");
    return d;
}

// clang-format off
const QString kSempre = u8("topiva=RSSMRA70C05H501U|CBrap=01|MOC=101|vRECF=BNCLGU80A01F205X|vRECOG=BIANCHI|"
    "vRENOME=LUIGI|vRESEX=M|vREDTNAS=01011980|vRENCOM=MILANO|vRENPRO=MI|vREEMAIL=luigi.bianchi@esempio.it|"
    "vRETEL=02 1234567");
const QString kPF = u8("vOCOG=ROSSI|vONOME=MARIO|vOSEX=M|vONDT=05031970|vONCOM=ROMA|vONPRO=RM");
const QString kPNF = u8("torag=ROSSI MARIO & C. SRL|vOSCOM=MILANO|vOSPRO=MI");
const QString kPEC = u8("vPEEMAIL=rossi@pec.esempio.it|vPEGESTORE=ARUBA PEC|vPEDATAI=01022021|vPEDATAF=31122025");
const QString kContabilita = u8("vSIRAG=VIA ROMA 1|vSICOM=TORINO|vSIPRO=TO");
const QString kPrimo = u8("tipo=0");
const QString kCanc = u8("tipo=1|vDTCANC=30062022");
// clang-format on

void cancella(DatiComunicazione& d, bool mc1, bool mc2, bool mc3)
{
    d.TC1 = false, d.TC2 = true, d.mc1 = mc1, d.mc2 = mc2, d.mc3 = mc3;
}

QByteArray leggi(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

bool scrivi(const QString& percorso, const QByteArray& dati)
{
    QFile f(percorso);
    return f.open(QIODevice::WriteOnly) && f.write(dati) == dati.size();
}

} // namespace

TEST(ComunicazioneTest, FileByteEsatti)
{
    using D = DatiComunicazione;
    const QString lungo = u8("ABCDEFGHIJ").repeated(13);
    const struct {
        const char* nome;
        std::function<void(D&)> cambia;
        QStringList scritti; // besides kSempre
    } casi[] = {
        // clang-format off
        {"PF", [](D&) {}, {kPrimo, kPF, kPEC}},
        {"PNF", [](D& d) { d.o1 = true, d.o2 = false; }, {kPrimo, kPNF, kPEC}},
        {"neither PF nor PNF", [](D& d) { d.o2 = false; }, {kPrimo, kPEC}},
        {"mc1", [](D& d) { cancella(d, true, false, false); }, {kCanc, kPF, kContabilita, u8("motivo=1")}},
        {"mc2", [](D& d) { cancella(d, false, true, false); }, {kCanc, kPF, u8("motivo=2|vSICF=01234567890")}},
        {"mc3", [](D& d) { cancella(d, false, false, true); }, {kCanc, kPF, kContabilita, u8("motivo=3")}},
        {"TC2, no reason", [](D& d) { cancella(d, false, false, false); }, {kCanc, kPF}},
        {"neither TC1 nor TC2", [](D& d) { d.TC1 = false; }, {kPrimo, kPF}},
        {"vITTCF, vITT1", [](D& d) { d.vITTCF = u8("ITTCFX80A01F205Z"); },
         {kPrimo, kPF, kPEC, u8("vITTCF=ITTCFX80A01F205Z|itt=1")}},
        {"vITTCF, vITT2", [](D& d) { d.vITTCF = u8("ITT"), d.vITT1 = false, d.vITT2 = true; },
         {kPrimo, kPF, kPEC, u8("vITTCF=ITT|itt=2")}},
        {"no vITTCF, vITT2", [](D& d) { d.vITT1 = false, d.vITT2 = true; }, {kPrimo, kPF, kPEC}},
        {"texts longer than their fields",
         [&](D& d) {
             d.o1 = true, d.CBrap = u8("ZZ=ALTRO"), cancella(d, false, true, false);
             d.topiva = d.vOCOG = d.torag = d.vOSCOM = d.vOSPRO = d.vREEMAIL = d.vRETEL = d.vSICF = lungo;
         },
         {kCanc, kPF, u8("motivo=2|CBrap=ZZ|topiva=%1|vOCOG=%1|torag=%1|vOSCOM=%1|vOSPRO=%1|vREEMAIL=%1|vRETEL=%1|"
                         "vSICF=%1").arg(lungo)}},
        {"empty dates",
         [](D& d) { d.vONDT = d.vREDTNAS = d.vPEDATAI = d.vPEDATAF = d.vDTCANC = QString(), d.TC2 = true; },
         {kPF, kPEC, u8("tipo=1|vONDT=|vREDTNAS=|vPEDATAI=|vPEDATAF=")}},
        {"accented texts", [](D& d) { d.vOCOG = u8("NICOLÒ"), d.vONOME = u8("JOSÉ"), d.vREEMAIL = u8("à€ß"); },
         {kPrimo, kPF, kPEC, u8("vOCOG=NICOLÒ|vONOME=JOSÉ|vREEMAIL=à€ß")}},
        // clang-format on
    };
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("OVIA_ROSSIMARIO_001.TXT"));
    for (const auto& caso : casi) {
        DatiComunicazione dati = soggetto();
        caso.cambia(dati);
        QString errore;
        ASSERT_TRUE(scriviComunicazione(percorso, dati, &errore)) << caso.nome << ": " << errore.toStdString();
        EXPECT_EQ(leggi(percorso).toStdString(), fileAtteso(QStringList{kSempre} + caso.scritti)) << caso.nome;
    }
}

TEST(ComunicazioneTest, DateECaratteriRifiutatiPrimaDiScrivere)
{
    // Only what reaches the file is checked: a box whose field is not written, or the part of a text past
    // its field's length, cannot spoil the file.
    const struct {
        const char* nome;
        std::function<void(DatiComunicazione&)> cambia;
        const char* errore; // a fragment of the message; nullptr: the file is written
    } casi[] = {
        {"PF birth date", [](DatiComunicazione& d) { d.vONDT = u8("31/02/1970"); },
         "il campo \"Data di nascita\" (scheda SOGGETTO) contiene \"31/02/1970\", che non è una data valida"},
        {"PNF keeps no birth date", [](DatiComunicazione& d) { d.vONDT = u8("31/02/1970"), d.o1 = true, d.o2 = false; },
         nullptr},
        {"PEC date with TC1", [](DatiComunicazione& d) { d.vPEDATAF = u8("xx"); }, "\"Data CESSAZIONE\""},
        {"PEC date with TC2", [](DatiComunicazione& d) { d.vPEDATAF = u8("xx"), d.TC1 = false, d.TC2 = true; },
         nullptr},
        {"surname", [](DatiComunicazione& d) { d.vOCOG = u8("ŁUKASIEWICZ"); },
         "il campo \"Cognome\" (scheda SOGGETTO) contiene il carattere \"Ł\""},
        {"responsible's surname", [](DatiComunicazione& d) { d.vRECOG = u8("BIANCHI 🙂"); },
         "\"Cognome\" (scheda RESPONSABILE) contiene il carattere \"🙂\""},
        {"past the field", [](DatiComunicazione& d) { d.vOSEX = u8("MŁ"); }, nullptr},
        // a line break would split its record in two
        {"company name", [](DatiComunicazione& d) { d.torag = u8("ALFA\r\nSPA"), d.o1 = true, d.o2 = false; },
         "il campo \"Ragione Sociale\" (scheda SOGGETTO) contiene un a capo o un altro carattere di controllo"},
        {"PEC provider", [](DatiComunicazione& d) { d.vPEGESTORE = QString(u8("ARUBA")) + QChar(0x85); },
         "\"Gestore PEC\""},
        {"control past the field", [](DatiComunicazione& d) { d.vOSEX = u8("M\n"); }, nullptr},
        {"one-digit day", [](DatiComunicazione& d) { d.vONDT = u8("1/2/1980"); }, "contiene \"1/2/1980\""},
    };
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("OVIA.TXT"));
    for (const auto& caso : casi) {
        ASSERT_TRUE(scrivi(percorso, "vecchio"));
        DatiComunicazione dati = soggetto();
        caso.cambia(dati);
        QString errore;
        const bool scritto = scriviComunicazione(percorso, dati, &errore);
        EXPECT_EQ(scritto, caso.errore == nullptr) << caso.nome;
        EXPECT_EQ(leggi(percorso).size(), scritto ? 7200 : 7) << caso.nome;
        if (caso.errore) {
            EXPECT_TRUE(errore.contains(u8(caso.errore))) << caso.nome << ": " << errore.toStdString();
        }
        EXPECT_EQ(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("OVIA.TXT")});
    }
}

TEST(ComunicazioneTest, CartellaNonScrivibileEScritturaInterrotta)
{
    QTemporaryDir cartella;
    const QString bersaglio = cartella.filePath(QStringLiteral("manca/OVIA.TXT"));
    QString errore;
    EXPECT_FALSE(scriviComunicazione(bersaglio, soggetto(), &errore));
    EXPECT_TRUE(errore.startsWith(QStringLiteral("Impossibile creare il file di comunicazione\r\n") + bersaglio))
        << errore.toStdString();
    EXPECT_FALSE(QFile::exists(bersaglio));

    // The disk refuses the file past 4 KiB: the existing file is left as it was, and no temporary file stays.
    const QString percorso = cartella.filePath(QStringLiteral("OVIA.TXT"));
    ASSERT_TRUE(scrivi(percorso, "vecchio"));
    errore.clear();
    bool scritto = true;
    {
        test::LimiteFile limite(4096);
        ASSERT_TRUE(limite.attivo());
        scritto = scriviComunicazione(percorso, soggetto(), &errore);
    }
    EXPECT_FALSE(scritto);
    EXPECT_TRUE(errore.startsWith(QStringLiteral("Impossibile completare il file di comunicazione\r\n") + percorso))
        << errore.toStdString();
    EXPECT_EQ(leggi(percorso), QByteArray("vecchio"));
    EXPECT_EQ(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("OVIA.TXT")});
}
