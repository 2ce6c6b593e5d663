#pragma once

#include <QString>

namespace folian {
class Folian;
}

namespace ondavia {

// The template page of the subject's card: Stampe/basec1.pdf in the program folder. The program writes its
// own when the file is missing; an installation may put its own page (a letterhead laid out like ours) there
// instead, and the program leaves that alone.
QString percorsoModello();

// Makes sure the template is there: writes ours when the file is missing, or when it is ours but laid out
// by an earlier version of the program. False, with a message for the user naming the file, when it cannot
// be written.
bool preparaModello(QString* errore);

// Writes our template page to `percorso` (in place of any file there, only once it is complete).
bool scriviModello(const QString& percorso, QString* errore);

// Draws the fixed part of the card (heading, frames and captions, the fields' captions and lines, the
// boxes, the lines to sign on, the footer) on the open page of `pdf`, in centimetres with no margins.
void disegnaModello(folian::Folian& pdf);

// The keywords that mark a template as ours, with the version of its layout.
QString firmaModello();

} // namespace ondavia
