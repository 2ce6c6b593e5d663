#include "Launch.h"

#include "Archivio.h"
#include "Dates.h"
#include "Dichiarazioni.h"
#include "Ini.h"
#include "MsgBox.h"
#include "platform/BloccoCartella.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ondavia {

QString cartellaProgramma()
{
    const QString home = qEnvironmentVariable("ONDAVIA_HOME");
    if (!home.isEmpty()) {
        return QDir(home).absolutePath();
    }
    return QCoreApplication::applicationDirPath();
}

QString percorsoArchivio()
{
    return QDir(cartellaProgramma()).filePath(QStringLiteral("DataBase/OVIA.db"));
}

namespace {

// Tells why the launch ends: the database cannot be used. The reason ("il database è bloccato da un
// altro programma") opens a sentence of its own here.
bool rinuncia(const QString& azione, const QString& percorso, const QString& motivo, const QString& nota = {})
{
    QString frase = motivo;
    if (!frase.isEmpty()) {
        frase[0] = frase[0].toUpper();
    }
    msgBox(QStringLiteral("Impossibile %1 l'archivio\n%2\n\n%3.\n\n%4Il programma viene chiuso.")
               .arg(azione, QDir::toNativeSeparators(percorso), frase, nota),
           MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

// The lock of the program folder, held from the launch to the end of the program. A process that
// launches again on the same folder (as tests do) keeps the lock it has.
BloccoCartella& bloccoDelProgramma()
{
    static BloccoCartella blocco;
    return blocco;
}

// One program per program folder: two would each show rows the other has changed or deleted, and two
// first starts would build the same new database at once.
bool bloccaCartella(bool* presoOra)
{
    BloccoCartella& blocco = bloccoDelProgramma();
    const QString cartella = cartellaProgramma();
    if (blocco.preso() && blocco.cartella() == cartella) {
        return true;
    }
    QString motivo;
    switch (blocco.prendi(cartella, &motivo)) {
    case BloccoCartella::Esito::Preso:
        *presoOra = true;
        return true;
    case BloccoCartella::Esito::Occupato:
        msgBox(QStringLiteral("L'archivio\n%1\nè già aperto in un altro programma Ondavia.\n\n"
                              "Si lavora su un archivio in un programma solo: questo viene chiuso.")
                   .arg(QDir::toNativeSeparators(percorsoArchivio())),
               MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    case BloccoCartella::Esito::Errore:
        break;
    }
    return rinuncia(QStringLiteral("aprire"), percorsoArchivio(), motivo);
}

// A file at the database's place that holds nothing may be built over: no bytes, and no journal beside
// it from which SQLite would bring pages back.
bool vuotoSenzaGiornale(const QFileInfo& file, QString* giornale)
{
    if (file.isSymLink() || !file.isFile() || file.size() != 0) {
        return false;
    }
    for (const char* suffisso : {"-journal", "-wal"}) {
        const QFileInfo accanto(file.filePath() + QLatin1String(suffisso));
        if (accanto.exists() || accanto.isSymLink()) {
            *giornale = accanto.filePath();
            return false;
        }
    }
    return true;
}

bool apriArchivio()
{
    const QString percorso = percorsoArchivio();
    const QFileInfo file(percorso);
    QString motivo;
    if (file.isSymLink() && !file.exists()) {
        return rinuncia(QStringLiteral("aprire"), percorso,
                        QStringLiteral("il file è un collegamento a %1, che non si trova")
                            .arg(QDir::toNativeSeparators(file.symLinkTarget())));
    }
    QString giornale;
    const bool sostituisci = vuotoSenzaGiornale(file, &giornale);
    if (!file.exists() || sostituisci) {
        const QString ctab = QDir(cartellaProgramma()).filePath(QStringLiteral("DataBase/ctab.csv"));
        if (!creaArchivio(percorso, ctab, &motivo, sostituisci)) {
            return rinuncia(QStringLiteral("creare"), percorso, motivo);
        }
    } else if (!giornale.isEmpty()) {
        return rinuncia(QStringLiteral("aprire"), percorso,
                        QStringLiteral("il file è vuoto, ma accanto c'è %1 con modifiche non concluse: "
                                       "i due file vanno esaminati prima di usare l'archivio")
                            .arg(QDir::toNativeSeparators(giornale)));
    }
    if (!Conn.Open(percorso)) {
        return rinuncia(QStringLiteral("aprire"), percorso, Conn.lastError());
    }
    if (!verificaArchivio(Conn, &motivo)) {
        Conn.Close();
        return rinuncia(QStringLiteral("aprire"), percorso, motivo);
    }
    return true;
}

bool avvia(const std::function<void()>& mostraFinestra, bool* presoOra)
{
    FileIni = QDir(cartellaProgramma()).filePath(QStringLiteral("configurazione.ini"));
    TipoDb = LeggiIni(QStringLiteral("opzioni"), QStringLiteral("TipoDb")).left(1).toUpper();
    DebugAttivo = LeggiIni(QStringLiteral("opzioni"), QStringLiteral("debug")).left(1);
    AnaDimColAuto = LeggiIni(QStringLiteral("opzioni"), QStringLiteral("Ana_DimColAuto"));
    NumFile = 1;
    StrConn = QStringLiteral("provider=SQLite;Data Source=") + QDir::toNativeSeparators(percorsoArchivio());
    VersioneProgramma = QStringLiteral("Versione 1.0 - Monoutente");

    if (!bloccaCartella(presoOra) || !apriArchivio()) {
        return false;
    }
    if (DebugAttivo == QLatin1String("1")) {
        msgBox(QStringLiteral("Connessione ") + StrConn);
    }
    InizializzaDate();
    ColoreFuoco = 0xC0FFFF;
    ColoreBianco = 0xFFFFFF;
    ColoreVerde = 0xC0FFC0;
    ColoreRosso = 0x8080FF;
    Release = QStringLiteral("Release 1.99 - 07 Dicembre 2020");
    QString motivo;
    if (!AggiornaArchivio(&motivo)) {
        return rinuncia(QStringLiteral("aggiornare"), percorsoArchivio(), motivo,
                        QStringLiteral("L'aggiornamento sarà ripetuto al prossimo avvio.\n\n"));
    }
    mostraFinestra();
    return true;
}

} // namespace

bool Main(const std::function<void()>& mostraFinestra)
{
    bool presoOra = false;
    if (avvia(mostraFinestra, &presoOra)) {
        return true;
    }
    // A launch that ends leaves the program folder as it found it.
    Conn.Close();
    if (presoOra) {
        bloccoDelProgramma().rilascia();
    }
    return false;
}

} // namespace ondavia
