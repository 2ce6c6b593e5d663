#pragma once

#include "ImmaginiComandi.h"
#include "Registro.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace ondavia {

class F0INI;

// The ids of the commands of the menu bar and of the toolbar "Base". Several controls may share one
// id; the three "Aiuto" entries of ComandoPagineAgenzia are told apart by their captions.
enum IdComando : int {
    ComandoRegistra = 700,
    ComandoAggiungi = 701,
    ComandoElimina = 702,
    ComandoStampa = 704,
    ComandoIstruzioni = 706,
    ComandoEsci = 708,
    ComandoVersione = 712,
    ComandoRichiestaAssistenza = 713,
    ComandoCopia = 718,
    ComandoSalva = 721,
    ComandoRipristina = 722,
    ComandoAggiornamenti = 726,
    ComandoAssistenzaRemota = 727,
    ComandoCreaComunicazione = 821,
    ComandoControlloFile = 7061,
    ComandoPagineAgenzia = 7062,
};

// The main window: a work area whose child is the register form, the menu bar ("Funzioni", "Aiuto")
// and the toolbar "Base". The bars stay hidden until the splash form's "ENTRA" opens the register.
// Every command reaches CommandBars_Execute with its id and caption.
class F0 : public QMainWindow {
public:
    // Makes the register form the first time it is needed. The window owns what it returns; the
    // register's form() becomes the work area's child and may be owned by the register itself.
    // Without a factory the register cannot be opened, and the commands that need it say so.
    using FabbricaRegistro = std::function<std::unique_ptr<Registro>(F0&)>;

    explicit F0(FabbricaRegistro fabbrica = {}, QWidget* parent = nullptr);
    ~F0() override;

    // Runs one command under the dispatch's error trap: a failure is shown as
    // "ERR COMMANDBARS EXECUTE: " and its description, and the command goes on with its next step.
    void CommandBars_Execute(int id, const QString& caption);

    void mostraBarre(bool visibili);

    // Asks where to write (kinds "S" and "C") or which backup to read (kind "R"); the chosen path is left
    // in NomeFileScelto, empty after a cancel. `nome` comes back upper-cased and trimmed for "S" and "C".
    // Kept as the main window's entry to the dialog: the forms call ondavia::DimmiIlNome directly.
    void DimmiIlNome(const QString& tipo, QString& nome, const QString& suffisso);

    // The register, made on first use and shown in the work area as the active child.
    // Throws ErroreEsecuzione when the register cannot be made.
    Registro& apriRegistro();
    // The register when it has been made, else nullptr.
    Registro* registro() const { return m_registro.get(); }

    // Sizes the window to App_PercLarghezza per cent (80 when empty) of the screen's width, keeping
    // its proportions; does nothing when App_DimAuto is "off" or the percentage is not in (0, 100].
    // Kept for callers that want it: no command or event runs it.
    void DimensionaFinestra();

    // What the close command does on Yes; by default the application's event loop ends at once.
    void impostaUscita(std::function<void()> uscita) { m_uscita = std::move(uscita); }
    // Ends the program at once, without asking.
    void terminaProgramma() { m_uscita(); }

    QMdiArea* areaLavoro() const { return m_area; }
    QToolBar* barraBase() const { return m_base; }
    F0INI* benvenuto() const { return m_benvenuto; }

protected:
    void showEvent(QShowEvent* evento) override;
    // The window's close button and Alt+F4 ask first, as the close command does.
    void closeEvent(QCloseEvent* evento) override;

private:
    void MDIForm_Load();
    void CreaBarre();
    void dimensioneIniziale();
    QAction* aggiungi(QWidget* controlli, int id, const QString& caption, bool iniziaGruppo, int stile = 0,
                      const QString& suggerimento = {});
    QMenu* aggiungiPopup(const QString& caption);

    // Dispatch steps.
    bool passo(const std::function<void()>& azione);
    QString nomeFormAttiva() const;
    void eseguiAzione(int id, const QString& caption);
    void eseguiComandoBase(int id, const QString& caption);
    void apriPagineAgenzia(const QString& caption);
    // The backup and restore form for ModoSalva; after a restore the register lists its subjects again.
    void mostraArchivio();
    void chiudiProgramma();
    bool confermaUscita();

    FabbricaRegistro m_fabbrica;
    std::function<void()> m_uscita;
    ImmaginiComandi m_immagini;
    QMdiArea* m_area;
    QToolBar* m_base = nullptr;
    F0INI* m_benvenuto = nullptr;
    bool m_benvenutoMostrato = false;
    bool m_uscitaConfermata = false;
    QMdiSubWindow* m_finestraRegistro = nullptr;
    std::unique_ptr<Registro> m_registro;
};

} // namespace ondavia
