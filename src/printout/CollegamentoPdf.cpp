#include "CollegamentoPdf.h"

#include "LettorePdf.h"

#include "app/Dichiarazioni.h"
#include "app/Windows1252.h"
#include "core/Folian.h"
#include "platform/Platform.h"

namespace ondavia {

void collegaScrittorePdf()
{
    folian::Hooks hooks;
    hooks.nomeCorrente = [] {
        const QByteArray nome = cp1252::encode(NomeCorrente);
        return std::string(nome.constData(), static_cast<std::size_t>(nome.size()));
    };
    hooks.oggiTesto = [] { return OggiTesto.toStdString(); };
    hooks.openInViewer = [](const std::string& percorso) {
        return platform().openDocument(QString::fromStdString(percorso));
    };
    hooks.openPdf = apriPdfConModulo;
    folian::SetDefaultHooks(std::move(hooks));
}

} // namespace ondavia
