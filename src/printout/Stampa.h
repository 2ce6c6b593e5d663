#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace ondavia {

class DatiScheda;

// The print-out of one subject: the row of COPE of `codice` and `progressivo` on a one-page PDF card drawn
// over the template page, saved where the user chooses and opened in the system's viewer.
//  - No code (no stored subject on screen): the operator is told so in a message of the print-out's own.
//  - No such row, or a table that cannot be read: ErroreEsecuzione, before anything is asked.
//  - A template that cannot be written, a cancelled dialog, a chosen file held by another program, a file
//    that cannot be written, a damaged template: the user is told (a cancel quietly) and nothing is written;
//    an existing file of the chosen name is kept whole. Every reason is told in Italian, naming the file.
//  - A viewer that cannot be started: the user is told where the finished document is.
void stampaSoggetto(const QString& codice, const QString& progressivo);

// The day the print-out carries (its date, its file name, its creation date): today by the PDF writer's
// clock, so a program left open overnight dates its print-outs right.
QDate dataStampa();

// The save dialog of the print-out, on the Desktop, proposing "OVIA_" + the first 30 letters of `nome` + "_"
// + `giorno` as yyyymmdd + ".pdf", shown again while the user refuses to replace an existing file. Nothing
// when the user cancels.
std::optional<QString> SalvaConNome(const QString& nome, const QDate& giorno);

// How writing the card ended.
enum class EsitoScrittura { Scritto, NonAperto, FileNonScrivibile, ModelloDanneggiato };

// Writes the card of `dati` to `percorso` over the template at `modello`; on failure `errore` says why, in a
// sentence for the operator.
// Opens the finished document in the viewer when `apri` is set; NonAperto when the viewer cannot start.
EsitoScrittura scriviScheda(const QString& percorso, const QString& modello, const DatiScheda& dati,
                            const QDate& giorno, bool apri, QString* errore);

} // namespace ondavia
