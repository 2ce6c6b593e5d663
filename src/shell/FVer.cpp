#include "FVer.h"

#include "Collegamenti.h"
#include "GestoreProtetto.h"
#include "ImmaginiOndavia.h"
#include "KELM_BASE.h"

#include "app/Dichiarazioni.h"
#include "platform/Platform.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace ondavia {

namespace {

const QString NonImpostato = QStringLiteral("(indirizzo non impostato)");

QLabel* etichetta(const QString& nome, const QString& testo, QWidget* genitore, bool grassetto = false)
{
    auto* label = new QLabel(testo, genitore);
    label->setObjectName(nome);
    if (grassetto) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

} // namespace

FVer::FVer(QWidget* parent)
    : QDialog(parent), m_versione(etichetta(QStringLiteral("Versione"), QStringLiteral("Versione 1.0"), this, true)),
      m_release(etichetta(QStringLiteral("Nrel"), QStringLiteral("Release 0"), this)),
      m_commerciale(new QPushButton(this)), m_assistenza(new QPushButton(this)),
      m_mailCommerciale(indirizzoMail(ChiaveMailCommerciale)), m_mailAssistenza(indirizzoMail(ChiaveMailAssistenza))
{
    setObjectName(QStringLiteral("FVer"));
    setWindowTitle(QStringLiteral("Ondavia Comunicazione Registro Elettronico Indirizzi"));
    setModal(true);

    auto* logo = etichetta(QStringLiteral("Image1"), QString(), this);
    logo->setPixmap(logoOndavia(72));

    m_commerciale->setObjectName(QStringLiteral("PushButton1"));
    m_commerciale->setText(m_mailCommerciale.isEmpty() ? NonImpostato : m_mailCommerciale);
    m_commerciale->setToolTip(QStringLiteral("Scrivi all'Ufficio Commerciale"));
    connect(m_commerciale, &QPushButton::clicked, this, &FVer::PushButton1_Click);
    m_assistenza->setObjectName(QStringLiteral("PushButton2"));
    m_assistenza->setText(m_mailAssistenza.isEmpty() ? NonImpostato : m_mailAssistenza);
    m_assistenza->setToolTip(QStringLiteral("Scrivi all'Ufficio Tecnico"));
    connect(m_assistenza, &QPushButton::clicked, this, &FVer::PushButton2_Click);

    auto* chiudi = new QPushButton(this);
    chiudi->setObjectName(QStringLiteral("command1"));
    chiudi->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    chiudi->setIconSize(QSize(24, 24));
    chiudi->setToolTip(QStringLiteral("Chiudi"));
    chiudi->setAccessibleName(QStringLiteral("Chiudi"));
    connect(chiudi, &QPushButton::clicked, this, &FVer::command1_Click);

    auto* contatti = new QGridLayout;
    contatti->addWidget(etichetta(QStringLiteral("Label1"), QStringLiteral("Contatti "), this, true), 0, 0, 1, 2);
    contatti->addWidget(etichetta(QStringLiteral("Label2"), QStringLiteral("Ufficio Commerciale:"), this), 1, 0);
    contatti->addWidget(m_commerciale, 1, 1);
    contatti->addWidget(etichetta(QStringLiteral("Label12"), QStringLiteral("Ufficio Tecnico:"), this), 2, 0);
    contatti->addWidget(m_assistenza, 2, 1);
    contatti->setColumnStretch(1, 1);

    auto* testi = new QVBoxLayout;
    testi->addWidget(m_versione);
    testi->addWidget(m_release);
    testi->addSpacing(16);
    testi->addLayout(contatti);

    auto* corpo = new QHBoxLayout;
    corpo->addWidget(logo, 0, Qt::AlignTop);
    corpo->addSpacing(12);
    corpo->addLayout(testi, 1);

    auto* piede = new QHBoxLayout;
    piede->addStretch();
    piede->addWidget(chiudi);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(corpo);
    layout->addLayout(piede);
    setMinimumWidth(460);

    Form_Load();
}

void FVer::Form_Load()
{
    adjustSize();
    if (const QScreen* schermo = QGuiApplication::primaryScreen()) {
        const QSize area = schermo->size();
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }
    m_release->setText(Release);
    m_versione->setText(VersioneProgramma);
}

void FVer::command1_Click()
{
    accept();
}

void FVer::PushButton1_Click()
{
    eseguiProtetto(QStringLiteral("Errore: "), [this] {
        inviaMailUfficio(m_mailCommerciale, QStringLiteral("Ufficio Commerciale"), ChiaveMailCommerciale);
    });
}

void FVer::PushButton2_Click()
{
    eseguiProtetto(QStringLiteral("Errore: "), [this] {
        inviaMailUfficio(m_mailAssistenza, QStringLiteral("Ufficio Tecnico"), ChiaveMailAssistenza);
    });
}

void FVer::MailCommerciale()
{
    InviaMail(m_mailCommerciale);
}

void FVer::MailAssistenzaTAMISO()
{
    // A failure here is deliberately silent: the message simply does not open.
    const MailRequest mail{m_mailAssistenza, QStringLiteral("Utente TAMISO - Comunicazione Rapporti Continuativi"), {}};
    platform().composeMail(mail, nullptr);
}

} // namespace ondavia
