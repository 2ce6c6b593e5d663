#pragma once

#include "app/Dates.h"
#include "app/Dichiarazioni.h"

#include <QColor>
#include <QString>

#include <functional>

class QLineEdit;
class QTableView;
class QWidget;

namespace ondavia {

// Helpers of the forms that work on Qt widgets.

// A colour of the forms (0xBBGGRR) as Qt takes it.
QColor coloreQt(Colore colore);

// Sets the background and the text colour of an input control (line edit, combo box, text area).
void impostaColori(QWidget* controllo, const QColor& sfondo, const QColor& testo);

// Shows a field error: the control takes the focus and turns red with white text, a critical message
// box titled "Errore" shows the message, then the control takes the focus colour (ColoreFuoco) with the
// normal text colour and the focus again. A message shorter than 30 characters is centred with blanks
// on both sides, and the caller's variable is changed to the centred text.
void MostraErrore(QWidget* controllo, QString& messaggio);

// Checks the date typed in a box when the user leaves it: a valid date is rewritten as dd/mm/yyyy,
// anything else is shown as "Data non valida" on the box, whose text stays as typed. "00.00.00" is left alone.
// Kept as the plain form of the check: the register's date boxes use the one below.
void ControllaDataCampo(QLineEdit* casella);
// The same, the error shown by `mostraErrore` in place of MostraErrore (a form that first brings the
// field into view), a two-digit year read as `secolo` says.
void ControllaDataCampo(QLineEdit* casella, const std::function<void(QWidget*, QString&)>& mostraErrore,
                        Secolo secolo = Secolo::Corrente);

// Empties every text box and combo box of the form and unticks every check box.
void PulisciForm(QWidget* form);

// Fits every column of the grid to its contents (at least 20 pixels), with the wait cursor showing.
void AdattaColonne(QTableView* griglia);

} // namespace ondavia
