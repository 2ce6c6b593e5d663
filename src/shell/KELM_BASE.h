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
QString nomeComando(int id, const QString& caption);

// The primary screen's size in pixels; false when there is no screen to ask.
bool RisoluzioneSchermo(int& larghezza, int& altezza);

// Opens a new message to `destinatario` in the user's e-mail program, with the subject
// "RICHIESTA Utente Ondavia: ", for the user to complete and send. When no mail program takes it,
// a critical message says so and why.
void InviaMail(const QString& destinatario);

// InviaMail to an office's configured address; an address that is not configured is reported,
// naming the configuration key `chiave`, and no message is opened.
void inviaMailUfficio(const QString& indirizzo, const QString& ufficio, const char* chiave);

// Runs a command line in its own process without waiting for it. "EXPLORER " followed by an address,
// with or without double quotes around it, opens that address in the browser. True when it started.
bool Esegui(const QString& rigaComando);

} // namespace ondavia
