#include "Comunicazione.h"

#include "Dates.h"
#include "FileUtente.h"
#include "Testi.h"
#include "Windows1252.h"

#include <QDir>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <vector>

namespace ondavia {

namespace {

// When a field is written; a field whose condition does not hold stays blank. Each field is tested on
// its own, so the file carries whatever the form's options say, even an unusual mix of them.
enum class Quando {
    Sempre,
    PF,                 // natural person (o2)
    PNF,                // legal entity (o1)
    TC1,                // first sending or change
    TC2,                // cancellation
    TC2ConConfluenza,   // cancellation, merged into another subject (mc2)
    TC2SenzaConfluenza, // cancellation, accounts held elsewhere (mc1 or mc3)
    Intermediario,      // an intermediary's fiscal code is given
};

bool vale(Quando quando, const DatiComunicazione& d)
{
    switch (quando) {
    case Quando::Sempre:
        return true;
    case Quando::PF:
        return d.o2;
    case Quando::PNF:
        return d.o1;
    case Quando::TC1:
        return d.TC1;
    case Quando::TC2:
        return d.TC2;
    case Quando::TC2ConConfluenza:
        return d.TC2 && d.mc2;
    case Quando::TC2SenzaConfluenza:
        return d.TC2 && (d.mc1 || d.mc3);
    case Quando::Intermediario:
        return !d.vITTCF.isEmpty();
    }
    return false;
}

// The field as the user knows it: the label on the form and the tab that holds it.
struct Campo {
    const char* etichetta = nullptr;
    const char* scheda = nullptr;
};

constexpr const char* kSoggetto = "SOGGETTO";
constexpr const char* kResponsabile = "RESPONSABILE";
constexpr const char* kPosta = "POSTA ELETTRONICA";
constexpr const char* kCancellazione = "CANCELLAZIONE PEC";
constexpr const char* kImpegno = "IMPEGNO ALLA TRASMISSIONE";

using Testo = QString DatiComunicazione::*;
using Calcolo = QString (*)(const DatiComunicazione&);

// One field of a record: where it goes (1-based), how long it is, when it is written and where its value
// comes from (a constant, a box's text, a box's date as ddmmyyyy, or a value worked out from options).
struct Voce {
    int posizione;
    int lunghezza;
    Quando quando = Quando::Sempre;
    const char* costante = nullptr;
    Testo testo = nullptr;
    bool data = false;
    Calcolo calcolo = nullptr;
    Campo campo{};
    Secolo secolo = Secolo::Corrente; // how a date's two-digit year is read
};

Voce fisso(int posizione, int lunghezza, const char* costante)
{
    return {posizione, lunghezza, Quando::Sempre, costante};
}

Voce testo(int posizione, int lunghezza, Testo campo, const char* etichetta, const char* scheda,
           Quando quando = Quando::Sempre)
{
    return {posizione, lunghezza, quando, nullptr, campo, false, nullptr, {etichetta, scheda}};
}

Voce data(int posizione, Testo campo, const char* etichetta, const char* scheda, Quando quando = Quando::Sempre)
{
    return {posizione, 8, quando, nullptr, campo, true, nullptr, {etichetta, scheda}};
}

// A birth date: a two-digit year is read as the register's birth-date boxes read it.
Voce nascita(int posizione, Testo campo, const char* scheda, Quando quando = Quando::Sempre)
{
    Voce v = data(posizione, campo, "Data di nascita", scheda, quando);
    v.secolo = Secolo::Nascita;
    return v;
}

Voce calcolato(int posizione, int lunghezza, Calcolo calcolo, Quando quando = Quando::Sempre, Campo campo = {})
{
    return {posizione, lunghezza, quando, nullptr, nullptr, false, calcolo, campo};
}

QString tipoComunicazione(const DatiComunicazione& d)
{
    return d.TC2 ? QStringLiteral("1") : QStringLiteral("0");
}

// "2" only when the sender prepared it; the taxpayer, or no answer, is "1".
QString chiPrepara(const DatiComunicazione& d)
{
    return d.vITT2 && !d.vITT1 ? QStringLiteral("2") : QStringLiteral("1");
}

QString motivoCancellazione(const DatiComunicazione& d)
{
    return d.mc1 ? QStringLiteral("1") : d.mc2 ? QStringLiteral("2") : d.mc3 ? QStringLiteral("3") : QString();
}

// The code as the register stores it: blanks typed or pasted before it are no part of it.
QString tipoSoggetto(const DatiComunicazione& d)
{
    return senzaSpazi(d.CBrap).left(2);
}

QString sezione1(const DatiComunicazione& d)
{
    return QString::number(d.MOC1);
}

QString sezione2(const DatiComunicazione& d)
{
    return QString::number(d.MOC2);
}

QString sezione3(const DatiComunicazione& d)
{
    return QString::number(d.MOC3);
}

using Tracciato = std::vector<Voce>;

// The subject block, fiscal code to the registered office's province, laid from `inizio` on: records "0"
// and "2" carry the same fields at different places.
Tracciato bloccoSoggetto(int inizio)
{
    using D = DatiComunicazione;
    using Q = Quando;
    const int s = inizio - 1;
    return {
        testo(s + 1, 16, &D::topiva, "Codice Fiscale", kSoggetto),
        testo(s + 17, 26, &D::vOCOG, "Cognome", kSoggetto, Q::PF),
        testo(s + 43, 25, &D::vONOME, "Nome", kSoggetto, Q::PF),
        testo(s + 68, 1, &D::vOSEX, "Sesso", kSoggetto, Q::PF),
        nascita(s + 69, &D::vONDT, kSoggetto, Q::PF),
        testo(s + 77, 40, &D::vONCOM, "Comune di nascita", kSoggetto, Q::PF),
        testo(s + 117, 2, &D::vONPRO, "Provincia di nascita", kSoggetto, Q::PF),
        testo(s + 119, 60, &D::torag, "Ragione Sociale", kSoggetto, Q::PNF),
        testo(s + 179, 40, &D::vOSCOM, "Sede legale (Località)", kSoggetto, Q::PNF),
        testo(s + 219, 2, &D::vOSPRO, "Provincia della sede legale", kSoggetto, Q::PNF),
    };
}

Tracciato unisci(std::initializer_list<Tracciato> parti)
{
    Tracciato tutto;
    for (const Tracciato& parte : parti) {
        tutto.insert(tutto.end(), parte.begin(), parte.end());
    }
    return tutto;
}

// The four record layouts. Position 1798 holds "A" in every record.
const std::array<Tracciato, NumeroRecord>& tracciati()
{
    using D = DatiComunicazione;
    using Q = Quando;
    static const std::array<Tracciato, NumeroRecord> t = {
        unisci({Tracciato{
                    fisso(1, 6, "0PEC00"),
                    calcolato(7, 1, tipoComunicazione),
                },
                bloccoSoggetto(8),
                Tracciato{
                    testo(228, 16, &D::vITTCF, "Codice Fiscale dell'intermediario", kImpegno, Q::Intermediario),
                    calcolato(244, 1, chiPrepara, Q::Intermediario),
                }}),
        Tracciato{
            fisso(1, 1, "1"),
            testo(2, 16, &D::vRECF, "Codice Fiscale del responsabile", kResponsabile),
            testo(18, 26, &D::vRECOG, "Cognome", kResponsabile),
            testo(44, 25, &D::vRENOME, "Nome", kResponsabile),
            testo(69, 1, &D::vRESEX, "Sesso", kResponsabile),
            nascita(70, &D::vREDTNAS, kResponsabile),
            testo(78, 40, &D::vRENCOM, "Comune di nascita", kResponsabile),
            testo(118, 2, &D::vRENPRO, "Provincia di nascita", kResponsabile),
            testo(120, 100, &D::vREEMAIL, "E-mail personale", kResponsabile),
            testo(220, 18, &D::vRETEL, "Telefono", kResponsabile),
            testo(238, 100, &D::vPEEMAIL, "Indirizzo PEC", kPosta, Q::TC1),
            testo(338, 50, &D::vPEGESTORE, "Gestore PEC", kPosta, Q::TC1),
            data(388, &D::vPEDATAI, "Data DECORRENZA", kPosta, Q::TC1),
            data(396, &D::vPEDATAF, "Data CESSAZIONE", kPosta, Q::TC1),
            calcolato(404, 1, sezione1),
            calcolato(405, 1, sezione2),
            calcolato(406, 1, sezione3),
        },
        unisci({Tracciato{
                    fisso(1, 1, "2"),
                    // Worked out from the subject-type list, whose text is the code, "=" and the description.
                    Voce{2, 2, Q::Sempre, nullptr, &D::CBrap, false, tipoSoggetto, {"Tipo Soggetto", kSoggetto}},
                },
                bloccoSoggetto(4),
                Tracciato{
                    calcolato(224, 1, motivoCancellazione, Q::TC2),
                    data(225, &D::vDTCANC, "Data CANCELLAZIONE", kCancellazione, Q::TC2),
                    testo(233, 11, &D::vSICF, "Codice Fiscale della società incorporante", kCancellazione,
                          Q::TC2ConConfluenza),
                    testo(244, 60, &D::vSIRAG, "Indirizzo della contabilità ordinaria", kCancellazione,
                          Q::TC2SenzaConfluenza),
                    testo(304, 40, &D::vSICOM, "Comune della contabilità ordinaria", kCancellazione,
                          Q::TC2SenzaConfluenza),
                    testo(344, 2, &D::vSIPRO, "Provincia della contabilità ordinaria", kCancellazione,
                          Q::TC2SenzaConfluenza),
                }}),
        Tracciato{
            fisso(1, 1, "9"),
            // One subject per file: both counters are always 1.
            fisso(2, 9, "000000001"),
            fisso(11, 9, "000000001"),
        },
    };
    return t;
}

// Dates are typed as dd/mm/yyyy: ten characters for eight digits in the file.
constexpr int kLunghezzaDataDigitata = 10;

QString nomeCampo(const Campo& campo)
{
    return QStringLiteral("\"%1\" (scheda %2)")
        .arg(QString::fromUtf8(campo.etichetta), QString::fromLatin1(campo.scheda));
}

bool fallisci(QString* errore, const QString& testo)
{
    if (errore) {
        *errore = testo;
    }
    return false;
}

QString motivoData(const Voce& v, const QString& testo)
{
    return QStringLiteral("il campo %1 contiene \"%2\", che non è una data valida").arg(nomeCampo(v.campo), testo);
}

// Why the file cannot carry the value of one field, or nothing when it can.
std::optional<QString> motivoRifiuto(const Voce& v, const DatiComunicazione& dati, bool ancheLunghezze)
{
    const QString& testo = dati.*v.testo;
    QString scritto;
    if (v.data) {
        const auto ggmmaaaa = DataGGMMAAAA(testo, v.secolo);
        if (!ggmmaaaa) {
            return motivoData(v, testo);
        }
        scritto = *ggmmaaaa;
    } else if (v.calcolo) {
        scritto = v.calcolo(dati);
    } else {
        if (ancheLunghezze && testo.size() > v.lunghezza) {
            return QStringLiteral("il campo %1 contiene %2 caratteri, ma il file di comunicazione ne può contenere "
                                  "al massimo %3")
                .arg(nomeCampo(v.campo))
                .arg(testo.size())
                .arg(v.lunghezza);
        }
        scritto = testo;
    }
    scritto.truncate(v.lunghezza);
    // A line break inside a value would split its record in two.
    if (primoControllo(scritto) >= 0) {
        return QStringLiteral("il campo %1 contiene un a capo o un altro carattere di controllo, che il file di "
                              "comunicazione non può contenere")
            .arg(nomeCampo(v.campo));
    }
    // Refused rather than written as "?": the agency would receive a different text from the one typed.
    const qsizetype i = cp1252::firstUnencodable(scritto);
    if (i >= 0) {
        // The whole character, also when the field's end falls between the two halves of a pair.
        const bool coppia = scritto[i].isHighSurrogate() && i + 1 < testo.size() && testo[i + 1].isLowSurrogate();
        return QStringLiteral("il campo %1 contiene il carattere \"%2\", che il file di comunicazione non può "
                              "contenere")
            .arg(nomeCampo(v.campo), testo.mid(i, coppia ? 2 : 1));
    }
    return std::nullopt;
}

QString messaggioScrittura(const QString& motivo)
{
    return QStringLiteral("Impossibile creare la comunicazione: %1.\r\nCorreggere il campo: nessun file è stato "
                          "scritto.")
        .arg(motivo);
}

} // namespace

RecordComunicazione costruisciComunicazione(const DatiComunicazione& dati)
{
    RecordComunicazione risultato;
    for (std::size_t r = 0; r < risultato.record.size(); ++r) {
        QString record(LunghezzaRecord, QLatin1Char(' '));
        record[LunghezzaRecord - 1] = QLatin1Char('A');
        for (const Voce& v : tracciati()[r]) {
            if (!vale(v.quando, dati)) {
                continue;
            }
            QString valore;
            if (v.costante) {
                valore = QString::fromLatin1(v.costante);
            } else if (v.calcolo) {
                valore = v.calcolo(dati);
            } else if (v.data) {
                const auto ggmmaaaa = DataGGMMAAAA(dati.*v.testo, v.secolo);
                if (!ggmmaaaa) {
                    return {{}, messaggioScrittura(motivoData(v, dati.*v.testo))};
                }
                valore = *ggmmaaaa;
            } else {
                valore = dati.*v.testo;
            }
            valore.truncate(v.lunghezza);
            record.replace(v.posizione - 1, valore.size(), valore);
        }
        risultato.record[r] = record;
    }
    return risultato;
}

int lunghezzaMassima(TestoComunicazione casella)
{
    int massimo = 0;
    for (const Tracciato& tracciato : tracciati()) {
        for (const Voce& v : tracciato) {
            if (v.testo != casella || v.calcolo) {
                continue;
            }
            const int lunghezza = v.data ? kLunghezzaDataDigitata : v.lunghezza;
            massimo = massimo == 0 ? lunghezza : std::min(massimo, lunghezza);
        }
    }
    return massimo;
}

std::vector<ValoreRifiutato> verificaComunicazione(const DatiComunicazione& dati, bool ancheLunghezze)
{
    std::vector<ValoreRifiutato> rifiutati;
    for (const Tracciato& tracciato : tracciati()) {
        for (const Voce& v : tracciato) {
            if (!v.testo || !vale(v.quando, dati)) {
                continue;
            }
            const bool giaRifiutato = std::any_of(rifiutati.begin(), rifiutati.end(),
                                                  [&](const ValoreRifiutato& r) { return r.casella == v.testo; });
            if (giaRifiutato) {
                continue;
            }
            if (auto motivo = motivoRifiuto(v, dati, ancheLunghezze)) {
                rifiutati.push_back({v.testo, std::move(*motivo)});
            }
        }
    }
    return rifiutati;
}

bool comunicazioneScrivibile(const DatiComunicazione& dati, QString* errore)
{
    const std::vector<ValoreRifiutato> rifiutati = verificaComunicazione(dati, false);
    return rifiutati.empty() || fallisci(errore, messaggioScrittura(rifiutati.front().motivo));
}

bool scriviComunicazione(const QString& percorso, const DatiComunicazione& dati, QString* errore)
{
    if (!comunicazioneScrivibile(dati, errore)) {
        return false;
    }
    const RecordComunicazione comunicazione = costruisciComunicazione(dati);
    if (!comunicazione.ok()) {
        return fallisci(errore, comunicazione.errore);
    }
    QByteArray contenuto;
    for (const QString& record : comunicazione.record) {
        contenuto += cp1252::encode(record);
        contenuto += "\r\n";
    }

    const QString mostrato = QDir::toNativeSeparators(percorso);
    QSaveFile file(percorso);
    // Unbuffered, so that a short write (a full disk, a file-size limit) shows here: through the buffer it
    // would be reported whole and cut at the flush with no error, and the cut file renamed into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fallisci(errore, QStringLiteral("Impossibile creare il file di comunicazione\r\n%1\r\nLa cartella non "
                                               "esiste o non consente la scrittura (errore del sistema: %2).")
                                    .arg(mostrato, file.errorString()));
    }
    // An uncommitted QSaveFile removes its temporary file: the target is either complete or untouched.
    if (!scriviTutto(file, contenuto) || !file.commit()) {
        return fallisci(errore, QStringLiteral("Impossibile completare il file di comunicazione\r\n%1\r\nLa scrittura "
                                               "si è interrotta (errore del sistema: %2): il file non è stato "
                                               "creato e un file già presente con lo stesso nome è rimasto com'era.")
                                    .arg(mostrato, file.errorString()));
    }
    return true;
}

QString titoloComunicazioneCreata()
{
    return QStringLiteral("Comunicazione Creata");
}

QString testoComunicazioneCreata(const QString& percorso)
{
    return QStringList{
        QStringLiteral("Creata comunicazione Registro Elettronico Indirizzi "),
        QStringLiteral(" "),
        QDir::toNativeSeparators(percorso),
        QStringLiteral(" "),
        QStringLiteral("Verificare la comunicazione con il programma: "),
        QStringLiteral("CONTROLLO COMUNICAZIONE AL REGISTRO REI "),
        QStringLiteral("con Desktop Telematico - Entratel o Fisconline"),
    }
        .join(QStringLiteral("\r\n"));
}

} // namespace ondavia
