#pragma once

// A walk through the register form as an operator makes it: random actions from a seed, on the main window
// and the form as they stand, every question answered at random. After each action the walk checks what the
// operator must be able to trust, against its own record of what was saved.

#include "platform/ScriptedPlatform.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QLineEdit;
class QWidget;

namespace ondavia {
class F0;
class F1OP;
} // namespace ondavia

namespace ondavia::test {

// One action of the operator, with all it needs to be done again: the same steps on the same register do
// the same, so a walk can be replayed, and shortened, without its seed.
struct Passo {
    enum class Tipo {
        ClicRiga,     // riga, colonna
        TastoElenco,  // tasto
        ClicVuoto,    // the list's blank area, below its rows
        Digita,       // campo, modo, testo, quanti
        TipoSoggetto, // modo, testo
        Scelta,       // campo: an option or a check box
        Scheda,       // indice
        Tab,
        TabIndietro,
        Registra,          // the REGISTRA button of the tab in front
        RegistraBarra,     // the toolbar's "Conferma"
        CreaComunicazione, // the form's button
        Aggiungi,
        Copia,
        Elimina,
        Stampa,
        Compila, // testi: every field a save needs, typed one after the other ("campo=valore")
    };
    enum Modo { Sostituisci, Incolla, InFondo, CancellaEScrivi, Taglia, CancellaCoda, SostituisciCoda, NumModi };

    Tipo tipo = Tipo::Tab;
    int a = 0;
    int b = 0;
    QString campo;
    QString testo;
    QStringList testi;
    // The answers given to the questions the action raised, in order; a replay gives them again.
    std::vector<MsgResult> risposte;

    QString descrizione() const;
};

class Giro {
public:
    explicit Giro(ScriptedPlatform& scripted);
    ~Giro();
    Giro(const Giro&) = delete;
    Giro& operator=(const Giro&) = delete;

    // Walks up to `quanti` steps from `seme` on a register holding the walk's starting subjects. Returns the
    // first broken rule ("[rule] what"), empty when every step kept them all; passi() holds the steps made.
    QString cammina(std::uint64_t seme, int quanti);
    // The same steps again on a fresh register; the first broken rule, or empty.
    QString ripeti(const std::vector<Passo>& passi);
    // Fewer of `passi` that still break rule `regola` (the bracketed tag of a failure), at most `prove` replays.
    std::vector<Passo> riduci(std::vector<Passo> passi, const QString& regola, int prove);

    // The steps of the last walk or replay, with the answers given.
    const std::vector<Passo>& passi() const { return m_passi; }
    // The steps as a numbered list, with the answers given.
    static QString elenco(const std::vector<Passo>& passi);
    static QString regolaDi(const QString& guasto);

private:
    using Riga = std::map<QString, QString>;
    using Chiave = std::pair<QString, QString>;

    void apri();
    void chiudi();
    void seminaArchivio();

    Passo genera();
    void esegui(Passo& passo);
    void digita(Passo& passo);
    void digitaIn(QLineEdit* casella, Passo::Modo modo, const QString& testo, int quanti);
    void tipoSoggetto(const Passo& passo);
    void compila(const Passo& passo);
    void comando(int id);
    bool clicca(QWidget* controllo);

    std::optional<MsgResult> rispondi(const MessageRequest& richiesta);
    // One of `possibili`, by weight; when replaying, the one recorded (`predefinita` when none fits).
    MsgResult scegli(MsgResult predefinita, std::initializer_list<MsgResult> possibili,
                     std::initializer_list<int> pesi);
    void salvataggioIniziato();
    void listaRiempita();

    // The checks after each step.
    void verifica(const Passo& passo);
    void verificaArchivio();
    void verificaElenco();
    void verificaFuoco();

    Riga rigaDalForm() const;
    // What the operator sees on the form, cleaned as a box left is: compared with the stored row to tell
    // changes not yet saved.
    bool modificato() const;
    Chiave chiaveForm() const;
    bool nuovoSoggetto() const;
    std::map<Chiave, Riga> leggiArchivio() const;

    void guasto(const QString& testo);
    std::uint64_t caso();
    int caso(int n) { return static_cast<int>(caso() % static_cast<std::uint64_t>(n)); }

    ScriptedPlatform& m_scripted;
    std::unique_ptr<F0> m_finestra;
    F1OP* m_registro = nullptr;

    std::uint64_t m_stato = 0;
    // Replaying: answers come from the step, not from the seed.
    bool m_ripetizione = false;
    std::vector<Passo> m_passi;
    Passo* m_corrente = nullptr;
    std::vector<MsgResult> m_registrate;
    size_t m_risposta = 0;
    QString m_guasto;

    // The register as the operator made it: every row is what the form held when its save succeeded, a copy
    // of a row, or a starting subject.
    std::map<Chiave, Riga> m_modello;
    // A save under way: the form is read when the list is filled again after it.
    bool m_salvataggio = false;
    bool m_domandaModifiche = false;
    std::optional<Chiave> m_copiaDa;
    int m_richiesteStampa = 0;
};

} // namespace ondavia::test
