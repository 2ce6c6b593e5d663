// The validation of the register form before a save.

#include "F1OP.h"

#include "app/Archivio.h"
#include "app/CodiceFiscale.h"
#include "app/Comunicazione.h"
#include "app/Dates.h"
#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "app/FileBackup.h"
#include "app/Testi.h"
#include "ui/CControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>
#include <utility>
#include <vector>

namespace ondavia {

namespace {

enum Scheda { Soggetto = 0, Responsabile = 1, PostaElettronica = 2, CancellazionePec = 3, Impegno = 4 };

bool vuota(const QLineEdit* casella)
{
    return casella->text().isEmpty();
}

bool bianca(const QLineEdit* casella)
{
    return senzaSpazi(casella->text()).isEmpty();
}

// A code the check could not judge (the municipality table unreadable) is a failure, not a wrong code.
bool codiceErrato(const QLineEdit* casella)
{
    QString errore;
    const std::int16_t esito = ControllaCF(casella->text(), &errore);
    if (esito == CFNonVerificabile) {
        throw ErroreEsecuzione(errore);
    }
    return esito != 0;
}

// Why the date in the box cannot be saved (`nonValida` for a text that is no date), or nothing; a valid date
// is rewritten as dd/mm/yyyy. The register keeps only the dates its backup brings back at a restore, and
// nobody is born in the future.
std::optional<QString> dataRifiutata(QLineEdit* casella, const char* nonValida, Secolo secolo = Secolo::Corrente)
{
    const QString motivo = QString::fromUtf8(nonValida);
    const std::optional<QDate> data = leggiData(casella->text(), secolo);
    if (!data) {
        return motivo;
    }
    casella->setText(data->toString(QStringLiteral("dd/MM/yyyy")));
    if (data->year() < PrimoAnnoBackup || data->year() > UltimoAnnoBackup) {
        return QStringLiteral("%1: sono accettate solo le date dal 01/01/%2 al 31/12/%3, le sole che un salvataggio "
                              "può ripristinare.")
            .arg(motivo)
            .arg(PrimoAnnoBackup)
            .arg(UltimoAnnoBackup);
    }
    if (secolo == Secolo::Nascita && *data > QDate::currentDate()) {
        return motivo + QStringLiteral(": la data di nascita è nel futuro.");
    }
    return std::nullopt;
}

// A new subject's progressive as the register keeps it: a whole number from 1 to 999 in three digits, so that
// it sorts and is looked up as every other; nothing for any other text.
std::optional<QString> progressivoNuovo(const QString& testo)
{
    const auto cifra = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (!std::all_of(testo.cbegin(), testo.cend(), cifra)) {
        return std::nullopt;
    }
    QString numero = testo;
    while (numero.startsWith(u'0')) {
        numero.remove(0, 1);
    }
    if (numero.isEmpty() || numero.size() > 3) {
        return std::nullopt;
    }
    return numero.rightJustified(3, u'0');
}

// A subject type the list does not hold, as the operator may type it: its code of two letters or digits, alone
// or followed by "=" and the description. The register and the communication file take the first two
// characters as the code, so any other text would give them a code nobody typed.
bool tipoDigitatoValido(const QString& testo)
{
    const QString tipo = senzaSpazi(testo);
    const auto alfanumerico = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    };
    return tipo.size() >= 2 && alfanumerico(tipo[0]) && alfanumerico(tipo[1]) && (tipo.size() == 2 || tipo[2] == u'=');
}

// A control as the operator knows it: its caption between quotes.
QString nomeSulModulo(const QWidget* controllo)
{
    for (const QLabel* etichetta : controllo->window()->findChildren<QLabel*>()) {
        const QWidget* compagno = etichetta->buddy();
        if (compagno && (compagno == controllo || compagno->focusProxy() == controllo)) {
            return QStringLiteral("\"%1\"").arg(senzaSpazi(QString(etichetta->text()).remove(u'&')));
        }
    }
    return controllo->objectName();
}

} // namespace

