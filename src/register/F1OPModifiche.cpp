// The register form's changes not yet saved: telling them, and asking before anything is put over them.

#include "F1OP.h"

#include "GrigliaSoggetti.h"
#include "app/Dichiarazioni.h"
#include "app/MsgBox.h"
#include "app/Testi.h"
#include "shell/GestoreProtetto.h"
#include "ui/CControl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTableView>
#include <QTimer>

namespace ondavia {

QStringList F1OP::statoForm() const
{
    // By name: the order of the form's children changes as its tabs come to the front.
    QStringList stato;
    const auto voce = [&stato](const QWidget* controllo, const QString& valore) {
        stato << controllo->objectName() + QLatin1Char('=') + valore;
    };
    for (const QLineEdit* casella : findChildren<QLineEdit*>()) {
        if (CControl::eCasellaDiTesto(casella)) {
            // Cleaned as a box left is: passing through a box is no change.
            voce(casella, CControl::testoLasciato(casella->text()));
        }
    }
    voce(CBrap, CBrap->currentText());
    for (const QAbstractButton* scelta : findChildren<QAbstractButton*>()) {
        if (scelta->isCheckable()) {
            voce(scelta, QString::number(scelta->isChecked()));
        }
    }
    stato.sort();
    return stato;
}

bool F1OP::modificato() const
{
    return m_caricato && statoForm() != m_statoCaricato;
}

bool F1OP::chiediModifiche()
{
    if (!modificato()) {
        return true;
    }
    QString soggetto;
    if (m_registrato) {
        soggetto = senzaSpazi(NomeCorrente) + QStringLiteral(" progressivo ") + m_registrato->progressivo;
    } else {
        const QString nome =
            senzaSpazi(o2->isChecked() ? vOCOG->text() + QLatin1Char(' ') + vONOME->text() : torag->text());
        const QString chi = nome.isEmpty() ? senzaSpazi(topiva->text()) : nome;
        soggetto = chi.isEmpty() ? QStringLiteral("nuovo") : chi + QStringLiteral(" (nuovo)");
    }
    const MsgResult risposta =
        msgBox(QStringLiteral("Il soggetto %1 è stato modificato. Registrare le modifiche?").arg(soggetto),
               MsgButtons::YesNoCancel, MsgIcon::Question, QStringLiteral("Richiesta conferma"), 3);
    switch (risposta) {
    case MsgResult::Yes:
        // Saved as REGISTRA saves; a save the validation or the operator refuses keeps the form as it is.
        Conferma();
        return DatiValidi;
    case MsgResult::No:
        return true;
    default:
        return false;
    }
}

bool F1OP::lasciaSoggetto()
{
    bool avanti = false;
    eseguiProtetto(QString(), [this, &avanti] { avanti = chiediModifiche(); });
    return avanti;
}

void F1OP::rigaScelta(const QModelIndex& scelta)
{
    if (!scelta.isValid() || !modificato()) {
        IGOpe_RigaScelta();
        return;
    }
    // The chosen subject is kept by its key: once the list is read again a row number may name another subject.
    const Chiave voluta{m_griglia->testo(scelta.row(), 0), m_griglia->testo(scelta.row(), 1)};
    if (chiediModifiche()) {
        if (modificato()) {
            // No: the changes are dropped and the chosen subject is loaded.
            CodiceCorrente = voluta.codice;
            vONPROG->setText(voluta.progressivo);
            Dettaglio();
        } else {
            listaSelezionando(voluta); // saved: the list was read again, the row is found by its subject
        }
    }
    // Annulla, or a refused save, keeps the subject on screen with its changes.
    scegliRigaSoggetto();
    // The click or key that chose the row goes on once the question is answered, and its selection may fall on
    // another row (the one under the mouse, in a list read again): the list is put on the subject on screen once
    // more after it. Not before the question: the open question box runs the queued work, and the click would
    // then undo the correction.
    QTimer::singleShot(0, this, [this] { scegliRigaSoggetto(); });
}

void F1OP::scegliRigaSoggetto()
{
    const QScopedValueRollback riempimento(m_riempimentoGriglia, true);
    QItemSelectionModel* selezione = IGOpe->selectionModel();
    if (const int riga = m_registrato ? rigaDi(*m_registrato) : -1; riga >= 0) {
        selezione->setCurrentIndex(m_griglia->index(riga, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        selezione->clear();
    }
}

} // namespace ondavia
