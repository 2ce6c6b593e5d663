#include "FileUtente.h"

#include "MsgBox.h"

#include <QFileInfo>

namespace ondavia {

bool ChiediSovrascrittura(const QString& percorso)
{
    const QFileInfo file(percorso);
    if (percorso.isEmpty() || !file.exists() || file.isDir()) {
        return false;
    }
    const QString testo = QStringLiteral("Il documento \r\n \r\n") + percorso +
                          QStringLiteral("\r\n \r\nesiste già. Vuoi sostituirlo?  ");
    return msgBox(testo, MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("Controllo Documento")) ==
           MsgResult::No;
}

std::optional<QString> chiediDoveSalvare(FileRequest richiesta)
{
    // The save dialog never asks about replacing a file: a refusal shows it again on the refused path.
    QString percorso;
    do {
        const auto scelto = platform().saveFileName(richiesta);
        if (!scelto) {
            return std::nullopt;
        }
        percorso = *scelto;
        richiesta.fileName = percorso;
    } while (ChiediSovrascrittura(percorso));
    return percorso;
}

bool scriviTutto(QIODevice& file, QByteArrayView dati)
{
    qint64 scritti = 0;
    while (scritti < dati.size()) {
        const qint64 n = file.write(dati.data() + scritti, dati.size() - scritti);
        if (n <= 0) {
            return false;
        }
        scritti += n;
    }
    return true;
}

QString CartellaDesktop()
{
    return platform().desktopFolder();
}

} // namespace ondavia
