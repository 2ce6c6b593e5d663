#include "Launch.h"

#include "Archivio.h"
#include "Dates.h"
#include "Dichiarazioni.h"
#include "Ini.h"
#include "MsgBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ondavia {

QString CartellaProgramma()
{
    const QString home = qEnvironmentVariable("ONDAVIA_HOME");
    if (!home.isEmpty()) {
        return QDir(home).absolutePath();
    }
    return QCoreApplication::applicationDirPath();
}

QString PercorsoArchivio()
{
    return QDir(CartellaProgramma()).filePath(QStringLiteral("DataBase/OVIA.db"));
}

namespace {

// Tells why the launch ends: the database cannot be used. The reason ("il database è bloccato da un
// altro programma") opens a sentence of its own here.
bool rinuncia(const QString& azione, const QString& percorso, const QString& motivo)
{
    QString frase = motivo;
    if (!frase.isEmpty()) {
        frase[0] = frase[0].toUpper();
    }
    MsgBox(QStringLiteral("Impossibile %1 l'archivio\n%2\n\n%3.\n\nIl programma viene chiuso.")
               .arg(azione, QDir::toNativeSeparators(percorso), frase),
           MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

bool apriArchivio()
{
    const QString percorso = PercorsoArchivio();
    QString motivo;
    if (!QFileInfo::exists(percorso)) {
        // A marker left by an earlier database would stop the new one from being upgraded.
        QFile::remove(QDir(CartellaProgramma()).filePath(QStringLiteral("onprog.txt")));
        const QString ctab = QDir(CartellaProgramma()).filePath(QStringLiteral("DataBase/ctab.csv"));
        if (!CreaArchivio(percorso, ctab, &motivo)) {
            return rinuncia(QStringLiteral("creare"), percorso, motivo);
        }
    }
    if (!Conn.Open(percorso)) {
        return rinuncia(QStringLiteral("aprire"), percorso, Conn.lastError());
    }
    return true;
}

} // namespace

bool Main(const std::function<void()>& mostraFinestra)
{
    FileIni = QDir(CartellaProgramma()).filePath(QStringLiteral("configurazione.ini"));
    TipoDb = LeggiIni(QStringLiteral("opzioni"), QStringLiteral("TipoDb")).left(1).toUpper();
    DebugAttivo = LeggiIni(QStringLiteral("opzioni"), QStringLiteral("debug")).left(1);
    AnaDimColAuto = LeggiIni(QStringLiteral("opzioni"), QStringLiteral("Ana_DimColAuto"));
    NumFile = 1;
    StrConn = QStringLiteral("provider=SQLite;Data Source=") + QDir::toNativeSeparators(PercorsoArchivio());
    VersioneProgramma = QStringLiteral("Versione 1.0 - Monoutente");

    if (!apriArchivio()) {
        return false;
    }
    if (DebugAttivo == QLatin1String("1")) {
        MsgBox(QStringLiteral("Connessione ") + StrConn);
    }
    InizializzaDate();
    ColoreFuoco = 0xC0FFFF;
    ColoreBianco = 0xFFFFFF;
    ColoreVerde = 0xC0FFC0;
    ColoreRosso = 0x8080FF;
    Release = QStringLiteral("Release 1.99 - 07 Dicembre 2020");
    AggiornaArchivio();
    mostraFinestra();
    return true;
}

} // namespace ondavia
