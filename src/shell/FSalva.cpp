// The backup and restore form: layout, load, progress and closing.
#include "FSalva.h"

#include "app/Dates.h"
#include "app/Dichiarazioni.h"
#include "app/FileBackup.h"
#include "app/LettoreBackup.h"
#include "app/MsgBox.h"
#include "platform/Platform.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace ondavia {

namespace {

// The counter and the bar are redrawn at most this often: drawing them for every row would cost more
// than writing the row, and the eye sees no difference.
constexpr qint64 kIntervalloProgressoMs = 40;

constexpr int kMassimoBarra = 1000;

const QString TuttiISoggetti = QStringLiteral("Tutti i soggetti registrati");

QLabel* etichetta(const char* nome, const QString& testo, QWidget* genitore)
{
    auto* label = new QLabel(testo, genitore);
    label->setObjectName(QLatin1String(nome));
    return label;
}

QPushButton* pulsante(const char* nome, const QString& testo, QStyle::StandardPixmap icona, QWidget* genitore)
{
    auto* p = new QPushButton(genitore->style()->standardIcon(icona), testo, genitore);
    p->setObjectName(QLatin1String(nome));
    p->setAutoDefault(false);
    return p;
}

} // namespace

FSalva::FSalva(QWidget* parent)
    : QDialog(parent), Label1(etichetta("Label1", QStringLiteral("Crea ARCHIVIO DI BACKUP"), this)),
      Label2(etichetta("Label2", QString(), this)),
      Label3(etichetta("Label3",
                       QStringLiteral("Confermi il ripristino di questo archivio? Se presenti, i dati dell'operatore "
                                      "saranno SOSTITUITI"),
                       this)),
      Label16(etichetta("Label16", QStringLiteral("In elaborazione.."), this)), PERC(new QLineEdit(this)),
      PBar1(new QProgressBar(this)), Crip(new QCheckBox(QStringLiteral("Cripta"), this)),
      bconferma(pulsante("bconferma", QStringLiteral("   Conferma"), QStyle::SP_DialogApplyButton, this)),
      bannulla(pulsante("bannulla", QStringLiteral("Annulla"), QStyle::SP_DialogCancelButton, this)),
      saveALL(pulsante("saveALL", QStringLiteral("Salva TUTTI"), QStyle::SP_DialogSaveButton, this))
{
    setObjectName(QStringLiteral("FSalva"));
    setWindowTitle(QStringLiteral("Salvataggio/Ripristino"));
    setModal(true);

    QFont titolo = Label1->font();
    titolo.setBold(true);
    titolo.setPointSizeF(titolo.pointSizeF() * 1.3);
    Label1->setFont(titolo);
    Label1->setAlignment(Qt::AlignCenter);
    Label2->setAlignment(Qt::AlignCenter);
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignCenter);
    QFont domanda = Label3->font();
    domanda.setBold(true);
    Label3->setFont(domanda);
    Label3->setStyleSheet(QStringLiteral("color: #a00000"));
    PERC->setObjectName(QStringLiteral("PERC"));
    PERC->setReadOnly(true);
    PERC->setAlignment(Qt::AlignRight);
    PERC->setMaximumWidth(110);
    PBar1->setObjectName(QStringLiteral("PBar1"));
    PBar1->setTextVisible(false);
    PBar1->setRange(0, kMassimoBarra);
    Crip->setObjectName(QStringLiteral("Crip"));
    Crip->setToolTip(QStringLiteral("Il file di backup non sarà leggibile come testo"));

    auto* lavoro = new QHBoxLayout;
    lavoro->addWidget(Label16);
    lavoro->addWidget(PERC);
    lavoro->addStretch();
    lavoro->addWidget(Crip);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(bconferma);
    pulsanti->addWidget(saveALL);
    pulsanti->addWidget(bannulla);
    auto* colonna = new QVBoxLayout(this);
    colonna->setContentsMargins(18, 16, 18, 14);
    colonna->setSpacing(10);
    colonna->addWidget(Label1);
    colonna->addWidget(Label2);
    colonna->addWidget(Label3);
    colonna->addLayout(lavoro);
    colonna->addWidget(PBar1);
    colonna->addStretch();
    colonna->addLayout(pulsanti);
    setMinimumWidth(480);

    connect(bconferma, &QPushButton::clicked, this, &FSalva::bconferma_Click);
    connect(bannulla, &QPushButton::clicked, this, &FSalva::bannulla_Click);
    connect(saveALL, &QPushButton::clicked, this, &FSalva::saveALL_Click);
}

