// The register form: construction, load, resizing, the buttons and the error trap of its own handlers.

#include "F1OP.h"

#include "Costruttori.h"
#include "GrigliaSoggetti.h"
#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "shell/GestoreProtetto.h"
#include "ui/CForm.h"
#include "ui/Controlli.h"
#include "ui/EventiCampo.h"
#include "ui/ScriviLog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace ondavia {

namespace {

// The form as designed.
constexpr int kLarghezzaProgetto = 1000;
constexpr int kAltezzaProgetto = 680;

} // namespace

F1OP::F1OP(QWidget* parent) : QWidget(parent), m_griglia(new GrigliaSoggetti(this))
{
    setObjectName(QStringLiteral("F1OP"));
    setWindowTitle(QStringLiteral("Elenco Soggetti Obbligati"));
    costruisciGriglia();

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(costruisciSoggetto(), QStringLiteral("SOGGETTO"));
    SSTab1->addTab(costruisciResponsabile(), QStringLiteral("RESPONSABILE "));
    SSTab1->addTab(costruisciPostaElettronica(), QStringLiteral("POSTA ELETTRONICA"));
    SSTab1->addTab(costruisciCancellazione(), QStringLiteral("CANCELLAZIONE PEC"));
    SSTab1->addTab(costruisciImpegno(), QStringLiteral("IMPEGNO ALLA TRASMISSIONE"));

    // Grid and tabs stand in a scrolling area: on a screen smaller than the form needs (a laptop), the
    // form scrolls instead of being cropped, and every button can still be reached.
    auto* contenuto = new QWidget;
    contenuto->setObjectName(QStringLiteral("contenuto"));
    auto* colonna = new QVBoxLayout(contenuto);
    colonna->addWidget(IGOpe, 2);
    colonna->addWidget(SSTab1, 3);
    auto* scorrimento = new QScrollArea(this);
    m_scorrimento = scorrimento;
    scorrimento->setObjectName(QStringLiteral("scorrimento"));
    scorrimento->setFrameShape(QFrame::NoFrame);
    scorrimento->setWidgetResizable(true);
    scorrimento->setWidget(contenuto);
    // A click where no control takes the focus (a caption, a frame, a calendar button) leaves it in the
    // box being typed in: that box is left only for another field.
    scorrimento->setFocusPolicy(Qt::NoFocus);
    auto* esterno = new QVBoxLayout(this);
    esterno->setContentsMargins(0, 0, 0, 0);
    esterno->addWidget(scorrimento);
    collegaGestori();

    // The controls take their designed sizes now; the window may open at another size.
    resize(kLarghezzaProgetto, kAltezzaProgetto);
    contenuto->resize(kLarghezzaProgetto, kAltezzaProgetto);
    colonna->activate();
    // The list's width also changes without the form's: a vertical scroll bar comes and goes with the rows.
    IGOpe->viewport()->installEventFilter(this);
}

F1OP::~F1OP()
{
    // The box with the focus loses it while the controls are taken down (the program ended from the main window's
    // menu): the form's handlers of its boxes must not run then, over controls already gone.
    EventiCampo::rimuovi(this);
}

