#include "FunzioniPUB.h"

#include "Collegamenti.h"

#include "app/ErroreEsecuzione.h"
#include "app/Ini.h"
#include "app/MsgBox.h"
#include "platform/Sha256Digest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

namespace ondavia {

namespace {

const QString Sezione = QStringLiteral("opzioni");
const QString SottocartellaAssistenza = QStringLiteral("KELMARA/ASSISTENZA_REMOTA");
const QString PaginaAssistenzaRemota = QStringLiteral("/assistenza-remota/");

const QString Domanda = QStringLiteral("Controllo ed Esecuzione programma di Assistenza Remota. \r\n  \r\n"
                                       "Confermi?  \r\n  \r\nPotrebbe essere necessario attendere qualche istante... ");

bool separatore(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

QString impostazione(const char* chiave, const char* predefinita)
{
    const QString valore = LeggiIni(Sezione, QString::fromLatin1(chiave));
    return valore.isEmpty() ? QString::fromLatin1(predefinita) : valore;
}

// The tool's file name; a name that would lead out of the tool's folder is refused, and the operator told
// which key of which file to correct.
std::optional<QString> nomeProgramma()
{
    const QString nome = impostazione(ChiaveFileAssistenza, FileAssistenzaPredefinito);
    if (std::any_of(nome.begin(), nome.end(), separatore) || nome == QLatin1String(".") ||
        nome == QLatin1String("..")) {
        msgBox(QStringLiteral("Il nome del programma di assistenza remota, \"%1\", non è un nome di file.\n\n"
                              "Correggerlo nella chiave %2 della sezione [opzioni] del file %3\n\nIndicare solo il "
                              "nome, senza cartelle.")
                   .arg(nome, QString::fromLatin1(ChiaveFileAssistenza), fileConfigurazione()),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Impostazione non valida"));
        return std::nullopt;
    }
    return nome;
}

QString percorsoScaricamento()
{
    QString percorso = impostazione(ChiavePercorsoAssistenza, PercorsoAssistenzaPredefinito);
    if (!percorso.startsWith(QLatin1Char('/'))) {
        percorso.prepend(QLatin1Char('/'));
    }
    return percorso;
}

qint64 limiteScaricamento()
{
    bool numero = false;
    const int megabyte = LeggiIni(Sezione, QString::fromLatin1(ChiaveLimiteAssistenza)).toInt(&numero);
    return qint64(numero && megabyte > 0 ? megabyte : LimiteAssistenzaPredefinitoMB) * 1024 * 1024;
}

// Whether `file` is the tool the configured digest names; any tool is, when no digest is configured.
bool improntaAttesa(const QString& file, const QString& impronta)
{
    if (impronta.trimmed().isEmpty()) {
        return true;
    }
    QFile programma(file);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return programma.open(QIODevice::ReadOnly) && hash.addData(&programma) && hash.result() == sha256Digest(impronta);
}

// Brings the tool into `file` from the maker's site `sito` when it is missing. Completed when it is there to be
// started. With a digest configured, a program of another digest in the tool's place (the folder may be shared
// with other users) counts as missing and is fetched again over it. Failed, with no reason, without a site.
DownloadOutcome procuraProgramma(const QString& file, const QString& sito, QString* motivo)
{
    const QString impronta = LeggiIni(Sezione, QString::fromLatin1(ChiaveSha256Assistenza));
    if (EsisteFile(file) && improntaAttesa(file, impronta)) {
        return DownloadOutcome::Completed;
    }
    if (sito.isEmpty()) {
        return DownloadOutcome::Failed;
    }
    return ScaricaFile(indirizzoWeb(sito, percorsoScaricamento()), file, impronta, limiteScaricamento(), motivo);
}

} // namespace

void AssistenzaRemota()
{
    if (msgBox(Domanda, MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("Richiesta Conferma")) ==
        MsgResult::No) {
        return;
    }
    const std::optional<QString> nome = nomeProgramma();
    if (!nome) {
        return;
    }
    const QString cartella = cartellaAssistenza();
    const QString file = QDir::toNativeSeparators(cartella + QLatin1Char('/') + *nome);
    CreaCartella(cartella);

    const QString sito = sitoProduttore();
    QString motivo;
    switch (procuraProgramma(file, sito, &motivo)) {
    case DownloadOutcome::Completed:
        if (!platform().startProgram(file, {})) {
            throw ErroreEsecuzione(QStringLiteral("impossibile avviare il programma ") + file);
        }
        return;
    case DownloadOutcome::Cancelled:
        return;
    case DownloadOutcome::Failed:
        break;
    }
    if (sito.isEmpty()) {
        // Neither the download nor the maker's page can be had: one message says why and what to set.
        segnalaNonImpostato(QStringLiteral("Il programma  %1 non è disponibile e non si può scaricare: l'indirizzo "
                                           "del sito del produttore")
                                .arg(file),
                            ChiaveHostProduttore);
        return;
    }
    msgBox(QStringLiteral("Il programma  ") + file + QStringLiteral(" non è disponibile.") +
           (motivo.isEmpty() ? QString() : QStringLiteral("\r\n\r\nScaricamento non riuscito: ") + motivo));
    apriPaginaProduttore(PaginaAssistenzaRemota);
}

QString cartellaAssistenza()
{
    QString base = qEnvironmentVariable("PUBLIC");
    if (base.isEmpty()) {
        base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    }
    return QDir::toNativeSeparators(QDir::cleanPath(base + QLatin1Char('/') + SottocartellaAssistenza));
}

void CreaCartella(const QString& percorso)
{
    if (percorso.isEmpty() || QFileInfo::exists(percorso)) {
        return;
    }
    if (QDir().mkdir(percorso)) {
        return;
    }
    // The folder above is made first; a path that has no folder above it, or names itself as such,
    // ends here instead of going round for ever.
    const QString sopra = CartellaPadre(percorso);
    if (sopra.isEmpty() || sopra == percorso) {
        return;
    }
    CreaCartella(sopra);
    QDir().mkdir(percorso);
}

QString CartellaPadre(const QString& percorso)
{
    return DividiPercorso(percorso, true);
}

QString DividiPercorso(const QString& percorso, bool cartella)
{
    // 1-based position of the last separator, 1 when there is none.
    qsizetype posizione = 1;
    for (qsizetype i = percorso.size(); i > 0; --i) {
        if (separatore(percorso[i - 1])) {
            posizione = i;
            break;
        }
    }
    if (cartella) {
        return percorso.left(posizione - 1);
    }
    if (posizione == 1) {
        posizione = 0;
    }
    return percorso.mid(posizione);
}

bool EsisteFile(const QString& percorso)
{
    return !percorso.isEmpty() && QFileInfo(percorso).isFile();
}

DownloadOutcome ScaricaFile(const QString& indirizzo, const QString& file, const QString& sha256, qint64 limiteByte,
                            QString* motivo)
{
    DownloadRequest richiesta;
    richiesta.address = indirizzo;
    richiesta.targetFile = file;
    richiesta.maxBytes = limiteByte;
    richiesta.sha256 = sha256;
    richiesta.executable = true;
    richiesta.caption = QStringLiteral("Scaricamento di %1 in corso...").arg(DividiPercorso(file, false));
    return platform().download(richiesta, motivo);
}

} // namespace ondavia
