// The backup and restore form: saving, saving every subject on its own, restoring.
#include "FSalva.h"

#include "app/Dates.h"
#include "app/Dichiarazioni.h"
#include "app/FileBackup.h"
#include "app/FileUtente.h"
#include "app/Launch.h"
#include "app/MsgBox.h"
#include "app/RipristinoBackup.h"
#include "app/ScrittoreBackup.h"
#include "app/Testi.h"
#include "db/Recordset.h"
#include "platform/Platform.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSet>

namespace ondavia {

namespace {

const QString TitoloSalvataggio = QStringLiteral("Indica dove salvare il file di backUp");
const QString TitoloCreaArchivio = QStringLiteral("CREA ARCHIVIO DI BACKUP");

// Row messages shown one by one during a restore; the others are counted and told at the end.
constexpr int kAvvisiMostrati = 10;

} // namespace

bool FSalva::SalvaArchivio(const QString& percorso, const QString& codice, bool soloSoggetto, QString* errore)
{
    ScrittoreBackup scrittore(Conn);
    ScrittoreBackup::Opzioni opzioni;
    opzioni.cifra = Crip->isChecked();
    if (soloSoggetto) {
        opzioni.soloSoggetto = codice.isNull() ? QStringLiteral("") : codice;
    }
    opzioni.passo = [this] { AvanzaProgresso(); };
    return scrittore.ScriviTabella(percorso, TabellaSoggetti, opzioni, errore);
}

bool FSalva::salvaAlLavoro(const QString& codice, bool soloSoggetto, bool azzera)
{
    iniziaLavoro(azzera);
    QString errore;
    const bool scritto = SalvaArchivio(m_nomeFileBackup, codice, soloSoggetto, &errore);
    fineLavoro();
    if (!scritto) {
        // Nothing was written: the form is back as it was before the confirm, for another try.
        azzeraProgresso();
        msgBox(errore);
    }
    return scritto;
}

void FSalva::confermaSalvataggio()
{
    DataSalvataggio = OggiAAAAMMGG();
    Label1->setText(TitoloCreaArchivio);
    Label2->setText(QStringLiteral("Tutti i soggetti registrati"));
    const auto scelto = chiediDoveSalvare(
        {TitoloSalvataggio, CartellaDesktop(), nomeBackupPredefinito(DataSalvataggio), filtroBackup()});
    if (!scelto) {
        return;
    }
    m_nomeFileBackup = *scelto;
    if (!salvaAlLavoro(CodiceCorrente, false, false)) {
        return;
    }
    msgBox(QStringLiteral("Creazione file di BackUP terminata"));
    accept();
}

void FSalva::ChiediCartella()
{
    DataSalvataggio = OggiAAAAMMGG();
    m_cartellaTutti.clear();
    Label1->setText(TitoloCreaArchivio);
    Label2->setText(QStringLiteral("(TUTTI)"));
    const auto cartella =
        platform().chooseFolder({TitoloSalvataggio, CartellaDesktop(), QStringLiteral("(TUTTI)"), filtroBackup()});
    if (cartella && !cartella->isEmpty()) {
        m_cartellaTutti = QDir::toNativeSeparators(QDir(*cartella).absolutePath() + QLatin1Char('/'));
    }
}

void FSalva::saveALL_Click()
{
    if (m_alLavoro) {
        return;
    }
    db::Recordset righe;
    // Only the two columns the loop reads: the recordset holds every row of the register at once.
    if (!righe.Open(QStringLiteral("SELECT OCOD, orag From COPE order by orag"), Conn)) {
        msgBox(QStringLiteral("Impossibile leggere l'archivio: %1").arg(righe.lastError()));
        return;
    }
    // The shared code and name name each subject in turn while its file is written; afterwards they name
    // again the subject the register shows, which the print-out and the delete act on.
    struct Ripristina {
        QString codice = CodiceCorrente;
        QString nome = NomeCorrente;
        ~Ripristina()
        {
            CodiceCorrente = codice;
            NomeCorrente = nome;
        }
    } correnti;
    // One file per subject: a second progressive of a subject already written adds nothing to its file.
    QSet<QString> scritti;
    for (righe.MoveFirst(); !righe.Eof(); righe.MoveNext()) {
        NomeCorrente = NoNull(righe.Fields(QStringLiteral("orag")).Value());
        CodiceCorrente = NoNull(righe.Fields(QStringLiteral("OCOD")).Value());
        if (m_cartellaTutti.isEmpty()) {
            ChiediCartella();
        }
        if (m_cartellaTutti.isEmpty()) {
            accept();
            return;
        }
        const QString chiave = senzaSpazi(CodiceCorrente).toCaseFolded();
        if (scritti.contains(chiave)) {
            continue;
        }
        scritti.insert(chiave);
        Label2->setText(NomeCorrente);
        m_nomeFileBackup = m_cartellaTutti + nomeBackupSoggetto(CodiceCorrente, NomeCorrente, DataSalvataggio);
        if (!salvaAlLavoro(CodiceCorrente, true, true)) {
            return;
        }
    }
    msgBox(QStringLiteral("Salvataggio terminato"));
    SalvaTutti = false;
    accept();
}

void FSalva::confermaRipristino()
{
    DataSalvataggio = OggiAAAAMMGG();
    iniziaLavoro(false);
    const bool ripristinato = RipristinaArchivio();
    fineLavoro();
    if (ripristinato) {
        msgBox(QStringLiteral("Ripristino terminato"));
    }
    accept();
}

QString FSalva::copiaDiSicurezza() const
{
    // An earlier safety copy of the same day may be the only copy of the register before a wrong restore:
    // it is never replaced.
    const QDir cartella(cartellaProgramma());
    QString nome = nomeCopiaSicurezza(m_codiceBackup, DataSalvataggio);
    for (int n = 2; QFileInfo::exists(cartella.filePath(nome)); ++n) {
        nome = nomeCopiaSicurezza(m_codiceBackup, DataSalvataggio + QLatin1Char('_') + QString::number(n));
    }
    return cartella.filePath(nome);
}

void FSalva::avvisoRipristino(const QString& testo)
{
    if (m_avvisiMostrati < kAvvisiMostrati) {
        ++m_avvisiMostrati;
        msgBox(testo);
    } else {
        ++m_avvisiNonMostrati;
    }
}

bool FSalva::RipristinaArchivio()
{
    Label16->show();
    PERC->show();
    const QString copia = copiaDiSicurezza();
    QString errore;
    if (!SalvaArchivio(copia, m_codiceBackup, false, &errore)) {
        msgBox(QStringLiteral("Prima del ripristino l'archivio attuale viene copiato in\r\n%1\r\nma la copia non è "
                              "riuscita:\r\n%2\r\nIl ripristino non è stato eseguito: l'archivio non è stato "
                              "modificato.")
                   .arg(QDir::toNativeSeparators(copia), errore));
        return false;
    }

    m_avvisiMostrati = 0;
    m_avvisiNonMostrati = 0;
    RipristinoBackup ripristino(Conn, {TipoDb == QLatin1String("S"),
                                       [this](const QString& testo) { avvisoRipristino(testo); },
                                       [this] { AvanzaProgresso(); }});
    if (!ripristino.RipristinaArchivio(m_nomeFileBackup, &errore)) {
        msgBox(errore);
        return false;
    }
    if (m_avvisiNonMostrati > 0) {
        msgBox(QStringLiteral("Il ripristino ha trovato altri %1 problemi, non mostrati uno per uno: le righe e i "
                              "valori che li hanno dati non sono stati ripristinati.")
                   .arg(m_avvisiNonMostrati));
    }
    m_ripristinato = true;
    return true;
}

} // namespace ondavia