void F1OP::collegaGestori()
{
    for (int i = 0; i < 5; ++i) {
        bregistra[i]->setProperty("Index", i);
        connect(bregistra[i], &QPushButton::clicked, this, [this, i] { bregistra_Click(i); });
    }
    connect(CREACOM, &QPushButton::clicked, this, &F1OP::CREACOM_Click);
    connect(bSEZ, &QPushButton::clicked, this, &F1OP::bSEZ_Click);
    connect(PushButton2, &QPushButton::clicked, this, &F1OP::PushButton2_Click);
    collegaCampi();

    // An option's handler runs whenever it becomes chosen, by the user or by code; a check box's
    // whenever its state changes.
    for (QRadioButton* o : {o1, o2}) {
        connect(o, &QRadioButton::toggled, this, [this](bool scelta) {
            if (scelta) {
                o1_Click();
            }
        });
    }
    for (QRadioButton* o : {mc1, mc2, mc3}) {
        connect(o, &QRadioButton::toggled, this, [this](bool scelta) {
            if (scelta) {
                AggiornaMotiviCancellazione();
            }
        });
    }
    for (QRadioButton* o : {TC1, TC2}) {
        connect(o, &QRadioButton::toggled, this, [this](bool scelta) {
            if (scelta) {
                AggiornaTipoComunicazione();
            }
        });
    }
    for (QRadioButton* o : {vITT1, vITT2}) {
        connect(o, &QRadioButton::toggled, this, [this](bool scelta) {
            if (scelta) {
                vITT_Click();
            }
        });
    }
    for (QCheckBox* c : {MOC1, MOC2, MOC3}) {
        connect(c, &QCheckBox::stateChanged, this, [this] { AggiornaMotiviComunicazione(); });
    }
    connect(IGOpe->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& scelta) {
        if (!m_riempimentoGriglia) {
            eseguiProtetto(QString(), [this, scelta] { rigaScelta(scelta); });
        }
    });
    // A click on the list's blank part, or Ctrl with a click or the space bar on the chosen row, chooses nothing
    // but takes the highlight off it: the list shows the subject on screen again.
    connect(IGOpe->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_riempimentoGriglia && m_registrato && !IGOpe->selectionModel()->hasSelection()) {
            scegliRigaSoggetto();
        }
    });
}

void F1OP::Form_Load()
{
    if (m_caricato) {
        return;
    }
    m_caricato = true;
    ScriviLog(objectName());
    m_cform = std::make_unique<CForm>();
    m_cform->SetVbForm(this);
    FormAttiva = objectName();
    if (attivaVersioneProgramma) {
        attivaVersioneProgramma();
    }
    CaricaTipiSoggetto();
    Lista();
    const QFont caricato(QLatin1String(costruttori::kCarattere), costruttori::kPuntiCaselleCaricate);
    for (QLineEdit* casella : findChildren<QLineEdit*>()) {
        if (CControl::eCasellaDiTesto(casella)) {
            casella->setFont(caricato);
        }
    }
    RigaGriglia = 0;
}

void F1OP::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    if (m_caricato) {
        return;
    }
    // The first resize reached the form before its load; the load's columns get their sizing now.
    eseguiProtetto(QString(), [this] { Form_Load(); });
    ridimensionato();
}

void F1OP::resizeEvent(QResizeEvent* evento)
{
    QWidget::resizeEvent(evento);
    if (m_caricato) {
        ridimensionato();
    }
}

bool F1OP::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (m_caricato && evento->type() == QEvent::Resize && oggetto == IGOpe->viewport()) {
        FitCols();
    }
    return QWidget::eventFilter(oggetto, evento);
}

// The layout has already placed the controls when the form hears of its new size. Scaled columns fill the list
// whatever their contents: fitting them to their contents first would be undone at once.
void F1OP::ridimensionato()
{
    if (AnaDimColAuto == QLatin1String("off")) {
        Form_Resize();
    } else {
        FitCols();
    }
}

void F1OP::Form_Resize()
{
    AdattaColonne(IGOpe);
}

void F1OP::mostraErrore(QWidget* campo, const QString& messaggio)
{
    // On a small screen the field may lie outside the part of the form in view.
    m_scorrimento->ensureWidgetVisible(campo);
    QString testo = messaggio;
    MostraErrore(campo, testo);
}

void F1OP::bregistra_Click(int)
{
    eseguiProtetto(QString(), [this] { Conferma(); });
}

void F1OP::CREACOM_Click()
{
    eseguiProtetto(QString(), [this] {
        // Saved as by REGISTRA, the list included: a new subject left out of it would leave the list's chosen
        // row on the subject shown before, and choosing that row again would not load it.
        Conferma();
        if (DatiValidi) {
            CreaComunicazione();
        }
    });
}

void F1OP::bSEZ_Click()
{
    eseguiProtetto(QString(), [this] {
        if (!mostraAiutoSezioni) {
            throw ErroreEsecuzione(QStringLiteral("La guida alle sezioni del REI non è ancora disponibile."));
        }
        mostraAiutoSezioni();
    });
}

} // namespace ondavia
