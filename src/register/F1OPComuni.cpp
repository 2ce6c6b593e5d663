// The register form's municipality boxes: the province of a municipality typed whole, and the
// completion of a municipality while its name is typed.

#include "F1OP.h"

#include "Costruttori.h"
#include "app/Comuni.h"
#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "app/Testi.h"
#include "ui/CControl.h"
#include "ui/EventiCampo.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace ondavia {

using costruttori::mostraIntero;

namespace {

bool conComandi(const QKeyEvent& evento)
{
    return (evento.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
}

} // namespace

void F1OP::collegaComuni()
{
    const std::pair<QLineEdit*, QLineEdit*> coppie[] = {
        {vOSCOM, vOSPRO}, {vONCOM, vONPRO}, {vRENCOM, vRENPRO}, {vSICOM, vSIPRO}};
    for (int i = 0; i < 4; ++i) {
        CasellaComune& casella = m_comuni[i];
        casella.comune = coppie[i].first;
        casella.provincia = coppie[i].second;
        casella.cercataInUscita = i < 2;
        EventiCampo* eventi = EventiCampo::di(casella.comune);
        eventi->uscita = gestoreCampo([this, &casella] { comuneLasciato(casella); });
        // Only the letters typed complete. Ctrl+A, Ctrl+V and the like edit the box as anywhere else, even
        // when Ctrl is let go before the letter; digits, blanks, Backspace, Delete and the arrows leave the
        // text alone.
        eventi->tastoPremuto = [&casella](const QKeyEvent& evento) {
            std::erase(casella.lettere, evento.key());
            if (evento.key() >= Qt::Key_A && evento.key() <= Qt::Key_Z && !conComandi(evento)) {
                casella.lettere.push_back(evento.key());
            }
        };
        eventi->tastoRilasciato = [this, &casella](const QKeyEvent& evento) {
            // A key held down repeats its letter; the completion waits for it to be let go.
            if (evento.isAutoRepeat() || std::erase(casella.lettere, evento.key()) == 0) {
                return;
            }
            gestoreCampo([this, &casella] { comuneDigitato(casella); })();
        };
        connect(casella.comune, &QLineEdit::textEdited, this,
                [&casella](const QString& testo) { casella.digitato = testo; });
    }
}

void F1OP::dimenticaComuni()
{
    for (CasellaComune& casella : m_comuni) {
        casella.provinciaProposta = false;
        casella.digitato.clear();
    }
}

void F1OP::comuneLasciato(CasellaComune& casella)
{
    QLineEdit* comune = casella.comune;
    QLineEdit* provincia = casella.provincia;
    // What was proposed and typed is weighed once, when the box is left.
    const bool proposta = std::exchange(casella.provinciaProposta, false);
    const QString digitato = std::exchange(casella.digitato, QString());
    if (casella.cercataInUscita) {
        impostaSfondo(comune, ColoreBianco);
    }
    const QString nome = maiuscole(comune->text());
    if (nome != comune->text()) {
        mostraIntero(comune, nome);
    }
    // A vowel with an accent ending the name, which the clean-up made plain, means the municipality written
    // with an apostrophe: the operator typed CANTÙ, the table has CANTU'.
    QStringList nomi;
    if (!digitato.isEmpty() && CControl::testoLasciato(digitato) == nome) {
        const QString scritto = CControl::testoLasciato(apostrofiPerAccenti(digitato));
        if (scritto != nome) {
            nomi.append(scritto);
        }
    }
    if (!casella.cercataInUscita && !proposta && nomi.isEmpty()) {
        return;
    }
    if (senzaSpazi(nome).isEmpty()) {
        if (proposta) {
            mostraIntero(provincia, QString());
        }
        return;
    }
    nomi.append(nome);
    for (const QString& cercato : nomi) {
        // A province already typed that has a municipality of this name is kept: a name shared by several
        // provinces must not lose the one the operator chose.
        std::optional<Comune> trovato;
        QString errore;
        if (!cercaComune(cercato, provincia->text(), &trovato, &errore)) {
            throw ErroreEsecuzione(errore);
        }
        if (trovato) {
            if (cercato != nome) {
                mostraIntero(comune, trovato->nome);
            }
            mostraIntero(provincia, trovato->provincia);
            return;
        }
    }
    // No municipality has this name: the province proposed for another one goes, and the operator types the
    // right one. A province typed or stored stays.
    if (proposta) {
        mostraIntero(provincia, QString());
    }
}

void F1OP::comuniInSospeso()
{
    for (CasellaComune& casella : m_comuni) {
        if (casella.provinciaProposta || !casella.digitato.isEmpty()) {
            // First cleaned as the box left would be.
            const QString pulito = CControl::testoLasciato(casella.comune->text());
            if (pulito != casella.comune->text()) {
                casella.comune->setText(pulito);
            }
            comuneLasciato(casella);
        }
    }
}

void F1OP::comuneDigitato(CasellaComune& casella)
{
    QLineEdit* comune = casella.comune;
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
    mostraIntero(casella.provincia, trovato->provincia);
    casella.provinciaProposta = true;
    // The caret stays after the letters typed; the proposed rest is selected, so that typing on replaces it.
    const int lunghezza = static_cast<int>(comune->text().size());
    comune->setCursorPosition(lunghezza);
    comune->cursorBackward(true, lunghezza - caret);
}

} // namespace ondavia
