#pragma once

#include <QString>

class QAction;
class QWidget;

namespace ondavia {

// Kinds of command-bar control.
enum TipoControllo : int { ControlloPulsante = 1, ControlloPopup = 2 };

// Styles of a command-bar control: automatic (icon only on a toolbar, icon and caption in a menu)
// or icon and caption everywhere.
enum StileControllo : int { StileAutomatico = 0, StileIconaETesto = 3 };

// Adds one control to a command bar (a QMenuBar, QMenu or QToolBar) and returns it. A popup becomes a
// QMenu whose own controls are reached through the returned action's menu(). The command id is the
// action's data; caption, begin-group flag, description, style and category are kept as the action's
// properties "iniziaGruppo", "descrizione", "stile" and "categoria". A group that begins with the
// control gets a separator before it, unless nothing stands before it on the bar.
QAction* AggiungiComando(QWidget* controlli, int tipo, int id, const QString& caption, bool iniziaGruppo,
                         const QString& descrizione, int stile, const QString& categoria);

// The object name a command's action carries: "cmd_", the id, "_" and the caption's letters and
// digits ("cmd_701_Aggiungi", "cmd_7062_AgenziaEntrateProvvedimento").
QString NomeComando(int id, const QString& caption);

// The primary screen's size in pixels; false when there is no screen to ask.
bool RisoluzioneSchermo(int& larghezza, int& altezza);

} // namespace ondavia
