#pragma once

// Small builders of the register form's controls, shared by the files that build its tabs.

#include "app/Comunicazione.h"

#include <QString>

#include <initializer_list>
#include <utility>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace ondavia::costruttori {

// The font of the text boxes as designed; the form's load enlarges it.
inline constexpr int kPuntiCaselle = 8;
inline constexpr int kPuntiCaselleCaricate = 10;
inline constexpr char kCarattere[] = "Tahoma";

// A text box called `nome`; `massimo` 0 leaves the length free. Line breaks and other control characters
// never enter it. Full, its tool tip says "massimo N caratteri", shown at once when typed into.
QLineEdit* casella(QWidget* genitore, const char* nome, int massimo = 0, bool centrata = false);
// A text box whose text goes into the communication file: as long as its field there, and no longer.
QLineEdit* casella(QWidget* genitore, const char* nome, TestoComunicazione campo, bool centrata = false);
// Shows a stored text whole, even one longer than the box lets the operator type (kept by an older
// register or a restore): cut here, a save would store the cut text without a word. The validation then
// names the field. A shorter text gives the box its own limit back.
void mostraIntero(QLineEdit* casella, const QString& testo);
// The tool tip of a box is kept in its tag too: the focus wrapper shows the tag as tool tip.
void suggerimento(QLineEdit* casella, const QString& testo);
// A caption; with a companion it is named "lbl" and the companion's name (of the control a row hands the
// focus to) and its mnemonic moves the focus there.
QLabel* etichetta(QWidget* genitore, const QString& testo, QWidget* compagno = nullptr);
QRadioButton* opzione(QWidget* genitore, const char* nome, const QString& testo);
QCheckBox* spunta(QWidget* genitore, const char* nome, const QString& testo);
QGroupBox* cornice(QWidget* genitore, const char* nome, const QString& titolo);
QPushButton* pulsante(QWidget* genitore, const char* nome, const QString& testo);
// A date box with its calendar button rdata(`indice`) at its right, in a row that stands where the box
// would stand and hands the focus to the box. The button takes no focus: clicking it leaves the focus
// where it is until the calendar's handler moves it.
QWidget* conCalendario(QLineEdit* casella, QPushButton** pulsante, int indice);
// Lays captioned boxes out two to a row (caption, box, caption, box), the boxes taking the spare width.
QGridLayout* grigliaCampi(QWidget* contenitore, std::initializer_list<std::pair<QString, QWidget*>> campi);
// An address frame: a wide box on a row of its own, then a municipality and its province ("Prov.").
QGridLayout* grigliaIndirizzo(QWidget* contenitore, const QString& didascalia, QWidget* ampio,
                              const QString& didascaliaComune, QWidget* comune, QWidget* provincia);
// The option buttons of one frame, of which at most one is chosen.
QButtonGroup* gruppo(QWidget* genitore, std::initializer_list<QRadioButton*> opzioni);
// Chooses an option (its group's other options are then not chosen) or takes the choice away from it,
// which leaves its whole group without a choice.
void impostaOpzione(QRadioButton* opzione, bool scelta);

} // namespace ondavia::costruttori