bool FSalva::Form_Load()
{
    centra();
    Label3->hide();
    azzeraProgresso();
    Crip->setChecked(false);
    const bool ripristino = ModoSalva != QLatin1String("S");
    if (ripristino) {
        Label1->setText(QStringLiteral("RIPRISTINA ARCHIVIO DI BACKUP"));
    }
    DataSalvataggio = OggiAAAAMMGG();
    Label2->setText(TuttiISoggetti);

    saveALL->setVisible(SalvaTutti);
    bconferma->setVisible(!SalvaTutti);
    if (!ripristino) {
        return true;
    }

    // No file chosen, or one that is no backup: nothing to confirm, and the form is not shown.
    const auto scelto = platform().openFileName(
        {QStringLiteral("Indica il file di backUp da ripristinare"), QString(), QString(), filtroBackup()});
    if (!scelto) {
        return false;
    }
    m_nomeFileBackup = *scelto;
    return ControllaFileBackup();
}

void FSalva::esegui()
{
    if (Form_Load()) {
        exec();
    }
}

bool FSalva::ControllaFileBackup()
{
    if (m_nomeFileBackup.isEmpty()) {
        return false;
    }
    const ControlloBackup controllo = ondavia::ControllaFileBackup(m_nomeFileBackup);
    if (controllo.stato == ControlloBackup::Stato::Illeggibile) {
        msgBox(controllo.errore);
        return false;
    }
    if (controllo.stato == ControlloBackup::Stato::NonBackup) {
        msgBox(messaggioNonBackup());
        return false;
    }
    Label3->show();
    m_codiceBackup = controllo.codice;
    return true;
}

void FSalva::bconferma_Click()
{
    if (m_alLavoro) {
        return;
    }
    if (ModoSalva == QLatin1String("S")) {
        confermaSalvataggio();
    } else {
        confermaRipristino();
    }
}

void FSalva::bannulla_Click()
{
    if (!m_alLavoro) {
        QDialog::reject();
    }
}

void FSalva::reject()
{
    bannulla_Click();
}

void FSalva::closeEvent(QCloseEvent* evento)
{
    // Closing the window half-way would leave the work to go on behind a closed form.
    if (m_alLavoro) {
        evento->ignore();
        return;
    }
    QDialog::closeEvent(evento);
}

void FSalva::abilitaComandi(bool abilita)
{
    for (QWidget* w : std::initializer_list<QWidget*>{bconferma, bannulla, saveALL, Crip}) {
        w->setEnabled(abilita);
    }
}

void FSalva::iniziaLavoro(bool azzera)
{
    m_alLavoro = true;
    abilitaComandi(false);
    Label16->show();
    PERC->show();
    PBar1->setMaximum(kMassimoBarra);
    PBar1->show();
    if (azzera) {
        m_valoreBarra = 0;
        m_contaRighe = 0;
    }
    mostraProgresso();
}

void FSalva::fineLavoro()
{
    mostraProgresso();
    m_alLavoro = false;
    abilitaComandi(true);
}

void FSalva::azzeraProgresso()
{
    m_valoreBarra = 0;
    m_contaRighe = 0;
    PBar1->setValue(0);
    PERC->clear();
    Label16->hide();
    PERC->hide();
    PBar1->hide();
}

void FSalva::AvanzaProgresso()
{
    if (++m_valoreBarra == kMassimoBarra) {
        m_valoreBarra = 1;
    }
    ++m_contaRighe;
    if (!m_ultimoAggiornamento.isValid() || m_ultimoAggiornamento.elapsed() >= kIntervalloProgressoMs) {
        mostraProgresso();
    }
}

void FSalva::mostraProgresso()
{
    PBar1->setValue(m_valoreBarra);
    PERC->setText(QString::number(m_contaRighe));
    platform().processEvents();
    m_ultimoAggiornamento.start();
}

void FSalva::centra()
{
    adjustSize();
    const QScreen* schermo = screen() ? screen() : QGuiApplication::primaryScreen();
    if (schermo) {
        const QRect area = schermo->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
}

} // namespace ondavia