void F1OP::controlla()
{
    const auto segnala = [this](QWidget* controllo, const auto& messaggio) {
        mostraErrore(controllo, QString(messaggio));
    };
    DatiValidi = false;
    if (!ComuniCaricati) {
        QString errore;
        if (!CaricaComuni(&errore)) {
            throw ErroreEsecuzione(errore);
        }
    }

    SSTab1->setCurrentIndex(Soggetto);
    if (tipoRifiutato()) {
        return;
    }
    if (vuota(topiva)) {
        return segnala(topiva, "Codice Fiscale non indicato.");
    }
    if (codiceErrato(topiva)) {
        return segnala(topiva, "Codice Fiscale errato.");
    }
    // A stored subject's progressive names its row and its box is locked; only a new row gets one here.
    if (!soggettoRegistrato()) {
        const QString progressivo = senzaSpazi(vONPROG->text());
        if (progressivo.isEmpty()) {
            return segnala(vONPROG, "Indicare il progressivo: un numero da 1 a 999.");
        }
        const std::optional<QString> treCifre = progressivoNuovo(progressivo);
        if (!treCifre) {
            return segnala(vONPROG, "Progressivo non valido: indicare un numero da 1 a 999.");
        }
        vONPROG->setText(*treCifre);
    }
    if (o1->isChecked()) {
        if (vuota(torag)) {
            return segnala(torag, "Ragione Sociale - campo non valido.");
        }
        if (bianca(vOSCOM)) {
            return segnala(vOSCOM, "Indicare il comune della sede legale");
        }
        if (bianca(vOSPRO)) {
            return segnala(vOSPRO, "Indicare la provincia della sede legale");
        }
    } else {
        for (const auto& [casella, messaggio] : {std::pair{vOCOG, "Indicare il cognome"},
                                                 {vONOME, "Indicare il nome"},
                                                 {vOSEX, "Indicare il sesso"},
                                                 {vONDT, "Indicare la data di nascita"},
                                                 {vONCOM, "Indicare il comune di nascita"},
                                                 {vONPRO, "Indicare la provincia di nascita"}}) {
            if (bianca(casella)) {
                return segnala(casella, messaggio);
            }
        }
        if (const auto motivo = dataRifiutata(vONDT, "Data di nascita non valida", Secolo::Nascita)) {
            return segnala(vONDT, *motivo);
        }
    }
    if (MOC1->checkState() == Qt::Unchecked && MOC2->checkState() == Qt::Unchecked &&
        MOC3->checkState() == Qt::Unchecked) {
        return segnala(MOC1, "Indicare almeno UN MOTIVO per la comunicazione");
    }
    if (rifiutatoDalFile(Soggetto) || rifiutatoDalBackup(Soggetto)) {
        return;
    }

    SSTab1->setCurrentIndex(Responsabile);
    if (vuota(vRECF)) {
        return segnala(vRECF, "Responsabile: campo CODICE FISCALE obbligatorio");
    }
    if (codiceErrato(vRECF)) {
        return segnala(vRECF, "Codice Fiscale RESPONSABILE errato.");
    }
    for (const auto& [casella, messaggio] : {std::pair{vRECOG, "Responsabile: campo COGNOME obbligatorio"},
                                             {vRENOME, "Responsabile: campo NOME obbligatorio"},
                                             {vRESEX, "Responsabile: campo SESSO obbligatorio"},
                                             {vREDTNAS, "Responsabile: campo DATA DI NASCITA obbligatorio"},
                                             {vRENCOM, "Responsabile: campo LOCALITA DI NASCITA obbligatorio"},
                                             {vRENPRO, "Responsabile: campo PROVINCIA DI NASCITA obbligatorio"},
                                             {vREEMAIL, "Responsabile: campo EMAIL obbligatorio"},
                                             {vRETEL, "Responsabile: campo TELEFONO obbligatorio"}}) {
        if (vuota(casella)) {
            return segnala(casella, messaggio);
        }
    }
    if (const auto motivo = dataRifiutata(vREDTNAS, "Data Nascita Responsabile non valida", Secolo::Nascita)) {
        return segnala(vREDTNAS, *motivo);
    }
    if (rifiutatoDalFile(Responsabile) || rifiutatoDalBackup(Responsabile)) {
        return;
    }

    SSTab1->setCurrentIndex(PostaElettronica);
    if (TC1->isChecked()) {
        if (vuota(vPEEMAIL)) {
            return segnala(vPEEMAIL, "POSTA ELETTRONICA: campo INDIRIZZO EMAIL obbligatorio");
        }
        if (vuota(vPEDATAI)) {
            return segnala(vPEDATAI, "POSTA ELETTRONICA: campo DATA DECORRENZA obbligatorio");
        }
        if (const auto motivo = dataRifiutata(vPEDATAI, "DATA DECORRENZA non valida")) {
            return segnala(vPEDATAI, *motivo);
        }
        if (!vuota(vPEDATAF)) {
            if (const auto motivo = dataRifiutata(vPEDATAF, "DATA CESSAZIONE non valida")) {
                return segnala(vPEDATAF, *motivo);
            }
        }
        if (vuota(vPEGESTORE)) {
            return segnala(vPEGESTORE, "POSTA ELETTRONICA: campo GESTORE obbligatorio");
        }
    }
    if (rifiutatoDalFile(PostaElettronica) || rifiutatoDalBackup(PostaElettronica)) {
        return;
    }

    SSTab1->setCurrentIndex(CancellazionePec);
    if (TC2->isChecked()) {
        if (vuota(vDTCANC)) {
            return segnala(vDTCANC, "DATA CANCELLAZIONE obbligatoria");
        }
        if (const auto motivo = dataRifiutata(vDTCANC, "DATA CANCELLAZIONE errata")) {
            return segnala(vDTCANC, *motivo);
        }
        if (!mc1->isChecked() && !mc2->isChecked() && !mc3->isChecked()) {
            return segnala(mc1, "Indicare almeno UN MOTIVO per la cancellazione");
        }
    }
    if (rifiutatoDalFile(CancellazionePec) || rifiutatoDalBackup(CancellazionePec)) {
        return;
    }

    SSTab1->setCurrentIndex(Impegno);
    if (!vuota(vITTCF) && codiceErrato(vITTCF)) {
        return segnala(vITTCF, "Codice Fiscale errato.");
    }
    if (rifiutatoDalFile(Impegno) || rifiutatoDalBackup(Impegno)) {
        return;
    }

    SSTab1->setCurrentIndex(Soggetto);
    DatiValidi = true;
}

