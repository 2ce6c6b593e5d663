// The print-out of the subject selected in the register.
#include "Stampa.h"

#include "DatiScheda.h"
#include "LettorePdf.h"
#include "ModelloStampa.h"
#include "MotiviStampa.h"
#include "TestoPdf.h"
#include "app/Dates.h"
#include "app/ErroreEsecuzione.h"
#include "app/FileUtente.h"
#include "app/MsgBox.h"
#include "app/Testi.h"
#include "core/Folian.h"
#include "platform/FileInUso.h"
#include "wD.h"

#include <QDir>
#include <QFile>

namespace ondavia {

using stampa::ansi;

namespace {

const QString ErroreStampa = QStringLiteral("Errore stampa documento");
const QString TitoloStampa = QStringLiteral("Stampa soggetto");

QString nativo(const QString& percorso)
{
    return QDir::toNativeSeparators(percorso);
}

// Copies the template page into the document, so that everything drawn after it goes over it.
bool importaModello(folian::Folian& pdf, const QString& modello, QString* errore)
{
    if (pdf.ImportPage(QFile::encodeName(modello).toStdString(), 1, "BASEC1").empty()) {
        *errore = motivoModello(pdf.ErrNumber());
        return false;
    }
    return true;
}

} // namespace

QDate dataStampa()
{
    const folian::Hooks& hooks = folian::DefaultHooks();
    const folian::LocalDateTime adesso = hooks.now ? hooks.now() : folian::SystemNow();
    return QDate(adesso.year, adesso.month, adesso.day);
}

std::optional<QString> SalvaConNome(const QString& nome, const QDate& giorno)
{
    QString lettere = nome;
    FileRequest richiesta;
    richiesta.title = QStringLiteral("Indica dove salvare la STAMPA del soggetto");
    richiesta.initialFolder = CartellaDesktop();
    richiesta.fileName = QStringLiteral("OVIA_") + SoloLettere(lettere, 30) + QLatin1Char('_') + OggiAAAAMMGG(giorno) +
                         QStringLiteral(".pdf");
    richiesta.filter = QStringLiteral("Documento PDF (*.pdf)|*.pdf");
    return chiediDoveSalvare(richiesta);
}

EsitoScrittura scriviScheda(const QString& percorso, const QString& modello, const DatiScheda& dati,
                            const QDate& giorno, bool apri, QString* errore)
{
    // The document is dated the day it is printed, like the date printed on it.
    folian::Hooks hooks = folian::DefaultHooks();
    const std::string oggi = giorno.toString(QStringLiteral("ddMMyyyy")).toStdString();
    hooks.oggiTesto = [oggi] { return oggi; };
    folian::Folian pdf(std::move(hooks));

    const QString nome = dati.nomeSoggetto();
    pdf.SetScale(3);
    pdf.SetPaperSize(0);
    pdf.SetDocProperty(ansi(QStringLiteral("Scheda REI - ") + nome),
                       ansi(QStringLiteral("Registro Elettronico degli Indirizzi - %1 - C.F. %2 - progressivo %3")
                                .arg(nome, dati.codice(), dati.progressivo())),
                       ansi(nome), "Ondavia", "Folian " + folian::Folian::Version(), "REI");

    pdf.BeginDoc(QFile::encodeName(percorso).toStdString());
    if (pdf.ErrNumber() != 0) {
        *errore = motivoScrittura(pdf.ErrNumber(), percorso);
        return EsitoScrittura::FileNonScrivibile;
    }
    if (!importaModello(pdf, modello, errore)) {
        return EsitoScrittura::ModelloDanneggiato;
    }
    try {
        pdf.BeginPage();
        pdf.PlayObject("BASEC1");
        wD(pdf, dati, giorno);
        pdf.EndDoc();
    } catch (const folian::Error& e) {
        *errore = motivoScrittura(e.number(), percorso);
        return EsitoScrittura::FileNonScrivibile;
    }
    if (apri) {
        try {
            pdf.OpenDoc();
        } catch (const folian::Error&) {
            return EsitoScrittura::NonAperto;
        }
    }
    return EsitoScrittura::Scritto;
}

void stampaSoggetto(const QString& codice, const QString& progressivo)
{
    if (codice.isEmpty()) {
        // The operator's own situation, not a failure of the program: told as such, with what to do.
        msgBox(QStringLiteral("Nessun soggetto selezionato da stampare.\r\n \r\nScegli un soggetto nell'elenco, "
                              "oppure registra quello che stai compilando, e ripeti la stampa."),
               MsgButtons::Ok, MsgIcon::Information, TitoloStampa);
        return;
    }
    QString errore;
    const std::optional<DatiScheda> dati = DatiScheda::leggi(codice, progressivo, &errore);
    if (!dati) {
        if (errore.isEmpty()) {
            errore =
                QStringLiteral("Il soggetto %1 con progressivo %2 non è in archivio: registralo prima di stamparlo.")
                    .arg(codice, progressivo);
        }
        throw ErroreEsecuzione(errore);
    }
    if (!preparaLettorePdf(&errore) || !preparaModello(&errore)) {
        msgBox(errore, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }

    const QDate giorno = dataStampa();
    const std::optional<QString> percorso = SalvaConNome(dati->nomeSoggetto(), giorno);
    if (!percorso) {
        return;
    }
    if (FileInUso(*percorso).value_or(false)) {
        msgBox(QStringLiteral(
                   "Il documento\r\n \r\n%1\r\n \r\nè aperto in un altro programma: chiudilo e ripeti la stampa.")
                   .arg(nativo(*percorso)),
               MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }

    switch (scriviScheda(*percorso, percorsoModello(), *dati, giorno, true, &errore)) {
    case EsitoScrittura::Scritto:
        break;
    case EsitoScrittura::NonAperto:
        msgBox(QStringLiteral("Il documento è stato creato:\r\n \r\n%1\r\n \r\n"
                              "ma non è stato possibile aprirlo con il visualizzatore PDF del sistema.")
                   .arg(nativo(*percorso)));
        break;
    case EsitoScrittura::FileNonScrivibile:
        msgBox(ErroreStampa + QStringLiteral("\r\n \r\n%1\r\n \r\n%2").arg(nativo(*percorso), errore));
        break;
    case EsitoScrittura::ModelloDanneggiato:
        msgBox(QStringLiteral("Il modello di stampa\r\n \r\n%1\r\n \r\nnon si può usare: %2\r\n \r\n"
                              "Sostituiscilo, oppure cancellalo: il programma ne scriverà uno nuovo.")
                   .arg(nativo(percorsoModello()), errore),
               MsgButtons::Ok, MsgIcon::Critical);
        break;
    }
}

} // namespace ondavia
