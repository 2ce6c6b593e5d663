// The register form's municipality boxes: the province of a municipality typed whole, and the
// completion of a municipality while its name is typed.

#include "F1OP.h"

#include "Costruttori.h"
#include "app/Comuni.h"
#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "app/Testi.h"
#include "ui/CControl.h"

#include <QLineEdit>

#include <algorithm>

namespace ondavia {

using costruttori::mostraIntero;

void F1OP::comuneLasciato(QLineEdit* comune, QLineEdit* provincia)
{
    impostaSfondo(comune, ColoreBianco);
    const QString nome = maiuscole(comune->text());
    if (nome != comune->text()) {
        mostraIntero(comune, nome);
    }
    if (senzaSpazi(nome).isEmpty()) {
        return;
    }
    // A province already typed that has a municipality of this name is kept: a name shared by several
    // provinces must not lose the one the operator chose.
    std::optional<Comune> trovato;
    QString errore;
    if (!cercaComune(nome, provincia->text(), &trovato, &errore)) {
        throw ErroreEsecuzione(errore);
    }
    if (trovato) {
        mostraIntero(provincia, trovato->provincia);
    }
}

void F1OP::comuneDigitato(QLineEdit* comune, QLineEdit* provincia, int tasto)
{
    // Only the letters complete: digits, blanks, Backspace, Delete and the arrows leave the text alone.
    if (tasto < Qt::Key_A || tasto > Qt::Key_Z) {
        return;
    }
    const QString testo = comune->text();
    const QString nome = senzaSpaziIniziali(testo);
    int caret = comune->cursorPosition();
    if (nome.size() != testo.size()) {
        caret = std::max(0, caret - static_cast<int>(testo.size() - nome.size()));
        comune->setText(nome);
        comune->setCursorPosition(caret);
    }
    if (nome.isEmpty() || caret == 0) {
        return;
    }
    // The letters before the caret, cut before any apostrophe is doubled: "SANT'A" looks for SANT'A....
    std::optional<Comune> trovato;
    QString errore;
    if (!completaComune(nome.left(caret), &trovato, &errore)) {
        throw ErroreEsecuzione(errore);
    }
    if (!trovato) {
        return;
    }
    mostraIntero(comune, trovato->nome);
    mostraIntero(provincia, trovato->provincia);
    // The caret stays after the letters typed; the proposed rest is selected, so typing on replaces it.
    const int lunghezza = static_cast<int>(comune->text().size());
    comune->setCursorPosition(lunghezza);
    comune->cursorBackward(true, lunghezza - caret);
}

} // namespace ondavia
