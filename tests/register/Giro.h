#pragma once

// A walk through the register form as an operator makes it: random actions from a seed, on the main window and
// the form as they stand, every question answered at random. After each action the walk checks what the operator
// must be able to trust, against its own record of what was saved.

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

// One action of the operator, with all it needs to be done again: the same steps on the same register do the
// same, so a walk can be replayed, and shortened, without its seed.
struct Passo {
    enum class Tipo {
        ClicRiga,       // a: row, b: column
        ClicRigaCtrl,   // the same with Ctrl held
        DoppioClicRiga, // a: row
        Trascina,       // from row a to row b, the button held
        ClicVuoto,      // the list's blank part, below its rows
        TastoElenco,    // a: key, b: modifiers (Modificatori), in the list
        Tasto,          // a: key, b: modifiers, to the control with the focus
        Digita,         // campo, a: Modo, testo, b: how many keys for the modes that take some
        TipoSoggetto,   // a: 0 down, 1 up, 2 typed (testo), 3 emptied
        Scelta,         // campo: an option or a check box
        Scheda,         // a: tab
        Calendario,     // a: the calendar button, whose picker the operator closes
        Ridimensiona,   // a × b: the main window's new size
        Registra,       // the REGISTRA button of the tab in front
        RegistraBarra,  // the toolbar's "Conferma"
        CreaComunicazione,
        CreaComunicazioneBarra,
        Aggiungi,
        Copia,
        Elimina,
        Stampa,
        Compila, // testi: every field a save needs, typed one after the other ("campo=valore", "#tab")
    };
    enum Modo { Sostituisci, Incolla, InFondo, CancellaEScrivi, Taglia, CancellaCoda, SostituisciCoda, NumModi };
    enum Modificatori { Nessuno, Ctrl, Maiusc };

    Tipo tipo = Tipo::Tasto;
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
    // first broken rule ("[rule] what"), empty when every step kept them all.
    QString cammina(std::uint64_t seme, int quanti);
    // The same steps again on a fresh register; the first broken rule, or empty.
    QString ripeti(const std::vector<Passo>& passi);
    // Fewer of `passi` that still break rule `regola` (the bracketed tag of a failure), at most `prove` replays.
    std::vector<Passo> riduci(std::vector<Passo> passi, const QString& regola, int prove);

    // The steps of the last walk or replay, with the answers given.
    const std::vector<Passo>& passi() const { return m_passi; }
    // The steps as a numbered list.
    static QString elenco(const std::vector<Passo>& passi);
    static QString regolaDi(const QString& guasto);

private:
    // A row of COPE by lower-case column name, as the walk compares it.
    using Riga = std::map<QString, QString>;
    // Code and progressive.
    using Chiave = std::pair<QString, QString>;

    // Giro.cpp: the program opened and closed around a walk.
    void apri();
    void chiudi();
    // GiroScelte.cpp: the register the walks start from, and the choice of each step.
    void seminaArchivio();
    Passo genera();
    Passo compilazione();

    // GiroAzioni.cpp: doing a step as the operator does it.
    void esegui(Passo& passo);
    void digita(const Passo& passo);
    void digitaIn(QLineEdit* casella, Passo::Modo modo, const QString& testo, int quanti);
    void tipoSoggetto(int modo, const QString& testo);
    void compila(const Passo& passo);
    void comando(int id);
    bool clicca(QWidget* controllo);
    void inVista(QWidget* controllo);
    // The form as the step finds it (m_prima).
    void prima();
    // The rules a step keeps between what it found and what it left.
    void verificaPasso(const Passo& passo, size_t messaggiPrima, size_t stampePrima, const QWidget* fuocoPrima);

    // GiroModello.cpp: the questions, the walk's own record, and the checks after each step.
    std::optional<MsgResult> rispondi(const MessageRequest& richiesta);
    // One of `possibili`, by weight; when replaying, the one recorded (`predefinita` when none fits).
    MsgResult scegli(MsgResult predefinita, std::initializer_list<MsgResult> possibili,
                     std::initializer_list<int> pesi);
    void listaRiempita();
    Riga rigaDalForm() const;
    Chiave chiaveForm() const;
    // The subject's name as the form shows it.
    QString nomeForm() const;
    bool nuovoSoggetto() const;
    // What the form shows that the stored row does not hold, cleaned as a box left is: the changes not yet saved.
    QStringList differenze() const;
    bool modificato() const { return !differenze().isEmpty(); }
    std::map<Chiave, Riga> leggiArchivio();
    void verifica();
    void verificaArchivio();
    void verificaElenco();
    void verificaFuoco();
    void verificaStampa(const QString& proposta);

    void guasto(const QString& testo);
    std::uint64_t caso();
    int caso(int n) { return static_cast<int>(caso() % static_cast<std::uint64_t>(n)); }
    template <class T, size_t N> const T& unoDi(const T (&valori)[N]) { return valori[caso(static_cast<int>(N))]; }

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

    // The register as the operator made it: every row is a starting subject, what the form held when its save
    // succeeded, or a copy of a row.
    std::map<Chiave, Riga> m_modello;
    // A save under way: the form is read when the list is filled again after it.
    bool m_salvataggio = false;
    // What happened during the step: the list filled again; the question on changes not yet saved asked, and its
    // last answer; the row a save wrote; the row a copy was confirmed of, and the row it made.
    bool m_riempita = false;
    bool m_domandaModifiche = false;
    std::optional<MsgResult> m_rispostaModifiche;
    std::optional<Chiave> m_salvato;
    std::optional<Chiave> m_copiaDa;
    std::optional<Chiave> m_copiato;
    // Any message may come: the communication file's own refusals are not the walk's to judge.
    bool m_messaggiLiberi = false;
    struct Prima {
        bool modificato = false;
        // Changes still held once the control with the focus is left.
        bool modificatoSeLasciato = false;
        bool nuovo = false;
        Chiave chiave;
    } m_prima;
};

} // namespace ondavia::test
