#include "Ricerche.h"

#include "Dichiarazioni.h"
#include "Testi.h"

#include <limits>

namespace ondavia {

std::optional<QString> DecodificaTabella(const QString& tipo, const QString& codice, QString* errore)
{
    SQL = QStringLiteral("SELECT * From CTAB where TIPO=") + Apici(tipo) + QStringLiteral(" AND COD=") + Apici(codice);
    db::Recordset righe;
    if (!righe.Open(SQL, Conn)) {
        if (errore) {
            *errore = righe.lastError();
        }
        return std::nullopt;
    }
    QString descrizione;
    if (righe.RecordCount() > 0) {
        const db::Field des = righe.Fields(QStringLiteral("des"));
        if (!des.isValid()) {
            if (errore) {
                *errore = QStringLiteral("Elemento non trovato nell'insieme: des");
            }
            return std::nullopt;
        }
        descrizione = NoNull(des.Value()).left(50);
    }
    righe.Close();
    return descrizione;
}

std::int32_t ContaRecord(const QString& tabella, const QString& codice)
{
    SQL = QStringLiteral("SELECT Count(*)  FROM ") + tabella;
    if (!codice.isEmpty()) {
        SQL += QStringLiteral(" WHERE OCOD=") + Apici(codice);
    }
    db::Recordset conteggio;
    if (!Conn.Execute(SQL, &conteggio) || conteggio.RecordCount() == 0 || conteggio.FieldCount() == 0) {
        return 0;
    }
    bool ok = false;
    const qint64 n = conteggio.Fields(0).Value().toInteger(&ok);
    if (!ok || n < 0 || n > std::numeric_limits<std::int32_t>::max()) {
        return 0;
    }
    return static_cast<std::int32_t>(n);
}

} // namespace ondavia
