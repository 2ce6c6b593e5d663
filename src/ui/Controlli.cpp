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

constexpr QPalette::ColorGroup kGruppi[] = {QPalette::Active, QPalette::Inactive};

// The control the focus goes to when `controllo` is given it.
const QWidget* destinoFuoco(const QWidget* controllo)
{
    while (controllo->focusProxy()) {
        controllo = controllo->focusProxy();
    }
    return controllo;
}

// The colours a control had before a field error marked it, given back when another control of its window takes the
// focus. Only text boxes have a focus wrapper to take the focus colour off them: a list, a check box or an option
// marked in error would otherwise keep it for good, and look focused beside the control that is.
// It hears of the focus from the application, not from the control's events: a control's event filter installed
// while the control's own focus loss is being handled would have that loss handled twice, and a control whose window
// was given back the activation with another control focused is told nothing.
class ColoriPrimaDellErrore : public QObject {
    static constexpr char kNome[] = "ColoriPrimaDellErrore";

public:
    // Remembers the control's colours, unless an earlier error did and the control has not been left since.
    static void ricorda(QWidget* controllo)
    {
        auto* colori = di(controllo);
        if (!colori) {
            colori = new ColoriPrimaDellErrore(controllo);
        }
        if (colori->m_attivo) {
            return;
        }
        const QPalette tavolozza = controllo->palette();
        for (int i = 0; i < 2; ++i) {
            colori->m_sfondo[i] = tavolozza.color(kGruppi[i], QPalette::Base);
            colori->m_testo[i] = tavolozza.color(kGruppi[i], QPalette::Text);
            // The focus colour of a text box that has the focus is not its own: left, it is white.
            if (colori->m_sfondo[i] == coloreQt(ColoreFuoco)) {
                colori->m_sfondo[i] = coloreQt(ColoreBianco);
            }
        }
        colori->m_attivo = true;
    }

    static void rimetti(QWidget* controllo)
    {
        if (auto* colori = di(controllo)) {
            colori->rimetti();
        }
    }

private:
    explicit ColoriPrimaDellErrore(QWidget* controllo) : QObject(controllo)
    {
        setObjectName(QLatin1String(kNome));
        // A message box or another program taking the activation is no leaving of the control.
        connect(qApp, &QApplication::focusChanged, this, [this, controllo](QWidget*, QWidget* ora) {
            if (ora && ora != destinoFuoco(controllo) && ora->window() == controllo->window()) {
                rimetti();
            }
        });
    }

    static ColoriPrimaDellErrore* di(QWidget* controllo)
    {
        return dynamic_cast<ColoriPrimaDellErrore*>(
            controllo->findChild<QObject*>(QLatin1String(kNome), Qt::FindDirectChildrenOnly));
    }

    void rimetti()
    {
        if (!m_attivo) {
            return;
        }
        auto* controllo = static_cast<QWidget*>(parent());
        QPalette tavolozza = controllo->palette();
        for (int i = 0; i < 2; ++i) {
            tavolozza.setColor(kGruppi[i], QPalette::Base, m_sfondo[i]);
            tavolozza.setColor(kGruppi[i], QPalette::Text, m_testo[i]);
        }
        controllo->setPalette(tavolozza);
        m_attivo = false;
    }

    bool m_attivo = false;
    QColor m_sfondo[2];
    QColor m_testo[2];
};

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
        ColoriPrimaDellErrore::ricorda(controllo);
        controllo->setFocus();
    }
    impostaColori(controllo, coloreQt(0x0000FF), coloreQt(0xFFFFFF));
    if (messaggio.size() < 30) {
        const QString margine(margineMessaggio(messaggio.size()), QLatin1Char(' '));
        messaggio = margine + messaggio + margine;
    }
    msgBox(messaggio, MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Errore"));
    if (controllo) {
        controllo->setFocus();
        // A control that cannot take the focus (locked, out of sight) does not look as if it had it.
        if (controllo->window()->focusWidget() == destinoFuoco(controllo)) {
            impostaColori(controllo, coloreQt(ColoreFuoco), QApplication::palette(controllo).color(QPalette::Text));
        } else {
            ColoriPrimaDellErrore::rimetti(controllo);
        }
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
