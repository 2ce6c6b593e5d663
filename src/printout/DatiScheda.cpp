#include "DatiScheda.h"

#include "SchedaSoggetto.h"
#include "app/Archivio.h"
#include "app/Dates.h"
#include "app/Dichiarazioni.h"
#include "app/Testi.h"
#include "db/Recordset.h"

#include <algorithm>

namespace ondavia {

namespace {

QString chiave(const char* campo)
{
    return QString::fromLatin1(campo).toUpper();
}

// Columns holding option states ("-1"/"0", read back as Booleans) and check-box states (0/1).
constexpr const char* kOpzioni[] = {"OTIPOCOM1", "OTIPOCOM2", "OMC1", "OMC2", "OMC3", "oitt1", "oitt2"};
constexpr const char* kSpunte[] = {"OMOC1", "OMOC2", "OMOC3"};

bool tra(const char* campo, const auto& elenco)
{
    for (const char* c : elenco) {
        if (chiave(c) == chiave(campo)) {
            return true;
        }
    }
    return false;
}

QString testoDi(const db::Value& v)
{
    // A restored backup may hold the empty date; on paper it is a blank, not a time of day.
    if (v.kind() == db::Value::Kind::Date && v.toDate() == db::zeroDate()) {
        return {};
    }
    return NoNull(v);
}

QString statoDi(const char* campo, const db::Value& v)
{
    if (tra(campo, kOpzioni)) {
        return v.toBool() ? QStringLiteral("1") : QString();
    }
    bool numero = false;
    const qint64 n = v.isNull() ? 0 : v.toInteger(&numero);
    return numero && n == 1 ? QStringLiteral("1") : QString();
}

} // namespace

QString DatiScheda::valore(const char* campo) const
{
    const auto it = m_valori.find(chiave(campo));
    return it == m_valori.end() ? QString() : it->second;
}

void DatiScheda::imposta(const char* campo, const QString& valore)
{
    m_valori[chiave(campo)] = valore;
}

std::optional<DatiScheda> DatiScheda::leggi(const QString& codice, const QString& progressivo, QString* errore)
{
    errore->clear();
    SQL = QStringLiteral("SELECT * From COPE WHERE ") + condizioneSoggetto(codice, progressivo);
    db::Recordset rs;
    if (!rs.Open(SQL, Conn)) {
        *errore = rs.lastError();
        return std::nullopt;
    }
    if (rs.RecordCount() < 1) {
        return std::nullopt;
    }

    DatiScheda dati;
    const auto leggi = [&](const char* campo) {
        const db::Field f = rs.Fields(QLatin1String(campo));
        const db::Value v = f.isValid() ? f.Value() : db::Value();
        const bool stato = tra(campo, kOpzioni) || tra(campo, kSpunte);
        dati.imposta(campo, stato ? statoDi(campo, v) : testoDi(v));
    };
    const scheda::Layout& layout = scheda::layout();
    for (const scheda::Campo& c : layout.campi) {
        if (c.campo != nullptr) {
            leggi(c.campo);
        }
    }
    for (const scheda::Casella& c : layout.caselle) {
        leggi(c.campo);
    }
    for (const char* campo : {"ODES", "oTIPOSOG"}) {
        leggi(campo);
    }

    // A birth date kept with a two-digit year (by an older register, or restored) is printed with the century
    // that the register form and the communication file read in it.
    for (const char* campo : {"ONDT", "OREDTNAS"}) {
        const QString testo = dati.valore(campo);
        const auto cifre = std::count_if(testo.cbegin(), testo.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (const std::optional<QDate> data = leggiData(testo, Secolo::Nascita); data && cifre == 6) {
            dati.imposta(campo, data->toString(QStringLiteral("dd/MM/yyyy")));
        }
    }

    // The subject type as the list showed it ("13=..."); a row without it still shows its code.
    if (dati.valore("OTIPOSOGD").isEmpty()) {
        dati.imposta("OTIPOSOGD", dati.valore("oTIPOSOG"));
    }
    QString nome = senzaSpazi(dati.valore("ODES"));
    if (nome.isEmpty()) {
        nome = dati.valore("OSTP") == QLatin1String("0")
                   ? senzaSpazi(senzaSpazi(dati.valore("OCOG")) + QLatin1Char(' ') + senzaSpazi(dati.valore("ONOME")))
                   : senzaSpazi(dati.valore("orag"));
    }
    dati.imposta("SOGGETTO", nome);
    return dati;
}

} // namespace ondavia
