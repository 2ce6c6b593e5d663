#include "FSezHelp.h"

#include "Collegamenti.h"
#include "GestoreProtetto.h"
#include "ImmagineCliccabile.h"
#include "ImmaginiOndavia.h"

#include <QBoxLayout>

namespace ondavia {

namespace {

const QString PaginaFaqRei =
    QStringLiteral("/portale/web/guest/schede/comunicazioni/registro-elettronico-degli-indirizzi-rei-/faq-rei");

} // namespace

FSezHelp::FSezHelp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FSezHelp"));
    setWindowTitle(QStringLiteral("Sezioni REI - Spiegazione"));

    auto* immagine = new ImmagineCliccabile(this);
    immagine->setObjectName(QStringLiteral("Picture1"));
    immagine->setPixmap(immagineSezioniRei());
    immagine->setToolTip(QStringLiteral("Apri le domande frequenti sul REI nel sito dell'Agenzia delle Entrate"));
    immagine->alClic([this] { Picture1_Click(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(immagine);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FSezHelp::Picture1_Click()
{
    eseguiProtetto(QStringLiteral("Impossibile aprire la pagina: "), [] { apriPaginaAgenzia(PaginaFaqRei); });
}

} // namespace ondavia
