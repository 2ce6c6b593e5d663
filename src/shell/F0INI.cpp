#include "F0INI.h"

#include "F0.h"
#include "GestoreProtetto.h"
#include "ImmaginiOndavia.h"

#include "app/Dichiarazioni.h"
#include "platform/Platform.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace ondavia {

F0INI::F0INI(F0& principale)
    : QDialog(&principale, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_principale(principale),
      m_versione(new QLabel(this)), m_release(new QLabel(QStringLiteral("Release 0"), this)),
      m_entra(new QPushButton(QStringLiteral("ENTRA"), this))
{
    setObjectName(QStringLiteral("F0INI"));
    setWindowTitle(QStringLiteral("Benvenuto"));
    setModal(false);

    auto* immagine = new QLabel(this);
    immagine->setObjectName(QStringLiteral("Picture1"));
    immagine->setPixmap(immagineBenvenuto());

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image2"));
    logo->setPixmap(logoOndavia(56));

    m_versione->setObjectName(QStringLiteral("Versione"));
    m_release->setObjectName(QStringLiteral("Nrel"));
    QFont grassetto = m_versione->font();
    grassetto.setBold(true);
    grassetto.setPointSize(11);
    m_versione->setFont(grassetto);

    m_entra->setObjectName(QStringLiteral("Command1"));
    m_entra->setDefault(true);
    m_entra->setMinimumSize(150, 44);
    QFont carattereEntra = m_entra->font();
    carattereEntra.setBold(true);
    carattereEntra.setPointSize(13);
    m_entra->setFont(carattereEntra);
    connect(m_entra, &QPushButton::clicked, this, &F0INI::command1_Click);

    auto* testi = new QVBoxLayout;
    testi->addStretch();
    testi->addWidget(m_versione);
    testi->addWidget(m_release);
    testi->addStretch();

    auto* piede = new QHBoxLayout;
    piede->addWidget(logo);
    piede->addSpacing(8);
    piede->addLayout(testi);
    piede->addStretch();
    piede->addWidget(m_entra, 0, Qt::AlignVCenter);

    auto* principaleLayout = new QVBoxLayout(this);
    principaleLayout->addWidget(immagine);
    principaleLayout->addLayout(piede);
    principaleLayout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void F0INI::Form_Load()
{
    m_versione->setText(VersioneProgramma);
    m_release->setText(Release);
}

void F0INI::command1_Click()
{
    platform().processEvents();
    hide();
    m_principale.mostraBarre(true);
    platform().processEvents();
    eseguiProtetto(QStringLiteral("Impossibile aprire il registro dei soggetti: "),
                   [this] { m_principale.apriRegistro(); });
}

void F0INI::Esci()
{
    m_principale.terminaProgramma();
}

} // namespace ondavia
