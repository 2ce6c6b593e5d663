#include "MotiviStampa.h"

#include "core/Error.h"

#include <QDir>
#include <QFileInfo>

namespace ondavia {

namespace {

QString cartellaDi(const QString& percorso)
{
    return QDir::toNativeSeparators(QFileInfo(percorso).absolutePath());
}

} // namespace

QString motivoScrittura(int32_t numero, const QString& percorso)
{
    namespace E = folian::ErrorCode;
    switch (numero) {
    case E::PathNotFound:
        return QStringLiteral("La cartella %1 non esiste: scegli una cartella esistente.").arg(cartellaDi(percorso));
    case E::PermissionDenied:
        return QStringLiteral("Non hai il permesso di scrivere nella cartella %1: scegli un'altra cartella, ad "
                              "esempio il Desktop.")
            .arg(cartellaDi(percorso));
    case E::DiskFull:
        return QStringLiteral("Il disco è pieno: libera spazio o scegli un altro disco. Un documento già presente "
                              "con lo stesso nome è rimasto com'era.");
    case E::DeviceIo:
        return QStringLiteral("La scrittura si è interrotta prima della fine: il disco non risponde o è stato "
                              "scollegato. Un documento già presente con lo stesso nome è rimasto com'era.");
    case E::OutOfMemory:
        return QStringLiteral("La memoria non basta: chiudi qualche programma e riprova.");
    case E::PathFileAccess:
        if (QFileInfo(percorso).isDir()) {
            return QStringLiteral("Con quel nome c'è già una cartella: scegli un altro nome per il documento.");
        }
        break;
    default:
        break;
    }
    return QStringLiteral("Il file non si può scrivere (errore %1): scegli un'altra cartella o un altro nome.")
        .arg(numero);
}

QString motivoModello(int32_t numero)
{
    namespace E = folian::ErrorCode;
    switch (numero) {
    case E::InvalidFileFormat:
        return QStringLiteral("il file è danneggiato o non è un documento PDF.");
    case E::FileNotFound:
        return QStringLiteral("il file non c'è.");
    case E::PermissionDenied:
        return QStringLiteral("il documento è protetto da una password.");
    case E::PathFileAccess:
        return QStringLiteral("il file non si può leggere: controlla i permessi del file e della sua cartella.");
    case E::SubscriptOutOfRange:
        return QStringLiteral("il documento non ha pagine.");
    case E::OutOfMemory:
        return QStringLiteral("la memoria non basta per leggerlo.");
    default:
        return QStringLiteral("il file non si può leggere (errore %1).").arg(numero);
    }
}

} // namespace ondavia
