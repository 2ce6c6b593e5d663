#include "Cifratura.h"

#include "Testi.h"
#include "Windows1252.h"

namespace ondavia {

namespace {

constexpr int kSeparatore = 0xA6;

enum class Verso { Scrivi, Leggi, Nessuno };

Verso versoDi(const QString& modo)
{
    if (modo == QLatin1String("Scrivi")) {
        return Verso::Scrivi;
    }
    if (modo == QLatin1String("Leggi")) {
        return Verso::Leggi;
    }
    return Verso::Nessuno;
}

QString sposta(const QString& testo, Verso verso, int chiave, NonCifrabili* nonCifrabili)
{
    QString s = testo;
    const qsizetype quanti = senzaSpazi(testo).size();
    for (qsizetype i = 1; i <= quanti; ++i) {
        const QChar originale = s[i - 1];
        auto segnala = [&](MotivoNonCifrabile motivo) {
            if (nonCifrabili) {
                nonCifrabili->append({0, static_cast<int>(i), originale, motivo});
            }
        };
        const int codice = cp1252::codeOf(originale);
        if (codice < 0) {
            segnala(MotivoNonCifrabile::NonWindows1252);
            continue;
        }
        const int spostato =
            verso == Verso::Scrivi ? codice + chiave + static_cast<int>(i) : codice - chiave - static_cast<int>(i);
        if (spostato < 0 || spostato > 0xFF) {
            segnala(MotivoNonCifrabile::FuoriIntervallo);
            continue;
        }
        if (verso == Verso::Scrivi && spostato == kSeparatore) {
            segnala(MotivoNonCifrabile::Separatore);
        } else if (verso == Verso::Scrivi && (spostato == '\r' || spostato == '\n')) {
            segnala(MotivoNonCifrabile::FineRiga);
        }
        s[i - 1] = cp1252::charOf(spostato);
    }
    return s;
}

bool giaSegnalato(const NonCifrabili& segnalati, qsizetype primo, qsizetype posizione)
{
    for (qsizetype k = primo; k < segnalati.size(); ++k) {
        if (segnalati.at(k).posizione == posizione) {
            return true;
        }
    }
    return false;
}

} // namespace

QString CifraTesto(const QString& testo, const QString& modo, std::int16_t chiave, NonCifrabili* nonCifrabili)
{
    const Verso verso = versoDi(modo);
    if (verso == Verso::Nessuno) {
        return testo;
    }
    const qsizetype giaSegnalati = nonCifrabili ? nonCifrabili->size() : 0;
    const QString s = sposta(testo, verso, chiave, nonCifrabili);
    if (verso == Verso::Scrivi && nonCifrabili) {
        // Reading back shifts the positions up to the scrambled item's own trimmed length, which differs
        // from the original's when the item has leading blanks or a character turns into a blank: read it
        // back here and report whatever does not return, unless it is already reported.
        const QString riletto = sposta(s, Verso::Leggi, chiave, nullptr);
        for (qsizetype i = 0; i < testo.size(); ++i) {
            if (riletto[i] == testo[i]) {
                continue;
            }
            if (!giaSegnalato(*nonCifrabili, giaSegnalati, i + 1)) {
                nonCifrabili->append({0, static_cast<int>(i + 1), testo[i], MotivoNonCifrabile::NonReversibile});
            }
        }
        // Only the positions up to the trimmed length are shifted, and a text with leading blanks has
        // characters past it that come back unchanged: report any of them that a backup line cannot hold.
        for (qsizetype i = 0; i < s.size(); ++i) {
            const int codice = cp1252::codeOf(s[i]);
            const MotivoNonCifrabile motivo = codice < 0                         ? MotivoNonCifrabile::NonWindows1252
                                              : codice == kSeparatore            ? MotivoNonCifrabile::Separatore
                                              : codice == '\r' || codice == '\n' ? MotivoNonCifrabile::FineRiga
                                                                                 : MotivoNonCifrabile::NonReversibile;
            if (motivo != MotivoNonCifrabile::NonReversibile && !giaSegnalato(*nonCifrabili, giaSegnalati, i + 1)) {
                nonCifrabili->append({0, static_cast<int>(i + 1), testo[i], motivo});
            }
        }
    }
    return s;
}

QString CifraRiga(const QString& riga, const QString& modo, std::int16_t chiave, NonCifrabili* nonCifrabili)
{
    if (riga.isEmpty()) {
        return {};
    }
    QStringList voci = riga.split(riga.front());
    for (qsizetype v = 1; v < voci.size(); ++v) {
        const qsizetype primo = nonCifrabili ? nonCifrabili->size() : 0;
        voci[v] = CifraTesto(voci[v], modo, chiave, nonCifrabili);
        if (nonCifrabili) {
            for (qsizetype k = primo; k < nonCifrabili->size(); ++k) {
                (*nonCifrabili)[k].voce = static_cast<int>(v);
            }
        }
    }
    return voci.join(QChar(kSeparatore));
}

} // namespace ondavia
