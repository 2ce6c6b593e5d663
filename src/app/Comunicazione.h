#pragma once

#include <QString>

#include <array>
#include <vector>

namespace ondavia {

// The communication file for the tax agency's register: four fixed-width records ("0" subject and
// communication type, "1" responsible person, PEC and register sections, "2" subject type and
// cancellation, "9" trailer), each 1798 characters, written in Windows-1252 with CR LF after each.

inline constexpr int LunghezzaRecord = 1798;
inline constexpr int NumeroRecord = 4;

// What the file needs of the register form, each member named as the control it is read from. Texts
// are taken as they stand (the form trims its boxes first); dates are "dd/mm/yyyy" or empty.
struct DatiComunicazione {
    // Subject ("SOGGETTO")
    QString topiva;
    QString CBrap;   // the subject-type list's text: code, "=", description
    bool o1 = false; // PNF: legal entity
    bool o2 = false; // PF: natural person
    QString torag;
    QString vOSCOM;
    QString vOSPRO;
    QString vOCOG;
    QString vONOME;
    QString vOSEX;
    QString vONDT;
    QString vONCOM;
    QString vONPRO;
    int MOC1 = 0; // register sections, check-box state 0 or 1
    int MOC2 = 0;
    int MOC3 = 0;
    bool TC1 = false; // first sending or change
    bool TC2 = false; // cancellation

    // Responsible person ("RESPONSABILE")
    QString vRECF;
    QString vRECOG;
    QString vRENOME;
    QString vRESEX;
    QString vREDTNAS;
    QString vRENCOM;
    QString vRENPRO;
    QString vREEMAIL;
    QString vRETEL;

    // Certified e-mail ("POSTA ELETTRONICA")
    QString vPEEMAIL;
    QString vPEGESTORE;
    QString vPEDATAI;
    QString vPEDATAF;

    // Cancellation ("CANCELLAZIONE PEC")
    bool mc1 = false; // cessation without merger
    bool mc2 = false; // cessation with merger into another subject
    bool mc3 = false; // loss of the subjective requirements
    QString vDTCANC;
    QString vSICF;
    QString vSIRAG;
    QString vSICOM;
    QString vSIPRO;

    // Transmission ("IMPEGNO ALLA TRASMISSIONE")
    bool vITT1 = false; // prepared by the taxpayer
    bool vITT2 = false; // prepared by the sender
    QString vITTCF;
};

// A member of DatiComunicazione holding a box's text: it names the box.
using TestoComunicazione = QString DatiComunicazione::*;

// The longest text a box may hold for the file: its field's length, or the length of "dd/mm/yyyy" for a
// date; 0 for a member the file does not carry.
int lunghezzaMassima(TestoComunicazione casella);

// A value that the file cannot carry as it stands: the box it comes from and why, as "il campo "…"
// (scheda …) contiene …" (a sentence without its capital and full stop, so that callers can frame it).
struct ValoreRifiutato {
    TestoComunicazione casella = nullptr;
    QString motivo;
};

// Every box whose value the file would write, under the options of `dati`, and cannot: a date that is not
// a date, a line break or other control character, a character the code page cannot hold. One entry per
// box, in the order of the records and their fields. Only what reaches the file counts; with
// `ancheLunghezze` a text longer than its field is refused too (the writer itself cuts such a text to its
// field, as the agency's layout asks, but the form must never let the agency receive a cut value).
std::vector<ValoreRifiutato> verificaComunicazione(const DatiComunicazione& dati, bool ancheLunghezze);

// The four records, or the reason they could not be built.
struct RecordComunicazione {
    std::array<QString, NumeroRecord> record;
    QString errore; // empty when the records are built

    bool ok() const { return errore.isEmpty(); }
};

// Builds the four records from the form's values. Texts are left-aligned in their fields and cut to
// their length; a field whose condition does not hold stays blank; nothing is upper-cased or checked
// except the dates that are written, which must read as dates (an error naming the field otherwise).
// Characters are not checked against the code page here: scriviComunicazione does it.
RecordComunicazione costruisciComunicazione(const DatiComunicazione& dati);

// What scriviComunicazione checks before it writes anything, on its own, so that a file that cannot be
// written is refused before the user is asked where to put it: false, with the message the writer would
// give, naming the field.
bool comunicazioneScrivibile(const DatiComunicazione& dati, QString* errore);

// Writes the communication file at `percorso`: the four records in Windows-1252, CR LF after each,
// 7200 bytes. Before anything is written it refuses what verificaComunicazione refuses (lengths apart),
// naming the field. The file is written beside the target under a temporary name and renamed into place
// only when complete, so a failure never leaves a partial file and never loses an existing one. On
// failure returns false with an Italian message in `errore`.
bool scriviComunicazione(const QString& percorso, const DatiComunicazione& dati, QString* errore);

// The title and the seven lines (joined by CR LF) of the information box shown once the file is written.
QString titoloComunicazioneCreata();
QString testoComunicazioneCreata(const QString& percorso);

} // namespace ondavia
