// The register form's delete, copy and progressive numbers.

#include "F1OP.h"

#include "app/Archivio.h"
#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "app/MsgBox.h"
#include "app/Testi.h"
#include "db/Recordset.h"

#include <QLineEdit>
#include <QTableView>

namespace ondavia {

namespace {

// ONPROG holds three characters.
constexpr qint64 kUltimoProgressivo = 999;

// A new subject, not yet saved, is on screen: deleting or copying "the subject" would act on the one
// shown before, which the operator no longer sees.
void nessunSoggettoRegistrato()
{
    msgBox(QStringLiteral("Nessun soggetto registrato è selezionato: il soggetto sullo schermo non è ancora stato "
                          "registrato.\n\nScegliere un soggetto dall'elenco."));
}

} // namespace

bool F1OP::soggettoRegistrato() const
{
    const auto stesso = [](const QString& a, const QString& b) {
        return senzaSpazi(a).compare(senzaSpazi(b), Qt::CaseInsensitive) == 0;
    };
    return m_registrato && stesso(m_registrato->codice, CodiceCorrente) &&
           stesso(m_registrato->codice, topiva->text()) && stesso(m_registrato->progressivo, vONPROG->text());
}

void F1OP::Elimina()
{
    if (!soggettoRegistrato()) {
        nessunSoggettoRegistrato();
        return;
    }
    const MsgResult risposta = msgBox(QStringLiteral("Confermi l'Eliminazione di \n \n") + NomeCorrente +
                                          QStringLiteral(" progressivo ") + vONPROG->text() + QStringLiteral("?"),
                                      MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("Richiesta conferma"), 2);
    if (risposta == MsgResult::No) {
        return;
    }
    SQL = QStringLiteral("DELETE  From COPE WHERE ") + condizioneSoggetto(CodiceCorrente, vONPROG->text());
    if (!Conn.Execute(SQL)) {
        throw ErroreEsecuzione(Conn.lastError());
    }
    // The list then shows the subject that followed the deleted one, or the new last one.
    const QModelIndex corrente = IGOpe->currentIndex();
    if (corrente.isValid()) {
        RigaGriglia = corrente.row() + 1;
    }
    CodiceCorrente.clear();
    Lista();
}

void F1OP::Copia()
{
    if (CodiceCorrente.isEmpty()) {
        return;
    }
    if (!soggettoRegistrato()) {
        nessunSoggettoRegistrato();
        return;
    }
    // The copy is made from the stored row and then shown: changes on screen are saved first, or dropped.
    if (!chiediModifiche()) {
        return;
    }
    const MsgResult risposta =
        msgBox(QStringLiteral("Confermi la COPIA dei dati del soggetto selezionato: \n \n") + senzaSpazi(NomeCorrente) +
                   QStringLiteral("?\n \nSe SI verrà creato un NUOVO PROGRESSIVO per il soggetto."),
               MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("Copia Soggetto"));
    if (risposta == MsgResult::Yes) {
        DuplicaProgressivo();
    }
}

std::optional<QString> F1OP::ProssimoProgressivo()
{
    QString errore;
    const std::optional<qint64> ultimo = ultimoProgressivo(Conn, CodiceCorrente, &errore);
    if (!ultimo) {
        throw ErroreEsecuzione(errore);
    }
    const qint64 prossimo = *ultimo + 1;
    if (prossimo > kUltimoProgressivo) {
        msgBox(QStringLiteral("Il soggetto %1 ha già il progressivo 999, l'ultimo possibile: "
                              "non si possono creare altri progressivi.")
                   .arg(CodiceCorrente));
        return std::nullopt;
    }
    QString testo = QString::number(prossimo);
    return ZeriSinistra(testo, 3).value_or(testo);
}

bool F1OP::proponiProgressivo()
{
    const std::optional<QString> prossimo = ProssimoProgressivo();
    if (prossimo) {
        vONPROG->setText(*prossimo);
    }
    return prossimo.has_value();
}

void F1OP::DuplicaProgressivo()
{
    const QString progressivo = senzaSpazi(vONPROG->text());
    SQL = QStringLiteral("SELECT * From COPE WHERE ") + condizioneSoggetto(CodiceCorrente, progressivo);
    db::Recordset origine;
    if (!origine.Open(SQL, Conn)) {
        throw ErroreEsecuzione(origine.lastError());
    }
    // The list then shows the copy, or the subject that was to be copied: the row remembered from an earlier
    // save would put another subject on screen.
    Chiave mostrata{CodiceCorrente, progressivo};
    if (origine.RecordCount() > 0) {
        // The free progressive is read and taken in one step.
        db::Transaction transazione(Conn);
        if (!transazione.isActive()) {
            throw ErroreEsecuzione(Conn.lastError());
        }
        if (const std::optional<QString> nuovo = ProssimoProgressivo()) {
            SQL = QStringLiteral("SELECT * From COPE ");
            db::Recordset copia;
            if (!copia.Open(SQL, Conn) || !copia.AddNew()) {
                throw ErroreEsecuzione(copia.lastError());
            }
            for (IndCampo = 0; IndCampo < origine.FieldCount(); ++IndCampo) {
                if (!copia.Fields(IndCampo).setValue(origine.Fields(IndCampo).Value())) {
                    throw ErroreEsecuzione(copia.lastError());
                }
            }
            if (!copia.Fields(QStringLiteral("ONPROG")).setValue(*nuovo) || !copia.Update()) {
                throw ErroreEsecuzione(copia.lastError());
            }
            if (!transazione.commit()) {
                throw ErroreEsecuzione(Conn.lastError());
            }
            copia.Close();
            mostrata.progressivo = *nuovo;
            msgBox(QStringLiteral("I dati del soggetto ") + NomeCorrente +
                   QStringLiteral(" sono stati copiati  nel progressivo ") + *nuovo);
        }
    }
    origine.Close();
    listaSelezionando(mostrata);
}

} // namespace ondavia
