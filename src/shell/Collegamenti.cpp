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
        MsgBox(QStringLiteral("Impossibile aprire la pagina\n%1\n\nVerificare che sia installato un browser.")
                   .arg(indirizzo));
    }
}

} // namespace

QString SitoAgenzia()
{
    const QString configurato = sito(ChiaveHostAgenzia);
    return configurato.isEmpty() ? QString::fromLatin1(SitoAgenziaPredefinito) : configurato;
}

QString SitoProduttore()
{
    return sito(ChiaveHostProduttore);
}

QString IndirizzoWeb(const QString& sito, const QString& percorso, const QString& query)
{
    QString indirizzo = sito + percorso;
    if (!query.isEmpty()) {
        indirizzo += QLatin1Char('?') + query;
    }
    return indirizzo;
}

QString IndirizzoMail(const char* chiave)
{
    return LeggiIni(Sezione, QString::fromLatin1(chiave)).remove(QLatin1Char(' '));
}

void SegnalaNonImpostato(const QString& cosa, const char* chiave)
{
    QString dove = QStringLiteral("configurazione.ini, nella cartella del programma");
    if (!FileIni.isEmpty()) {
        dove += QStringLiteral(":\n") + QDir::toNativeSeparators(FileIni);
    }
    MsgBox(QStringLiteral("%1 non è impostato.\n\nIndicarlo con la chiave %2 nella sezione [opzioni] del file %3")
               .arg(cosa, QString::fromLatin1(chiave), dove),
           MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Impostazione mancante"));
}

void ApriPaginaAgenzia(const QString& percorso, const QString& query)
{
    apriPagina(IndirizzoWeb(SitoAgenzia(), percorso, query));
}

void ApriPaginaProduttore(const QString& percorso, const QString& query)
{
    const QString produttore = SitoProduttore();
    if (produttore.isEmpty()) {
        SegnalaNonImpostato(QStringLiteral("L'indirizzo del sito del produttore"), ChiaveHostProduttore);
        return;
    }
    apriPagina(IndirizzoWeb(produttore, percorso, query));
}

void ApriDocumentoAiuto(const QString& nomeFile)
{
    const QString percorso =
        QDir::toNativeSeparators(QDir(CartellaProgramma()).filePath(QStringLiteral("Help/") + nomeFile));
    if (!QFileInfo(percorso).isFile()) {
        MsgBox(QStringLiteral("Il documento di aiuto non è presente:\n%1\n\nCopiarlo nella cartella Help del "
                              "programma.")
                   .arg(percorso));
        return;
    }
    if (!platform().openDocument(percorso)) {
        MsgBox(QStringLiteral("Impossibile aprire il documento\n%1\n\nVerificare che sia installato un programma "
                              "per i file PDF.")
                   .arg(percorso));
    }
}

} // namespace ondavia
