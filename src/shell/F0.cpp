#include "F0.h"

#include "F0INI.h"
#include "KELM_BASE.h"

#include "app/Dichiarazioni.h"
#include "app/DimmiIlNome.h"
#include "app/ErroreEsecuzione.h"
#include "app/Ini.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <cmath>

namespace ondavia {

namespace {

const QString Categoria = QStringLiteral("Controls");
constexpr int DimensioneCarattere = 10;

// The leading number of a text, as the configuration's numeric options have always been read:
// "85", " 85 %" and "85abc" are 85; a text that does not begin with a number is 0.
double valoreNumerico(const QString& testo)
{
    static const QRegularExpression numero(QStringLiteral(R"(^\s*([+-]?(\d+(\.\d*)?|\.\d+)))"));
    const auto trovato = numero.match(testo);
    return trovato.hasMatch() ? trovato.captured(1).toDouble() : 0.0;
}

} // namespace

F0::F0(FabbricaRegistro fabbrica, QWidget* parent)
    : QMainWindow(parent), m_fabbrica(std::move(fabbrica)), m_uscita([] { QCoreApplication::exit(0); }),
      m_area(new QMdiArea(this))
{
    setObjectName(QStringLiteral("F0"));
    m_area->setObjectName(QStringLiteral("areaLavoro"));
    m_area->setBackground(QColor(0x8a, 0x9b, 0xae));
    setCentralWidget(m_area);
    setWindowTitle(QStringLiteral("Ondavia Comunicazione Registro Elettronico Indirizzi"));
    MDIForm_Load();
    dimensioneIniziale();
}

void F0::dimensioneIniziale()
{
    // Wide enough for the whole toolbar when the screen allows it.
    const QSize progetto(qMax(1200, m_base->sizeHint().width() + 24), 820);
    const QScreen* schermo = QGuiApplication::primaryScreen();
    if (!schermo) {
        resize(progetto);
        return;
    }
    // The title bar and borders are the window manager's and known only once the window is shown: room is
    // left for them, so that the whole window, not just its inside, stays on the screen.
    const int bordo = 2 * style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const QSize cornice(bordo, bordo + style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
    const QSize spazio = schermo->availableGeometry().size() - cornice;
    resize(progetto.boundedTo(spazio));
    // On a screen smaller than the design (a laptop) the window opens maximized: the window manager then
    // fits it, frame included, to the space the panels leave.
    if (progetto.width() > spazio.width() || progetto.height() > spazio.height()) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

F0::~F0() = default;

void F0::MDIForm_Load()
{
    CreaBarre();
    mostraBarre(false);
    setWindowTitle(QStringLiteral("Ondavia - Registro Elettronico Indirizzi ") + Release);
    m_benvenuto = new F0INI(*this);
}

void F0::closeEvent(QCloseEvent* evento)
{
    // Once the operator has said Yes the program is ending: no second question.
    if (m_uscitaConfermata) {
        evento->accept();
        return;
    }
    if (!confermaUscita()) {
        evento->ignore();
        return;
    }
    evento->accept();
    m_uscita();
}

void F0::showEvent(QShowEvent* evento)
{
    QMainWindow::showEvent(evento);
    if (m_benvenutoMostrato) {
        return;
    }
    m_benvenutoMostrato = true;
    // Shown once the main window is on screen, so that window managers stack it above the window.
    QTimer::singleShot(0, m_benvenuto, [this] {
        m_benvenuto->adjustSize();
        m_benvenuto->move(frameGeometry().center() - m_benvenuto->rect().center());
        m_benvenuto->show();
        m_benvenuto->raise();
        m_benvenuto->activateWindow();
    });
}

QAction* F0::aggiungi(QWidget* controlli, int id, const QString& caption, bool iniziaGruppo, int stile,
                      const QString& suggerimento)
{
    QAction* azione =
        AggiungiComando(controlli, ControlloPulsante, id, caption, iniziaGruppo, QString(), stile, Categoria);
    azione->setIcon(m_immagini.icona(id));
    if (!suggerimento.isEmpty()) {
        azione->setToolTip(suggerimento);
    }
    connect(azione, &QAction::triggered, this,
            [this, azione] { CommandBars_Execute(azione->data().toInt(), azione->text()); });
    return azione;
}

QMenu* F0::aggiungiPopup(const QString& caption)
{
    QAction* titolo = AggiungiComando(menuBar(), ControlloPopup, 0, caption, false, QString(), 0, Categoria);
    QMenu* popup = titolo->menu();
    popup->setFont(menuBar()->font());
    return popup;
}

void F0::CreaBarre()
{
    menuBar()->setObjectName(QStringLiteral("BarraMenu"));
    QFont carattere = menuBar()->font();
    carattere.setPointSize(DimensioneCarattere);
    menuBar()->setFont(carattere);

    QMenu* funzioni = aggiungiPopup(QStringLiteral("Funzioni"));
    aggiungi(funzioni, ComandoSalva, QStringLiteral("Salva Dati (Backup)"), true);
    aggiungi(funzioni, ComandoRipristina, QStringLiteral("Ripristina Dati"), false);
    aggiungi(funzioni, ComandoRegistra, QStringLiteral("Registra"), true);
    aggiungi(funzioni, ComandoAggiungi, QStringLiteral("Aggiungi"), false);
    aggiungi(funzioni, ComandoElimina, QStringLiteral("Elimina"), false);
    aggiungi(funzioni, ComandoStampa, QStringLiteral("Stampa "), true);
    aggiungi(funzioni, ComandoCreaComunicazione, QStringLiteral("Crea Comunicazione"), true);
    aggiungi(funzioni, ComandoEsci, QStringLiteral("Esci dal Programma"), true);

    QMenu* aiuto = aggiungiPopup(QStringLiteral("Aiuto"));
    aggiungi(aiuto, ComandoPagineAgenzia, QStringLiteral("Agenzia Entrate - Provvedimento"), false);
    aggiungi(aiuto, ComandoPagineAgenzia, QStringLiteral("Agenzia Entrate - Pagina REI"), false);
    aggiungi(aiuto, ComandoIstruzioni, QStringLiteral("Modalità di compilazione"), false);
    aggiungi(aiuto, ComandoControlloFile, QStringLiteral("Controllo con Entratel/Fisconline"), false);
    aggiungi(aiuto, ComandoPagineAgenzia, QStringLiteral("Guida REI Completa (pdf)"), false);
    aggiungi(aiuto, ComandoRichiestaAssistenza, QStringLiteral("Richiesta Assistenza"), false);
    aggiungi(aiuto, ComandoVersione, QStringLiteral("Versione"), false);
    aggiungi(aiuto, ComandoAggiornamenti, QStringLiteral("Controllo Aggiornamenti su Sito"), false);
    aggiungi(aiuto, ComandoAssistenzaRemota, QStringLiteral("Assistenza Remota"), false);

    m_base = new QToolBar(QStringLiteral("Base"), this);
    m_base->setObjectName(QStringLiteral("Base"));
    m_base->setFont(carattere);
    m_base->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, m_base);
    aggiungi(m_base, ComandoAggiungi, QStringLiteral("Aggiungi"), true, StileIconaETesto,
             QStringLiteral(" Aggiungi i dati di un nuovo soggetto "));
    aggiungi(m_base, ComandoElimina, QStringLiteral("Elimina"), true, StileIconaETesto,
             QStringLiteral(" Elimina i dati del soggetto selezionato "));
    aggiungi(m_base, ComandoCopia, QStringLiteral("Copia"), true, StileIconaETesto,
             QStringLiteral(" Copia i dati del soggetto "));
    aggiungi(m_base, ComandoRegistra, QStringLiteral("Conferma"), true, StileIconaETesto,
             QStringLiteral(" Conferma i dati in elaborazione "));
    aggiungi(m_base, ComandoSalva, QStringLiteral("Salva"), true, StileIconaETesto,
             QStringLiteral("Crea Salvataggio Archivi (Backup)"));
    aggiungi(m_base, ComandoRipristina, QStringLiteral("Ripristina"), true, StileIconaETesto,
             QStringLiteral("Ripristina Salvataggio"));
    aggiungi(m_base, ComandoStampa, QStringLiteral("Stampa"), true, StileIconaETesto,
             QStringLiteral(" Stampa i dati per tutte le comunicazioni selezionate "));
    aggiungi(m_base, ComandoIstruzioni, QStringLiteral("Istruzioni"), true, StileIconaETesto,
             QStringLiteral("Istruzioni di compilazione"));
    aggiungi(m_base, ComandoAssistenzaRemota, QStringLiteral("Assistenza Remota"), true, StileIconaETesto,
             QStringLiteral("Avvia programma di Assistenza Remota (Team Viewer)"));
    aggiungi(m_base, ComandoVersione, QStringLiteral("Versione Programma"), false);
    aggiungi(m_base, ComandoRichiestaAssistenza, QStringLiteral("Richiesta di Assistenza (email)"), false);
    aggiungi(m_base, ComandoCreaComunicazione, QStringLiteral("Crea Comunicazione"), true, StileIconaETesto,
             QStringLiteral(" Crea Comunicazione da controllare con Entratel/Fisconline "));
}

void F0::mostraBarre(bool visibili)
{
    menuBar()->setVisible(visibili);
    m_base->setVisible(visibili);
}

Registro& F0::apriRegistro()
{
    if (!m_registro) {
        std::unique_ptr<Registro> nuovo = m_fabbrica ? m_fabbrica(*this) : nullptr;
        if (!nuovo || !nuovo->form()) {
            throw ErroreEsecuzione(QStringLiteral("il registro dei soggetti non è disponibile"));
        }
        m_registro = std::move(nuovo);
        // The register stays for the whole run, filling the work area: its window has no buttons
        // (any of them would bring a close button along), and should it be closed all the same it
        // is only hidden, and the next command that needs it shows it again.
        m_finestraRegistro = new QMdiSubWindow(nullptr, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        m_finestraRegistro->setObjectName(QStringLiteral("finestraRegistro"));
        m_finestraRegistro->setAttribute(Qt::WA_DeleteOnClose, false);
        m_finestraRegistro->setWidget(m_registro->form());
        m_finestraRegistro->setWindowIcon(m_registro->form()->windowIcon());
        m_area->addSubWindow(m_finestraRegistro);
        m_finestraRegistro->showMaximized();
    } else if (m_finestraRegistro->isHidden()) {
        m_finestraRegistro->show();
    }
    m_area->setActiveSubWindow(m_finestraRegistro);
    return *m_registro;
}

void F0::DimensionaFinestra()
{
    const QString dimensioneAutomatica = LeggiIni(QStringLiteral("opzioni"), QStringLiteral("App_DimAuto"));
    const QString percentualeLarghezza = LeggiIni(QStringLiteral("opzioni"), QStringLiteral("App_PercLarghezza"));
    int larghezzaSchermo = 0;
    int altezzaSchermo = 0;
    if (dimensioneAutomatica == QLatin1String("off") || !RisoluzioneSchermo(larghezzaSchermo, altezzaSchermo)) {
        return;
    }
    if (width() <= 0) {
        return;
    }
    const double rapporto = static_cast<double>(height()) / width();
    const double percentuale = percentualeLarghezza.isEmpty() ? 80.0 : valoreNumerico(percentualeLarghezza);
    if (!(percentuale > 0 && percentuale <= 100)) {
        return;
    }
    // Halves go to the even number, as the window's sizes always have.
    const int larghezza = static_cast<int>(std::nearbyint(larghezzaSchermo * percentuale / 100));
    const int altezza = static_cast<int>(std::nearbyint(larghezza * rapporto));
    resize(larghezza, altezza);
}

void F0::DimmiIlNome(const QString& tipo, QString& nome, const QString& suffisso)
{
    ondavia::DimmiIlNome(tipo, nome, suffisso);
}

} // namespace ondavia
