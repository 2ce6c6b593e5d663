// Building the register form: the tabs of the responsible person, the PEC address, its cancellation
// and the commitment to transmit.

#include "Costruttori.h"
#include "F1OP.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ondavia {

using namespace costruttori;
using D = DatiComunicazione;

namespace {

// A tab: its fields above, its REGISTRA button at the bottom right.
QWidget* nuovaScheda(int indice, QPushButton** registra)
{
    auto* scheda = new QWidget;
    scheda->setObjectName(QStringLiteral("SSTab1_%1").arg(indice));
    auto* colonna = new QVBoxLayout(scheda);
    colonna->setObjectName(QStringLiteral("colonna"));
    *registra = pulsante(scheda, "bregistra", QStringLiteral("REGISTRA"));
    return scheda;
}

void chiudiScheda(QWidget* scheda, QPushButton* registra, int indiceRegistra)
{
    registra->setObjectName(QStringLiteral("bregistra_%1").arg(indiceRegistra));
    auto* colonna = static_cast<QVBoxLayout*>(scheda->layout());
    colonna->addStretch();
    auto* piede = new QHBoxLayout;
    piede->addStretch();
    piede->addWidget(registra);
    colonna->addLayout(piede);
}

} // namespace

QWidget* F1OP::costruisciResponsabile()
{
    QPushButton* registra = nullptr;
    QWidget* scheda = nuovaScheda(1, &registra);
    vRECF = casella(scheda, "vRECF", &D::vRECF);
    auto* codice = new QHBoxLayout;
    codice->addWidget(etichetta(scheda, QStringLiteral("Codice Fiscale del Responsabile"), vRECF));
    codice->addWidget(vRECF);
    codice->addStretch();

    auto* dati = cornice(scheda, "fResponsabile", QStringLiteral(" Dati anagrafici del Responsabile "));
    vRECOG = casella(dati, "vRECOG", &D::vRECOG);
    vRENOME = casella(dati, "vRENOME", &D::vRENOME);
    vRESEX = casella(dati, "vRESEX", &D::vRESEX, true);
    vREDTNAS = casella(dati, "vREDTNAS", &D::vREDTNAS, true);
    vRENCOM = casella(dati, "vRENCOM", &D::vRENCOM);
    vRENPRO = casella(dati, "vRENPRO", &D::vRENPRO, true);
    vREEMAIL = casella(dati, "vREEMAIL", &D::vREEMAIL);
    vRETEL = casella(dati, "vRETEL", &D::vRETEL);
    grigliaCampi(dati, {{QStringLiteral("Cognome"), vRECOG},
                        {QStringLiteral("Nome"), vRENOME},
                        {QStringLiteral("Sesso (M/F)"), vRESEX},
                        {QStringLiteral("Data di nascita"), conCalendario(vREDTNAS, &rdata[1], 1)},
                        {QStringLiteral("Comune di nascita"), vRENCOM},
                        {QStringLiteral("Prov."), vRENPRO},
                        {QStringLiteral("E-mail personale"), vREEMAIL},
                        {QStringLiteral("Telefono"), vRETEL}});

    auto* colonna = static_cast<QVBoxLayout*>(scheda->layout());
    colonna->addLayout(codice);
    colonna->addWidget(dati);
    chiudiScheda(scheda, registra, 2);
    bregistra[2] = registra;
    return scheda;
}

QWidget* F1OP::costruisciPostaElettronica()
{
    QPushButton* registra = nullptr;
    QWidget* scheda = nuovaScheda(2, &registra);
    vPEEMAIL = casella(scheda, "vPEEMAIL", &D::vPEEMAIL);
    vPEDATAI = casella(scheda, "vPEDATAI", &D::vPEDATAI);
    vPEDATAF = casella(scheda, "vPEDATAF", &D::vPEDATAF);
    vPEDATAI->setMaximumWidth(120);
    vPEDATAF->setMaximumWidth(120);
    vPEGESTORE = casella(scheda, "vPEGESTORE", &D::vPEGESTORE);
    suggerimento(vPEDATAI, QStringLiteral("data di DECORRENZA (inizio contratto) dell'indirizzo di PEC"));
    suggerimento(vPEDATAF, QStringLiteral("data di CESSAZIONE (fine contratto) dell'indirizzo di PEC"));
    auto* griglia = new QGridLayout;
    griglia->addWidget(etichetta(scheda, QStringLiteral("Indirizzo PEC"), vPEEMAIL), 0, 0);
    griglia->addWidget(vPEEMAIL, 0, 1, 1, 3);
    griglia->addWidget(etichetta(scheda, QStringLiteral("Data DECORRENZA"), vPEDATAI), 1, 0);
    griglia->addWidget(conCalendario(vPEDATAI, &rdata[2], 2), 1, 1);
    griglia->addWidget(etichetta(scheda, QStringLiteral("Data CESSAZIONE"), vPEDATAF), 1, 2);
    griglia->addWidget(conCalendario(vPEDATAF, &rdata[3], 3), 1, 3);
    griglia->addWidget(etichetta(scheda, QStringLiteral("Gestore PEC"), vPEGESTORE), 2, 0);
    griglia->addWidget(vPEGESTORE, 2, 1, 1, 3);
    griglia->setColumnStretch(1, 1);
    griglia->setColumnStretch(3, 1);
    static_cast<QVBoxLayout*>(scheda->layout())->addLayout(griglia);
    chiudiScheda(scheda, registra, 3);
    bregistra[3] = registra;
    return scheda;
}

