// The register form's grid: the subject list, the choice of a row and the column scaling.

#include "F1OP.h"

#include "GrigliaSoggetti.h"
#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "db/Recordset.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTableView>

#include <cmath>

namespace ondavia {

namespace {

struct ColonnaLista {
    const char* chiave;
    const char* intestazione;
    int larghezza; // pixels
};

constexpr ColonnaLista ColonneLista[] = {
    {"OCOD", "Codice Fiscale", 150},
    {"ONPROG", "Progr.", 45},
    {"ODES", "Soggetto Obbligato", 300},
    {"Opeemail", "Indirizzo PEC", 450},
};

constexpr double kTwipsPerPollice = 1440;

// Twips in one pixel of the screen the form is on (15 at 96 dots per inch).
double twipsPerPixel(const QWidget* w, bool verticale)
{
    const double dpi = verticale ? w->logicalDpiY() : w->logicalDpiX();
    return kTwipsPerPollice / (dpi > 0 ? dpi : 96);
}

} // namespace

void F1OP::Lista()
{
    listaSelezionando(std::nullopt);
}

void F1OP::listaSelezionando(const std::optional<Chiave>& chiave)
{
    const Operazione operazione(*this);
    // The progressives of one subject stand together and in their order: 002 after 001, 010 after 009.
    SQL = QStringLiteral("SELECT * FROM COPE ORDER BY COPE.Odes, COPE.OCOD, CAST(COPE.ONPROG AS INTEGER), COPE.ONPROG");
    const QScopedValueRollback riempimento(m_riempimentoGriglia, true);

    m_griglia->svuota();
    // 270 twips and one pixel, halves to the even number: 19 pixels at 15 twips per pixel.
    const int altezza = static_cast<int>(std::nearbyint(270 / twipsPerPixel(this, true) + 1));
    IGOpe->verticalHeader()->setMinimumSectionSize(1);
    IGOpe->verticalHeader()->setDefaultSectionSize(altezza);

    IGOpe->setUpdatesEnabled(false);
    QFont intestazioni(QStringLiteral("Tahoma"));
    intestazioni.setBold(true);
    m_griglia->impostaCarattereIntestazioni(intestazioni);
    IGOpe->horizontalHeader()->setFont(intestazioni);
    for (const ColonnaLista& c : ColonneLista) {
        m_griglia->aggiungiColonna(QLatin1String(c.chiave), QString::fromUtf8(c.intestazione));
    }
    const int colonne = m_griglia->columnCount();
    for (int i = 0; i < colonne; ++i) {
        IGOpe->setColumnWidth(i, ColonneLista[i].larghezza);
    }
    IGOpe->setUpdatesEnabled(true);

    LarghezzeColonne.assign(static_cast<size_t>(colonne) + 2, 0);
    for (int i = 0; i < colonne; ++i) {
        LarghezzeColonne[static_cast<size_t>(i) + 1] = IGOpe->columnWidth(i);
    }
    // The design widths fill the list only at one size; the list keeps its own size through a refill.
    FitCols();

    if (!RsCope.Open(SQL, Conn)) {
        throw ErroreEsecuzione(RsCope.lastError());
    }
    if (RsCope.RecordCount() < 1) {
        nuovoSoggetto();
        return;
    }
    m_griglia->riempi(RsCope);
    const int righe = m_griglia->rowCount();
    if (const int trovata = chiave ? rigaDi(*chiave) : -1; trovata >= 0) {
        RigaGriglia = trovata + 1;
    }
    if (RigaGriglia == 0) {
        RigaGriglia = 1;
    }
    // A row remembered before rows were deleted may be past the end: the last row stands in for it.
    const int riga = std::min<int>(RigaGriglia, righe) - 1;
    IGOpe->setCurrentIndex(m_griglia->index(riga, 0));
    IGOpe->scrollTo(IGOpe->currentIndex());
    CodiceCorrente = m_griglia->testo(riga, 0);
    vONPROG->setText(m_griglia->testo(riga, 1));
    Dettaglio();
}

int F1OP::rigaDi(const Chiave& chiave) const
{
    for (int r = 0; r < m_griglia->rowCount(); ++r) {
        if (m_griglia->testo(r, 0).compare(chiave.codice, Qt::CaseInsensitive) == 0 &&
            m_griglia->testo(r, 1).compare(chiave.progressivo, Qt::CaseInsensitive) == 0) {
            return r;
        }
    }
    return -1;
}

void F1OP::IGOpe_RigaScelta()
{
    const QModelIndex corrente = IGOpe->currentIndex();
    if (!corrente.isValid()) {
        return;
    }
    CodiceCorrente = m_griglia->testo(corrente.row(), 0);
    vONPROG->setText(m_griglia->testo(corrente.row(), 1));
    Dettaglio();
}

void F1OP::FitCols()
{
    if (AnaDimColAuto == QLatin1String("off")) {
        return;
    }
    const int colonne = m_griglia->columnCount();
    if (static_cast<size_t>(colonne) >= LarghezzeColonne.size()) {
        return;
    }
    qint64 progetto = 0;
    int ultima = -1;
    for (int i = 0; i < colonne; ++i) {
        if (!IGOpe->isColumnHidden(i)) {
            progetto += LarghezzeColonne[static_cast<size_t>(i) + 1];
            ultima = i;
        }
    }
    if (progetto <= 0) {
        return;
    }
    // The last column takes what the rounding of the others leaves: together they fill the list exactly, with
    // no horizontal scroll bar and no empty band at the right.
    const int larghezza = IGOpe->viewport()->width();
    int usata = 0;
    for (int i = 0; i < colonne; ++i) {
        if (IGOpe->isColumnHidden(i)) {
            continue;
        }
        const qint64 disegno = LarghezzeColonne[static_cast<size_t>(i) + 1];
        const int w = i == ultima ? larghezza - usata
                                  : static_cast<int>(std::llround(static_cast<double>(disegno) * larghezza / progetto));
        IGOpe->setColumnWidth(i, std::max(w, 1));
        usata += w;
    }
}

} // namespace ondavia
