#include "Collegamenti.h"

#include "KELM_BASE.h"

#include "app/Dichiarazioni.h"
#include "app/Ini.h"
#include "app/Launch.h"
#include "app/MsgBox.h"
#include "app/Testi.h"

#include <QDir>
#include <QFileInfo>

namespace ondavia {

namespace {

const QString Sezione = QStringLiteral("opzioni");

QString sito(const char* chiave)
{
    QString host = LeggiIni(Sezione, QString::fromLatin1(chiave)).trimmed();
    if (host.isEmpty()) {
        return {};
    }
    if (!host.contains(QLatin1String("://"))) {
        host.prepend(QStringLiteral("https://"));
    }
    while (host.endsWith(QLatin1Char('/'))) {
        host.chop(1);
    }
    return host;
}

void apriPagina(const QString& indirizzo)
{
    if (!Esegui(QStringLiteral("EXPLORER ") + Virgolette(indirizzo))) {
        msgBox(QStringLiteral("Impossibile aprire la pagina\n%1\n\nVerificare che sia installato un browser.")
                   .arg(indirizzo));
    }
}

} // namespace

QString sitoAgenzia()
{
    const QString configurato = sito(ChiaveHostAgenzia);
    return configurato.isEmpty() ? QString::fromLatin1(SitoAgenziaPredefinito) : configurato;
}

QString sitoProduttore()
{
    return sito(ChiaveHostProduttore);
}

QString indirizzoWeb(const QString& sito, const QString& percorso, const QString& query)
{
    QString indirizzo = sito + percorso;
    if (!query.isEmpty()) {
        indirizzo += QLatin1Char('?') + query;
    }
    return indirizzo;
}

QString indirizzoMail(const char* chiave)
{
    return LeggiIni(Sezione, QString::fromLatin1(chiave)).remove(QLatin1Char(' '));
}

QString fileConfigurazione()
{
    QString dove = QStringLiteral("configurazione.ini, nella cartella del programma");
    if (!FileIni.isEmpty()) {
        dove += QStringLiteral(":\n") + QDir::toNativeSeparators(FileIni);
    }
    return dove;
}

void segnalaNonImpostato(const QString& cosa, const char* chiave)
{
    msgBox(QStringLiteral("%1 non è impostato.\n\nIndicarlo con la chiave %2 nella sezione [opzioni] del file %3")
               .arg(cosa, QString::fromLatin1(chiave), fileConfigurazione()),
           MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Impostazione mancante"));
}

void apriPaginaAgenzia(const QString& percorso, const QString& query)
{
    apriPagina(indirizzoWeb(sitoAgenzia(), percorso, query));
}

void apriPaginaProduttore(const QString& percorso, const QString& query)
{
    const QString produttore = sitoProduttore();
    if (produttore.isEmpty()) {
        segnalaNonImpostato(QStringLiteral("L'indirizzo del sito del produttore"), ChiaveHostProduttore);
        return;
    }
    apriPagina(indirizzoWeb(produttore, percorso, query));
}

void apriDocumentoAiuto(const QString& nomeFile)
{
    const QString percorso =
        QDir::toNativeSeparators(QDir(cartellaProgramma()).filePath(QStringLiteral("Help/") + nomeFile));
    if (!QFileInfo(percorso).isFile()) {
        msgBox(QStringLiteral("Il documento di aiuto non è presente:\n%1\n\nCopiarlo nella cartella Help del "
                              "programma.")
                   .arg(percorso));
        return;
    }
    if (!platform().openDocument(percorso)) {
        msgBox(QStringLiteral("Impossibile aprire il documento\n%1\n\nVerificare che sia installato un programma "
                              "per i file PDF.")
                   .arg(percorso));
    }
}

} // namespace ondavia
