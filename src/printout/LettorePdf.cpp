#include "LettorePdf.h"

#include "core/Error.h"
#include "core/Hooks.h"
#include "platform/ProgramModule.h"

namespace ondavia {

namespace {

ProgramModule& moduloLettore()
{
    static ProgramModule modulo(QStringLiteral(ONDAVIA_PDF_READER_MODULE),
                                QStringLiteral("per leggere il modello di stampa"));
    return modulo;
}

folian::OpenPdfSourceFunction apriDelModulo(QString* errore)
{
    return reinterpret_cast<folian::OpenPdfSourceFunction>(moduloLettore().resolve("folian_open_pdf_source", errore));
}

} // namespace

std::unique_ptr<folian::PdfSource> apriPdfConModulo(const std::string& percorso, folian::SourceFailure& esito)
{
    QString errore;
    const folian::OpenPdfSourceFunction apri = apriDelModulo(&errore);
    if (!apri) {
        esito =
            folian::SourceFailure{folian::ErrorCode::LoadingLibrary, "Error in loading DLL: " + errore.toStdString()};
        return nullptr;
    }
    return std::unique_ptr<folian::PdfSource>(apri(percorso, esito));
}

bool preparaLettorePdf(QString* errore)
{
    using Apertura = decltype(&apriPdfConModulo);
    const Apertura* lettore = folian::DefaultHooks().openPdf.target<Apertura>();
    if (!lettore || *lettore != &apriPdfConModulo) {
        return true;
    }
    QString motivo;
    if (!apriDelModulo(&motivo)) {
        *errore = QStringLiteral("Impossibile stampare: ") + motivo;
        return false;
    }
    return true;
}

} // namespace ondavia