bool F1OP::tipoRifiutato()
{
    if (CBrap->currentText().isEmpty()) {
        SSTab1->setCurrentIndex(Soggetto);
        mostraErrore(CBrap, QStringLiteral("Indicare il tipo di soggetto"));
        return true;
    }
    if (CBrap->findText(CBrap->currentText(), Qt::MatchExactly) < 0 && !tipoDigitatoValido(CBrap->currentText())) {
        SSTab1->setCurrentIndex(Soggetto);
        mostraErrore(CBrap, QStringLiteral("Tipo di soggetto non valido: scegliere un tipo dall'elenco, oppure "
                                           "scrivere il suo codice di due lettere o cifre, da solo o seguito da "
                                           "\"=\" e dalla descrizione (13=Descrizione)."));
        return true;
    }
    return false;
}

// What is saved must be what the communication file can carry: the file's own check, with its own words,
// on the box that holds the value and with lengths too, since the file would cut a longer text.
bool F1OP::rifiutatoDalFile(int scheda)
{
    const QWidget* pagina = SSTab1->widget(scheda);
    for (const ValoreRifiutato& rifiutato : verificaComunicazione(datiComunicazione(), true)) {
        QWidget* controllo = controlloDi(rifiutato.casella);
        if (controllo && pagina->isAncestorOf(controllo)) {
            QString messaggio = rifiutato.motivo + QLatin1Char('.');
            messaggio[0] = messaggio[0].toUpper();
            mostraErrore(controllo, messaggio);
            return true;
        }
    }
    return false;
}

// What is saved must be what a backup can carry: one value that no backup line can hold makes every backup of
// the whole register fail. The backup's own rule, on every value the row stores; the boxes of the kind of
// subject not chosen are emptied by the save and do not count.
bool F1OP::rifiutatoDalBackup(int scheda)
{
    const QWidget* pagina = SSTab1->widget(scheda);
    std::vector<std::pair<QWidget*, QString>> valori;
    if (pagina->isAncestorOf(CBrap)) {
        valori.emplace_back(CBrap, CBrap->currentText());
    }
    for (QLineEdit* casella : pagina->findChildren<QLineEdit*>()) {
        const bool nonRegistrata =
            (FPNF->isAncestorOf(casella) && !o1->isChecked()) || (FPF->isAncestorOf(casella) && !o2->isChecked());
        if (CControl::eCasellaDiTesto(casella) && !nonRegistrata) {
            valori.emplace_back(casella, casella->text());
        }
    }
    for (const auto& [controllo, testo] : valori) {
        const qsizetype i = primoCarattereNonSalvabile(testo);
        if (i < 0) {
            continue;
        }
        mostraErrore(controllo, QStringLiteral("Il campo %1 (scheda %2) contiene %3, che un file di backup non può "
                                               "contenere: registrato, impedirebbe ogni salvataggio dell'archivio.")
                                    .arg(nomeSulModulo(controllo), senzaSpazi(SSTab1->tabText(scheda)),
                                         descriviCarattere(testo, i)));
        return true;
    }
    return false;
}

} // namespace ondavia
