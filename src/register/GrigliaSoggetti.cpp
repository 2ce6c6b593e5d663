#include "GrigliaSoggetti.h"

#include "db/Recordset.h"

namespace ondavia {

void GrigliaSoggetti::svuota()
{
    beginResetModel();
    m_chiavi.clear();
    m_intestazioni.clear();
    m_celle.clear();
    endResetModel();
}

void GrigliaSoggetti::aggiungiColonna(const QString& chiave, const QString& intestazione)
{
    const int colonna = columnCount();
    beginInsertColumns({}, colonna, colonna);
    m_chiavi << chiave;
    m_intestazioni << intestazione;
    // Cells only exist once rows are filled; columns are added to an empty grid.
    m_celle.clear();
    endInsertColumns();
}

void GrigliaSoggetti::riempi(db::Recordset& righe)
{
    const int colonne = columnCount();
    std::vector<int> campi;
    for (const QString& chiave : std::as_const(m_chiavi)) {
        campi.push_back(righe.fieldIndex(chiave));
    }
    beginResetModel();
    m_celle.clear();
    m_celle.reserve(static_cast<size_t>(righe.RecordCount()) * static_cast<size_t>(colonne));
    for (righe.MoveFirst(); !righe.Eof(); righe.MoveNext()) {
        for (int campo : campi) {
            m_celle.push_back(campo < 0 ? QString() : righe.Fields(campo).Value().toText());
        }
    }
    endResetModel();
}

QString GrigliaSoggetti::testo(int riga, int colonna) const
{
    if (riga < 0 || riga >= rowCount() || colonna < 0 || colonna >= columnCount()) {
        return {};
    }
    return m_celle[static_cast<size_t>(riga) * static_cast<size_t>(columnCount()) + static_cast<size_t>(colonna)];
}

int GrigliaSoggetti::rowCount(const QModelIndex& genitore) const
{
    if (genitore.isValid() || m_chiavi.isEmpty()) {
        return 0;
    }
    return static_cast<int>(m_celle.size() / static_cast<size_t>(m_chiavi.size()));
}

int GrigliaSoggetti::columnCount(const QModelIndex& genitore) const
{
    return genitore.isValid() ? 0 : static_cast<int>(m_chiavi.size());
}

QVariant GrigliaSoggetti::data(const QModelIndex& indice, int ruolo) const
{
    if (ruolo != Qt::DisplayRole || !indice.isValid()) {
        return {};
    }
    return testo(indice.row(), indice.column());
}

QVariant GrigliaSoggetti::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const
{
    if (orientamento != Qt::Horizontal) {
        return ruolo == Qt::DisplayRole ? QVariant(sezione + 1) : QVariant();
    }
    if (ruolo == Qt::DisplayRole) {
        return m_intestazioni.value(sezione);
    }
    if (ruolo == Qt::FontRole) {
        return m_carattereIntestazioni;
    }
    return {};
}

Qt::ItemFlags GrigliaSoggetti::flags(const QModelIndex& indice) const
{
    return indice.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace ondavia
