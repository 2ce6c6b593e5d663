#include "DocumentoProprio.h"

#include "MotiviStampa.h"
#include "core/Folian.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ondavia {

bool scriviDocumentoProprio(const QString& percorso, const DocumentoProprio& documento,
                            const std::function<void(folian::Folian&)>& disegna, QString* errore)
{
    const QString cartella = QFileInfo(percorso).absolutePath();
    if (!QDir().mkpath(cartella)) {
        *errore = QStringLiteral("Impossibile creare la cartella %1\n%2")
                      .arg(documento.cartella, QDir::toNativeSeparators(cartella));
        return false;
    }

    folian::Hooks hooks = folian::DefaultHooks();
    hooks.nomeCorrente = [] { return std::string("Ondavia"); };
    folian::Folian pdf(std::move(hooks));
    pdf.SetScale(3);
    pdf.SetPaperSize(0);
    pdf.SetDocProperty(documento.titolo, documento.soggetto, {}, "Ondavia", "Folian " + folian::Folian::Version(),
                       documento.parole);
    const auto fallito = [&](int32_t numero) {
        *errore = QStringLiteral("Impossibile scrivere %1\n%2\n\n%3")
                      .arg(documento.nome, QDir::toNativeSeparators(percorso), motivoScrittura(numero, percorso));
        return false;
    };
    pdf.BeginDoc(QFile::encodeName(percorso).toStdString());
    if (pdf.ErrNumber() != 0) {
        return fallito(pdf.ErrNumber());
    }
    try {
        disegna(pdf);
        pdf.EndDoc();
    } catch (const folian::Error& e) {
        return fallito(e.number());
    }
    return true;
}

} // namespace ondavia
