#include "Controlli.h"

#include "app/Dates.h"
#include "app/MsgBox.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextEdit>

namespace ondavia {

namespace {

constexpr int kLarghezzaMinima = 20;

// Blanks on each side of a short message, so that it stands in the middle of the box: 30 less half the
// length, a half rounded to the even number.
int margineMessaggio(qsizetype lunghezza)
{
    const qsizetype intero = 30 - lunghezza / 2;
    if (lunghezza % 2 == 0) {
        return static_cast<int>(intero);
    }
    // 30 - (2k + 1) / 2 lies halfway between 29 - k and 30 - k.
    const qsizetype basso = intero - 1;
    return static_cast<int>(basso % 2 == 0 ? basso : intero);
}

} // namespace

QColor coloreQt(Colore colore)
{
    return QColor(static_cast<int>(colore & 0xFF), static_cast<int>((colore >> 8) & 0xFF),
                  static_cast<int>((colore >> 16) & 0xFF));
}

void impostaColori(QWidget* controllo, const QColor& sfondo, const QColor& testo)
{
    if (!controllo) {
        return;
    }
    QPalette tavolozza = controllo->palette();
    for (const auto gruppo : {QPalette::Active, QPalette::Inactive}) {
        tavolozza.setColor(gruppo, QPalette::Base, sfondo);
        tavolozza.setColor(gruppo, QPalette::Text, testo);
    }
    controllo->setPalette(tavolozza);
}

void MostraErrore(QWidget* controllo, QString& messaggio)
{
    // The focus first: the focus colour it brings would paint over the error's, and leave the wrong value white
    // on pale yellow while the message is open.
    if (controllo) {
        controllo->setFocus();
    }
    impostaColori(controllo, coloreQt(0x0000FF), coloreQt(0xFFFFFF));
    if (messaggio.size() < 30) {
        const QString margine(margineMessaggio(messaggio.size()), QLatin1Char(' '));
        messaggio = margine + messaggio + margine;
    }
    msgBox(messaggio, MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Errore"));
    if (controllo) {
        impostaColori(controllo, coloreQt(ColoreFuoco), QApplication::palette(controllo).color(QPalette::Text));
        controllo->setFocus();
    }
}

void ControllaDataCampo(QLineEdit* casella)
{
    ControllaDataCampo(casella, [](QWidget* controllo, QString& messaggio) { MostraErrore(controllo, messaggio); });
}

void ControllaDataCampo(QLineEdit* casella, const std::function<void(QWidget*, QString&)>& mostraErrore, Secolo secolo)
{
    DataFormattata.clear();
    if (casella->text() == QLatin1String("00.00.00")) {
        return;
    }
    QString testo = casella->text();
    if (ValidaData(testo, secolo) != 2) {
        QString messaggio = QStringLiteral("Data non valida");
        mostraErrore(casella, messaggio);
        return;
    }
    casella->setText(DataFormattata);
}

void PulisciForm(QWidget* form)
{
    for (QWidget* controllo : form->findChildren<QWidget*>()) {
        if (auto* casella = qobject_cast<QLineEdit*>(controllo)) {
            // The line edits inside combo and spin boxes belong to them, not to the form.
            QWidget* contenitore = casella->parentWidget();
            if (!qobject_cast<QComboBox*>(contenitore) && !qobject_cast<QAbstractSpinBox*>(contenitore)) {
                casella->clear();
            }
        } else if (auto* area = qobject_cast<QPlainTextEdit*>(controllo)) {
            area->clear();
        } else if (auto* areaRicca = qobject_cast<QTextEdit*>(controllo)) {
            areaRicca->clear();
        } else if (auto* lista = qobject_cast<QComboBox*>(controllo)) {
            lista->setCurrentIndex(-1);
            if (lista->isEditable()) {
                lista->clearEditText();
            }
        } else if (auto* spunta = qobject_cast<QCheckBox*>(controllo)) {
            spunta->setCheckState(Qt::Unchecked);
        }
    }
}

void AdattaColonne(QTableView* griglia)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool aggiornava = griglia->updatesEnabled();
    griglia->setUpdatesEnabled(false);
    const int colonne = griglia->model() ? griglia->model()->columnCount() : 0;
    for (int colonna = 0; colonna < colonne; ++colonna) {
        griglia->resizeColumnToContents(colonna);
        if (griglia->columnWidth(colonna) < kLarghezzaMinima) {
            griglia->setColumnWidth(colonna, kLarghezzaMinima);
        }
    }
    griglia->setUpdatesEnabled(aggiornava);
    QApplication::restoreOverrideCursor();
}

} // namespace ondavia