QWidget* F1OP::costruisciCancellazione()
{
    QPushButton* registra = nullptr;
    QWidget* scheda = nuovaScheda(3, &registra);

    auto* motivi = cornice(scheda, "fMotiviCanc", QStringLiteral("MOTIVI della CANCELLAZIONE"));
    mc1 = opzione(motivi, "mc1", QStringLiteral("Cessazione SENZA confluenza in altro soggetto"));
    mc2 = opzione(motivi, "mc2", QStringLiteral("Cessazione CON confluenza in altro soggetto"));
    mc3 = opzione(motivi, "mc3", QStringLiteral("Perdita requisiti soggettivi"));
    gruppo(motivi, {mc1, mc2, mc3});
    auto* colonnaMotivi = new QVBoxLayout(motivi);
    for (QRadioButton* o : {mc1, mc2, mc3}) {
        colonnaMotivi->addWidget(o);
    }

    vDTCANC = casella(scheda, "vDTCANC", &D::vDTCANC, true);
    auto* data = new QHBoxLayout;
    data->addWidget(etichetta(scheda, QStringLiteral("Data CANCELLAZIONE"), vDTCANC));
    data->addWidget(conCalendario(vDTCANC, &rdata[4], 4));
    data->addStretch();

    fSOCINC = cornice(scheda, "fSOCINC", QStringLiteral(" SOCIETA INCORPORANTE "));
    vSICF = casella(fSOCINC, "vSICF", &D::vSICF);
    auto* rigaIncorporante = new QHBoxLayout(fSOCINC);
    rigaIncorporante->addWidget(etichetta(fSOCINC, QStringLiteral("Codice Fiscale"), vSICF));
    rigaIncorporante->addWidget(vSICF, 1);

    fDisp = cornice(scheda, "fDisp", QStringLiteral(" DISPONIBILITA' CONTABILITA' ORDINARIA "));
    vSIRAG = casella(fDisp, "vSIRAG", &D::vSIRAG);
    vSICOM = casella(fDisp, "vSICOM", &D::vSICOM);
    vSIPRO = casella(fDisp, "vSIPRO", &D::vSIPRO, true);
    vSIPRO->setMaximumWidth(60);
    grigliaIndirizzo(fDisp, QStringLiteral("Indirizzo"), vSIRAG, QStringLiteral("Comune Sede Legale"), vSICOM, vSIPRO);
    // Until a reason is chosen the accounts frame stands, as for any reason but a merger.
    fSOCINC->hide();

    auto* colonna = static_cast<QVBoxLayout*>(scheda->layout());
    colonna->addWidget(motivi);
    colonna->addLayout(data);
    colonna->addWidget(fSOCINC);
    colonna->addWidget(fDisp);
    chiudiScheda(scheda, registra, 4);
    bregistra[4] = registra;
    return scheda;
}

QWidget* F1OP::costruisciImpegno()
{
    QPushButton* registra = nullptr;
    QWidget* scheda = nuovaScheda(4, &registra);
    auto* impegno =
        cornice(scheda, "fImpegno",
                QStringLiteral(" Impegno alla Trasmissione Telematica (se diverso dal Soggetto Obbligato) "));
    vITT1 = opzione(impegno, "vITT1", QStringLiteral("Dal CONTRIBUENTE "));
    vITT2 = opzione(impegno, "vITT2", QStringLiteral("Da chi EFFETTUA L'INVIO"));
    gruppo(impegno, {vITT1, vITT2});
    vITTCF = casella(impegno, "vITTCF", &D::vITTCF);
    suggerimento(vITTCF, QStringLiteral(" CF Intermediario che EFFETTUA la trasmissione "));
    auto* griglia = new QGridLayout(impegno);
    griglia->addWidget(vITT1, 0, 0, 1, 2);
    griglia->addWidget(vITT2, 1, 0, 1, 2);
    griglia->addWidget(etichetta(impegno, QStringLiteral("Codice Fiscale Intermediario"), vITTCF), 2, 0);
    griglia->addWidget(vITTCF, 2, 1);
    griglia->setColumnStretch(2, 1);
    static_cast<QVBoxLayout*>(scheda->layout())->addWidget(impegno);
    chiudiScheda(scheda, registra, 1);
    bregistra[1] = registra;
    return scheda;
}

} // namespace ondavia
