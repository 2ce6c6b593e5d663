#include "DimmiIlNome.h"

#include "Dichiarazioni.h"
#include "FileUtente.h"
#include "Testi.h"
#include "platform/Platform.h"

namespace ondavia {

void DimmiIlNome(const QString& tipo, QString& nome, const QString& suffisso)
{
    NomeFileScelto.clear();

    const QString filtroRei = QStringLiteral("BackUp REI (*.REI)|*.REI");
    if (tipo == QLatin1String("R")) {
        const auto scelto = platform().openFileName(
            {QStringLiteral("Indica il file di backUp da ripristinare"), QString(), QString(), filtroRei});
        NomeFileScelto = scelto.value_or(QString());
        return;
    }

    FileRequest richiesta;
    if (tipo == QLatin1String("S")) {
        richiesta = {QStringLiteral("Indica dove salvare il file di backUp"), QString(),
                     QStringLiteral("SAVE_") + SoloLettere(nome, 20) + suffisso + QStringLiteral(".REI"), filtroRei};
    } else if (tipo == QLatin1String("C")) {
        richiesta = {QStringLiteral("Indica dove salvare il file di COMUNICAZIONE REI"), QString(),
                     QStringLiteral("OVIA_") + SoloLettere(nome, 15) + QStringLiteral("_") + suffisso +
                         QStringLiteral(".TXT"),
                     QStringLiteral("Testo (*.TXT)|*.TXT")};
    } else {
        return;
    }
    richiesta.initialFolder = CartellaDesktop();

    NomeFileScelto = chiediDoveSalvare(richiesta).value_or(QString());
}

} // namespace ondavia
