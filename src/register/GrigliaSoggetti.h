#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

namespace ondavia {

namespace db {
class Recordset;
}

// The subject list's rows as the grid shows them: text cells only, read-only. Each column has a key,
// the field of the recordset that fills it, and a header.
class GrigliaSoggetti : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Removes every row and column.
    void svuota();
    void aggiungiColonna(const QString& chiave, const QString& intestazione);
    // One row per row of the recordset, in its order; each column takes the field named by its key
    // (an unknown key leaves the column empty). The recordset is left at its end.
    void riempi(db::Recordset& righe);

    void impostaCarattereIntestazioni(const QFont& carattere) { m_carattereIntestazioni = carattere; }

    // The text of a cell, rows and columns from 0; "" outside the grid.
    QString testo(int riga, int colonna) const;

    int rowCount(const QModelIndex& genitore = {}) const override;
    int columnCount(const QModelIndex& genitore = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento, int ruolo = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;

private:
    QStringList m_chiavi;
    QStringList m_intestazioni;
    QFont m_carattereIntestazioni;
    // Row-major cells, m_chiavi.size() per row.
    std::vector<QString> m_celle;
};

} // namespace ondavia
