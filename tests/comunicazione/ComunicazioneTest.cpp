#include "app/Comunicazione.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

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

using Scritti = std::map<std::string, QString>;

// The expected file: blank records with their fixed texts and "A" at 1798, the given fields placed and cut
// to their length, Windows-1252 bytes (Latin-1, plus the euro sign at 0x80), CR LF after each record.
QByteArray fileAtteso(const Scritti& scritti)
{
    std::array<QString, 4> record;
    const char* fissi[] = {"0PEC00", "1", "2", "9000000001000000001"};
    for (int r = 0; r < 4; ++r) {
        record[r] = QString(1797, u' ') + u'A';
        record[r].replace(0, int(qstrlen(fissi[r])), QString::fromLatin1(fissi[r]));
    }
    for (const auto& [campo, testo] : scritti) {
        for (const Posto& p : kPosti.at(campo)) {
            const QString t = testo.left(p.lunghezza);
            record[p.record].replace(p.posizione - 1, t.size(), t);
        }
    }
    QByteArray file;
    for (const QString& r : record) {
        file += QString(r).replace(u'€', QChar(0x80)).toLatin1() + "\r\n";
    }
    return file;
}

// The parts merged in order, a later part's text replacing an earlier one's.
Scritti unisci(std::initializer_list<Scritti> parti)
{
    Scritti tutto;
    for (const Scritti& p : parti) {
        for (const auto& [campo, testo] : p) {
            tutto[campo] = testo;
        }
    }
    return tutto;
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

const Scritti kSempre = {{"topiva", u8("RSSMRA70C05H501U")}, {"CBrap", u8("01")}, {"MOC", u8("101")},
                         {"vRECF", u8("BNCLGU80A01F205X")},  {"vRECOG", u8("BIANCHI")},
                         {"vRENOME", u8("LUIGI")},           {"vRESEX", u8("M")},
                         {"vREDTNAS", u8("01011980")},       {"vRENCOM", u8("MILANO")},
                         {"vRENPRO", u8("MI")},              {"vREEMAIL", u8("luigi.bianchi@esempio.it")},
                         {"vRETEL", u8("02 1234567")}};
const Scritti kPF = {{"vOCOG", u8("ROSSI")},      {"vONOME", u8("MARIO")}, {"vOSEX", u8("M")},
                     {"vONDT", u8("05031970")}, {"vONCOM", u8("ROMA")},  {"vONPRO", u8("RM")}};
const Scritti kPNF = {{"torag", u8("ROSSI MARIO & C. SRL")}, {"vOSCOM", u8("MILANO")}, {"vOSPRO", u8("MI")}};
const Scritti kPEC = {{"vPEEMAIL", u8("rossi@pec.esempio.it")},
                      {"vPEGESTORE", u8("ARUBA PEC")},
                      {"vPEDATAI", u8("01022021")},
                      {"vPEDATAF", u8("31122025")}};
const Scritti kContabilita = {{"vSIRAG", u8("VIA ROMA 1")}, {"vSICOM", u8("TORINO")}, {"vSIPRO", u8("TO")}};
const Scritti kPrimoInvio = {{"tipo", u8("0")}};
const Scritti kCancellazione = {{"tipo", u8("1")}, {"vDTCANC", u8("30062022")}};

void cancella(DatiComunicazione& d, bool mc1, bool mc2, bool mc3)
{
    d.TC1 = false, d.TC2 = true, d.mc1 = mc1, d.mc2 = mc2, d.mc3 = mc3;
}

QString primaDifferenza(const QByteArray& trovato, const QByteArray& atteso)
{
    for (qsizetype i = 0; i < std::min(trovato.size(), atteso.size()); ++i) {
        if (trovato[i] != atteso[i]) {
            return QStringLiteral("record %1 position %2: found \"%3\", expected \"%4\"")
                .arg(i / 1800)
                .arg(i % 1800 + 1)
                .arg(QString::fromLatin1(trovato.mid(i, 20)), QString::fromLatin1(atteso.mid(i, 20)));
        }
    }
    return QStringLiteral("sizes %1 and %2").arg(trovato.size()).arg(atteso.size());
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
    const QString lungo = u8("ABCDEFGHIJ").repeated(13);
    const struct {
        const char* nome;
        std::function<void(DatiComunicazione&)> cambia;
        Scritti scritti; // besides kSempre
    } casi[] = {
        {"PF", [](DatiComunicazione&) {}, unisci({kPrimoInvio, kPF, kPEC})},
        {"PNF", [](DatiComunicazione& d) { d.o1 = true, d.o2 = false; }, unisci({kPrimoInvio, kPNF, kPEC})},
        {"neither PF nor PNF", [](DatiComunicazione& d) { d.o2 = false; }, unisci({kPrimoInvio, kPEC})},
        {"cancellation mc1", [](DatiComunicazione& d) { cancella(d, true, false, false); },
         unisci({kCancellazione, kPF, kContabilita, {{"motivo", u8("1")}}})},
        {"cancellation mc2", [](DatiComunicazione& d) { cancella(d, false, true, false); },
         unisci({kCancellazione, kPF, {{"motivo", u8("2")}, {"vSICF", u8("01234567890")}}})},
        {"cancellation mc3", [](DatiComunicazione& d) { cancella(d, false, false, true); },
         unisci({kCancellazione, kPF, kContabilita, {{"motivo", u8("3")}}})},
        {"cancellation, no reason", [](DatiComunicazione& d) { cancella(d, false, false, false); },
         unisci({kCancellazione, kPF})},
        {"neither TC1 nor TC2", [](DatiComunicazione& d) { d.TC1 = false; }, unisci({kPrimoInvio, kPF})},
        {"intermediary, vITT1", [](DatiComunicazione& d) { d.vITTCF = u8("ITTCFX80A01F205Z"); },
         unisci({kPrimoInvio, kPF, kPEC, {{"vITTCF", u8("ITTCFX80A01F205Z")}, {"itt", u8("1")}}})},
        {"intermediary, vITT2", [](DatiComunicazione& d) { d.vITTCF = u8("ITT"), d.vITT1 = false, d.vITT2 = true; },
         unisci({kPrimoInvio, kPF, kPEC, {{"vITTCF", u8("ITT")}, {"itt", u8("2")}}})},
        {"intermediary, no option", [](DatiComunicazione& d) { d.vITTCF = u8("ITT"), d.vITT1 = false; },
         unisci({kPrimoInvio, kPF, kPEC, {{"vITTCF", u8("ITT")}, {"itt", u8("1")}}})},
        {"no intermediary, vITT2", [](DatiComunicazione& d) { d.vITT1 = false, d.vITT2 = true; },
         unisci({kPrimoInvio, kPF, kPEC})},
        {"texts longer than their fields",
         [&](DatiComunicazione& d) {
             d.o1 = true, d.TC1 = false, d.TC2 = true, d.mc2 = true;
             d.topiva = d.vOCOG = d.torag = d.vOSCOM = d.vOSPRO = d.vREEMAIL = d.vRETEL = d.vSICF = lungo;
             d.CBrap = u8("ZZ=ALTRO");
         },
         unisci({kPF,
                 {{"motivo", u8("2")}, {"tipo", u8("1")}, {"vDTCANC", u8("30062022")}, {"CBrap", u8("ZZ")},
                  {"topiva", lungo}, {"vOCOG", lungo}, {"torag", lungo}, {"vOSCOM", lungo}, {"vOSPRO", lungo},
                  {"vREEMAIL", lungo}, {"vRETEL", lungo}, {"vSICF", lungo}}})},
        {"empty dates",
         [](DatiComunicazione& d) {
             d.vONDT.clear(), d.vREDTNAS.clear(), d.vPEDATAI.clear(), d.vPEDATAF.clear();
             d.TC2 = true, d.vDTCANC.clear();
         },
         unisci({kPF, kPEC, {{"vONDT", u8("")}, {"vREDTNAS", u8("")}, {"vPEDATAI", u8("")}, {"vPEDATAF", u8("")},
                              {"tipo", u8("1")}}})},
        {"accented texts",
         [](DatiComunicazione& d) { d.vOCOG = u8("NICOLÒ"), d.vONOME = u8("JOSÉ"), d.vREEMAIL = u8("à€ß"); },
         unisci({kPrimoInvio, kPF, kPEC,
                 {{"vOCOG", u8("NICOLÒ")}, {"vONOME", u8("JOSÉ")}, {"vREEMAIL", u8("à€ß")}}})},
    };
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("OVIA_ROSSIMARIO_001.TXT"));
    for (const auto& caso : casi) {
        DatiComunicazione dati = soggetto();
        caso.cambia(dati);
        QString errore;
        ASSERT_TRUE(ScriviComunicazione(percorso, dati, &errore)) << caso.nome << ": " << errore.toStdString();
        const QByteArray atteso = fileAtteso(unisci({kSempre, caso.scritti}));
        const QByteArray trovato = leggi(percorso);
        EXPECT_EQ(trovato.size(), 7200) << caso.nome;
        EXPECT_TRUE(trovato == atteso) << caso.nome << ": " << primaDifferenza(trovato, atteso).toStdString();
    }
    // The accented case is still on disk: its bytes are the code page's, one per character.
    EXPECT_EQ(leggi(percorso).mid(23, 7), QByteArray("NICOL\xD2 "));
    EXPECT_EQ(leggi(percorso).mid(1800 + 119, 4), QByteArray("\xE0\x80\xDF "));
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
        {"responsible's date", [](DatiComunicazione& d) { d.vREDTNAS = u8("1980"); },
         "\"Data di nascita\" (scheda RESPONSABILE) contiene \"1980\""},
        {"PEC date with TC1", [](DatiComunicazione& d) { d.vPEDATAF = u8("xx"); }, "\"Data CESSAZIONE\""},
        {"PEC date with TC2", [](DatiComunicazione& d) { d.vPEDATAF = u8("xx"), d.TC1 = false, d.TC2 = true; },
         nullptr},
        {"cancellation date", [](DatiComunicazione& d) { d.vDTCANC = u8("00/00/0000"), d.TC2 = true; },
         "\"Data CANCELLAZIONE\" (scheda CANCELLAZIONE PEC)"},
        {"surname", [](DatiComunicazione& d) { d.vOCOG = u8("ŁUKASIEWICZ"); },
         "il campo \"Cognome\" (scheda SOGGETTO) contiene il carattere \"Ł\""},
        {"responsible's surname", [](DatiComunicazione& d) { d.vRECOG = u8("BIANCHI 🙂"); },
         "\"Cognome\" (scheda RESPONSABILE) contiene il carattere \"🙂\""},
        {"subject type", [](DatiComunicazione& d) { d.CBrap = u8("0→"); }, "\"Tipo Soggetto\""},
        {"accounts address", [](DatiComunicazione& d) { d.vSIRAG = u8("VIA ŁÓDŹ"), cancella(d, false, false, true); },
         "\"Indirizzo della contabilità ordinaria\" (scheda CANCELLAZIONE PEC) contiene il carattere \"Ł\""},
        {"company name of a PF", [](DatiComunicazione& d) { d.torag = u8("ŁÓDŹ SRL"); }, nullptr},
        {"past the field", [](DatiComunicazione& d) { d.vOSEX = u8("MŁ"); }, nullptr},
    };
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("OVIA.TXT"));
    for (const auto& caso : casi) {
        ASSERT_TRUE(scrivi(percorso, "vecchio"));
        DatiComunicazione dati = soggetto();
        caso.cambia(dati);
        QString errore;
        const bool scritto = ScriviComunicazione(percorso, dati, &errore);
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
    ASSERT_TRUE(scrivi(cartella.filePath(QStringLiteral("file")), "x"));
    QStringList bersagli = {cartella.filePath(QStringLiteral("manca/OVIA.TXT")),
                            cartella.filePath(QStringLiteral("file/OVIA.TXT"))};
    const QString chiusa = cartella.filePath(QStringLiteral("chiusa"));
    if (::geteuid() != 0) { // permissions do not stop the superuser
        ASSERT_TRUE(QDir().mkdir(chiusa) && QFile::setPermissions(chiusa, QFile::ReadOwner | QFile::ExeOwner));
        bersagli << chiusa + QStringLiteral("/OVIA.TXT");
    }
    for (const QString& bersaglio : bersagli) {
        QString errore;
        EXPECT_FALSE(ScriviComunicazione(bersaglio, soggetto(), &errore)) << bersaglio.toStdString();
        EXPECT_TRUE(errore.startsWith(QStringLiteral("Impossibile creare il file di comunicazione\r\n") + bersaglio))
            << errore.toStdString();
        EXPECT_FALSE(QFile::exists(bersaglio));
    }

    // The disk refuses the file past 4 KiB: the existing file is left as it was, and no temporary file stays.
    const QString percorso = cartella.filePath(QStringLiteral("OVIA.TXT"));
    ASSERT_TRUE(scrivi(percorso, "vecchio"));
    rlimit prima{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &prima), 0);
    rlimit limite = prima;
    limite.rlim_cur = 4096;
    const auto segnale = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limite), 0);
    QString errore;
    const bool scritto = ScriviComunicazione(percorso, soggetto(), &errore);
    ::setrlimit(RLIMIT_FSIZE, &prima);
    std::signal(SIGXFSZ, segnale);
    EXPECT_FALSE(scritto);
    EXPECT_TRUE(errore.startsWith(QStringLiteral("Impossibile completare il file di comunicazione\r\n") + percorso))
        << errore.toStdString();
    EXPECT_EQ(leggi(percorso), QByteArray("vecchio"));
    QStringList rimasti = QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden);
    rimasti.sort();
    EXPECT_EQ(rimasti, (QStringList{QStringLiteral("OVIA.TXT"), QStringLiteral("file")}));
}

TEST(ComunicazioneTest, MessaggioComunicazioneCreata)
{
    EXPECT_EQ(TitoloComunicazioneCreata(), QStringLiteral("Comunicazione Creata"));
    EXPECT_EQ(TestoComunicazioneCreata(QStringLiteral("/home/op/Desktop/OVIA_ROSSI_001.TXT")),
              QStringLiteral("Creata comunicazione Registro Elettronico Indirizzi \r\n \r\n"
                             "/home/op/Desktop/OVIA_ROSSI_001.TXT\r\n \r\n"
                             "Verificare la comunicazione con il programma: \r\n"
                             "CONTROLLO COMUNICAZIONE AL REGISTRO REI \r\n"
                             "con Desktop Telematico - Entratel o Fisconline"));
}
