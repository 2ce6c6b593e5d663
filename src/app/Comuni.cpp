#include "Comuni.h"

#include "Archivio.h"
#include "Dichiarazioni.h"
#include "Testi.h"

namespace ondavia {

namespace {

bool apriComuni(QString* errore)
{
    if (ComuniCaricati && rsComuni.isOpen()) {
        return true;
    }
    QString motivo;
    if (!CaricaComuni(&motivo) && !rsComuni.isOpen()) {
        if (errore) {
            *errore = motivo;
        }
        return false;
    }
    return true;
}

// Searches rsComuni from its first row; false when the search itself failed.
bool cerca(const QString& criterio, QString* errore)
{
    rsComuni.MoveFirst();
    if (!rsComuni.Find(criterio)) {
        if (errore) {
            *errore = rsComuni.lastError();
        }
        return false;
    }
    return true;
}

Comune comuneCorrente()
{
    return {NoNull(rsComuni.Fields(QStringLiteral("COMUNE")).Value()),
            NoNull(rsComuni.Fields(QStringLiteral("pro")).Value())};
}

} // namespace

bool cercaComune(const QString& nome, const QString& provincia, std::optional<Comune>* trovato, QString* errore)
{
    trovato->reset();
    if (!apriComuni(errore)) {
        return false;
    }
    const QString criterio = QStringLiteral("COMUNE ='") + RaddoppiaApici(nome) + QLatin1Char('\'');
    if (!cerca(criterio, errore)) {
        return false;
    }
    if (rsComuni.Eof()) {
        return true;
    }
    *trovato = comuneCorrente();
    const QString voluta = senzaSpazi(provincia);
    if (voluta.isEmpty() || (*trovato)->provincia.compare(voluta, Qt::CaseInsensitive) == 0) {
        return true;
    }
    // The rows of one name follow each other in the table's order.
    const int primo = rsComuni.position();
    for (rsComuni.MoveNext(); !rsComuni.Eof(); rsComuni.MoveNext()) {
        const Comune altro = comuneCorrente();
        if (altro.nome.compare((*trovato)->nome, Qt::CaseInsensitive) != 0) {
            break;
        }
        if (altro.provincia.compare(voluta, Qt::CaseInsensitive) == 0) {
            *trovato = altro;
            return true;
        }
    }
    // Back on the first row of the name, the one the search found.
    rsComuni.MoveFirst();
    while (rsComuni.position() < primo) {
        rsComuni.MoveNext();
    }
    return true;
}

bool completaComune(const QString& prefisso, std::optional<Comune>* trovato, QString* errore)
{
    trovato->reset();
    if (prefisso.contains(QLatin1Char('%')) || prefisso.contains(QLatin1Char('*'))) {
        return true;
    }
    if (!apriComuni(errore)) {
        return false;
    }
    const QString criterio = QStringLiteral("COMUNE LIKE '") + RaddoppiaApici(prefisso) + QStringLiteral("%'");
    if (!cerca(criterio, errore)) {
        return false;
    }
    if (!rsComuni.Eof()) {
        *trovato = comuneCorrente();
    }
    return true;
}

QString apostrofiPerAccenti(const QString& nome)
{
    QString scritto;
    for (qsizetype i = 0; i < nome.size(); ++i) {
        const QChar c = nome[i];
        const QString scomposto = c.decomposition();
        const bool vocaleAccentata = c.decompositionTag() == QChar::Canonical && !scomposto.isEmpty() &&
                                     QStringLiteral("AEIOUaeiou").contains(scomposto[0]);
        if (vocaleAccentata && (i + 1 == nome.size() || nome[i + 1].isSpace())) {
            scritto += scomposto[0];
            scritto += QLatin1Char('\'');
        } else {
            scritto += c;
        }
    }
    return scritto;
}

} // namespace ondavia
