// Building the register form: the grid and the tab "SOGGETTO".

#include "Costruttori.h"
#include "F1OP.h"
#include "GrigliaSoggetti.h"
#include "ui/FiltroControlli.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace ondavia {

using namespace costruttori;
using D = DatiComunicazione;

void F1OP::costruisciGriglia()
{
    IGOpe = new QTableView(this);
    IGOpe->setObjectName(QStringLiteral("IGOpe"));
    IGOpe->setModel(m_griglia);
    IGOpe->setEditTriggers(QAbstractItemView::NoEditTriggers);
    IGOpe->setSelectionBehavior(QAbstractItemView::SelectRows);
    IGOpe->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab and Shift+Tab go to the next and previous control, as from every other control; the arrow keys move
    // between the rows.
    IGOpe->setTabKeyNavigation(false);
    IGOpe->setAlternatingRowColors(true);
    IGOpe->setWordWrap(false);
    IGOpe->verticalHeader()->hide();
    // Every row has the same height: the view never measures the rows one by one.
    IGOpe->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    IGOpe->horizontalHeader()->setStretchLastSection(false);
    IGOpe->horizontalHeader()->setHighlightSections(false);
    IGOpe->horizontalHeader()->setSectionsClickable(false);
}

QWidget* F1OP::costruisciSoggetto()
{
    auto* scheda = new QWidget;
    scheda->setObjectName(QStringLiteral("SSTab1_0"));

    // Who communicates: code, progressive, kind of subject, type and the data of either kind.
    auto* dettaglio = cornice(scheda, "fDettaglio", QStringLiteral("DETTAGLIO SOGGETTO CHE COMUNICA"));
    topiva = casella(dettaglio, "topiva", &D::topiva);
    vONPROG = casella(dettaglio, "vONPROG", 3, true); // ONPROG holds three characters
    vONPROG->setMaximumWidth(60);
    o1 = opzione(dettaglio, "o1", QStringLiteral("PNF"));
    o2 = opzione(dettaglio, "o2", QStringLiteral("PF"));
    gruppo(dettaglio, {o1, o2});
    CBrap = new QComboBox(dettaglio);
    CBrap->setObjectName(QStringLiteral("CBrap"));
    CBrap->setEditable(true);
    CBrap->setInsertPolicy(QComboBox::NoInsert);
    CBrap->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CBrap->setMinimumContentsLength(40);
    CBrap->setValidator(new FiltroControlli(CBrap));
    PushButton2 = pulsante(dettaglio, "PushButton2", QStringLiteral("?"));
    PushButton2->setToolTip(QStringLiteral("Tabella dei codici soggetto per sezione del REI"));

    FPNF = cornice(dettaglio, "FPNF", QString());
    torag = casella(FPNF, "torag", &D::torag);
    // The register keeps 35 characters of a municipality, fewer than the file would take.
    vOSCOM = casella(FPNF, "vOSCOM", 35);
    vOSPRO = casella(FPNF, "vOSPRO", &D::vOSPRO, true);
    grigliaIndirizzo(FPNF, QStringLiteral("Ragione Sociale"), torag, QStringLiteral("Sede legale (Località)"), vOSCOM,
                     vOSPRO);

    FPF = cornice(dettaglio, "FPF", QString());
    vOCOG = casella(FPF, "vOCOG", &D::vOCOG);
    vONOME = casella(FPF, "vONOME", &D::vONOME);
    vOSEX = casella(FPF, "vOSEX", &D::vOSEX, true);
    vONDT = casella(FPF, "vONDT", &D::vONDT, true);
    vONCOM = casella(FPF, "vONCOM", 35); // as vOSCOM
    vONPRO = casella(FPF, "vONPRO", &D::vONPRO, true);
    grigliaCampi(FPF, {{QStringLiteral("Cognome"), vOCOG},
                       {QStringLiteral("Nome"), vONOME},
                       {QStringLiteral("Sesso (M/F)"), vOSEX},
                       {QStringLiteral("Data di nascita"), conCalendario(vONDT, &rdata[0], 0)},
                       {QStringLiteral("Comune di nascita"), vONCOM},
                       {QStringLiteral("Prov."), vONPRO}});
    FPF->hide();

    auto* grigliaDettaglio = new QGridLayout(dettaglio);
    grigliaDettaglio->addWidget(etichetta(dettaglio, QStringLiteral("Codice Fiscale"), topiva), 0, 0);
    grigliaDettaglio->addWidget(topiva, 0, 1);
    grigliaDettaglio->addWidget(etichetta(dettaglio, QStringLiteral("Progressivo"), vONPROG), 0, 2);
    grigliaDettaglio->addWidget(vONPROG, 0, 3);
    auto* tipo = new QHBoxLayout;
    tipo->addWidget(o1);
    tipo->addWidget(o2);
    grigliaDettaglio->addLayout(tipo, 0, 4);
    grigliaDettaglio->addWidget(etichetta(dettaglio, QStringLiteral("Tipo Soggetto"), CBrap), 1, 0);
    grigliaDettaglio->addWidget(CBrap, 1, 1, 1, 3);
    grigliaDettaglio->addWidget(PushButton2, 1, 4, Qt::AlignLeft);
    auto* dati = new QVBoxLayout;
    dati->addWidget(FPNF);
    dati->addWidget(FPF);
    dati->addStretch();
    grigliaDettaglio->addLayout(dati, 2, 0, 1, 5);
    grigliaDettaglio->setColumnStretch(1, 1);

    // The register sections the communication is about.
    auto* motivi = cornice(scheda, "fMotivi", QStringLiteral("MOTIVI della COMUNICAZIONE (sezioni REI) "));
    MOC1 = spunta(motivi, "MOC1", QStringLiteral("ANAGRAFE RAPPORTI"));
    MOC2 = spunta(motivi, "MOC2", QStringLiteral("MONITORAGGIO FISCALE"));
    MOC3 = spunta(motivi, "MOC3", QStringLiteral("FACTA/CRS"));
    bSEZ = pulsante(motivi, "bSEZ", QStringLiteral("?"));
    bSEZ->setToolTip(QStringLiteral("Le sezioni del REI"));
    for (QCheckBox* c : {MOC1, MOC2, MOC3}) {
        c->setAutoFillBackground(true);
    }
    auto* grigliaMotivi = new QGridLayout(motivi);
    grigliaMotivi->addWidget(MOC1, 0, 0);
    grigliaMotivi->addWidget(MOC2, 1, 0);
    grigliaMotivi->addWidget(MOC3, 2, 0);
    grigliaMotivi->addWidget(bSEZ, 0, 1, Qt::AlignRight | Qt::AlignTop);

    auto* tipoComunicazione = cornice(scheda, "fTipoCom", QStringLiteral("Tipo Comunicazione "));
    TC1 = opzione(tipoComunicazione, "TC1", QStringLiteral("PRIMO INVIO o VARIAZIONE"));
    TC2 = opzione(tipoComunicazione, "TC2", QStringLiteral("CANCELLAZIONE"));
    gruppo(tipoComunicazione, {TC1, TC2});
    for (QRadioButton* o : {TC1, TC2}) {
        o->setAutoFillBackground(true);
    }
    auto* colonnaTipo = new QVBoxLayout(tipoComunicazione);
    colonnaTipo->addWidget(TC1);
    colonnaTipo->addWidget(TC2);

    bregistra[0] = pulsante(scheda, "bregistra_0", QStringLiteral("REGISTRA"));
    CREACOM = pulsante(scheda, "CREACOM", QStringLiteral("CREA COMUNICAZIONE"));

    auto* destra = new QVBoxLayout;
    destra->addWidget(motivi);
    destra->addWidget(tipoComunicazione);
    destra->addStretch();
    destra->addWidget(bregistra[0]);
    destra->addWidget(CREACOM);
    auto* riga = new QHBoxLayout(scheda);
    riga->addWidget(dettaglio, 3);
    riga->addLayout(destra, 1);
    return scheda;
}

} // namespace ondavia
