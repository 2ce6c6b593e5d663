#include "LettoreBackup.h"

#include "Cifratura.h"
#include "FileBackup.h"
#include "Testi.h"
#include "Windows1252.h"
#include "platform/FileNormale.h"

#include <QDir>

#include <algorithm>

namespace ondavia {

namespace {

constexpr qint64 kBlocco = 1 << 16;

} // namespace

bool LettoreBackup::apri(const QString& percorso, QString* errore)
{
    m_percorso = percorso;
    m_blocco.clear();
    m_pos = 0;
    m_finito = false;
    m_saltaLF = false;
    m_numero = 0;
    m_errore.clear();
    // Only a file: what never ends (a named pipe, a device) would keep the form waiting for good.
    const AperturaFile apertura = apriFileNormale(m_file, percorso);
    if (!apertura.aperto) {
        const QString motivo = apertura.genere.isEmpty() ? QStringLiteral("errore del sistema: %1").arg(apertura.errore)
                                                         : QStringLiteral("non è un file ma %1").arg(apertura.genere);
        m_errore = QStringLiteral("Impossibile leggere il file\r\n%1\r\n(%2).")
                       .arg(QDir::toNativeSeparators(percorso), motivo);
        if (errore) {
            *errore = m_errore;
        }
        return false;
    }
    return true;
}

bool LettoreBackup::riempi()
{
    m_blocco.resize(kBlocco);
    const qint64 letti = m_file.read(m_blocco.data(), kBlocco);
    if (letti < 0) {
        m_errore = QStringLiteral("La lettura del file\r\n%1\r\nsi è interrotta alla riga %2 "
                                  "(errore del sistema: %3).")
                       .arg(QDir::toNativeSeparators(m_percorso))
                       .arg(m_numero + 1)
                       .arg(m_file.errorString());
        m_blocco.clear();
        return false;
    }
    m_blocco.resize(letti);
    m_pos = 0;
    m_finito = letti == 0;
    return true;
}

LettoreBackup::Esito LettoreBackup::prossima(QString* riga)
{
    if (!m_errore.isEmpty()) {
        return Esito::Errore;
    }
    // A line that lies whole in the block is decoded from it; only one across blocks is gathered first.
    m_linea.clear();
    bool raccolta = false;
    QByteArrayView intera;
    qint64 lunghezza = 0;
    bool iniziata = false;
    for (;;) {
        if (m_pos >= m_blocco.size()) {
            if (iniziata && !raccolta) {
                m_linea = intera.toByteArray();
                raccolta = true;
            }
            if (m_finito || !riempi()) {
                if (!m_errore.isEmpty()) {
                    return Esito::Errore;
                }
            }
            if (m_finito) {
                if (!iniziata) {
                    return Esito::Fine;
                }
                break; // a last line without its line end
            }
        }
        if (m_saltaLF) {
            m_saltaLF = false;
            if (m_blocco[m_pos] == '\n') {
                ++m_pos;
                continue;
            }
        }
        iniziata = true;
        const char* inizio = m_blocco.constData() + m_pos;
        const char* fine = m_blocco.constData() + m_blocco.size();
        const char* a = std::find_if(inizio, fine, [](char c) { return c == '\r' || c == '\n'; });
        const qsizetype quanti = a - inizio;
        lunghezza += quanti;
        if (raccolta) {
            const qsizetype posto = LunghezzaMassimaRiga - m_linea.size();
            m_linea.append(inizio, std::min(quanti, std::max<qsizetype>(posto, 0)));
        } else {
            intera = QByteArrayView(inizio, std::min<qsizetype>(quanti, LunghezzaMassimaRiga));
        }
        m_pos += quanti;
        if (a != fine) {
            m_saltaLF = *a == '\r';
            ++m_pos;
            break;
        }
    }
    ++m_numero;
    m_lunghezza = lunghezza;
    cp1252::decode(raccolta ? QByteArrayView(m_linea) : intera, riga);
    return lunghezza > LunghezzaMassimaRiga ? Esito::RigaTroppoLunga : Esito::Riga;
}

bool primaRigaDiBackup(const QString& riga, bool* cifrata)
{
    const QString tabella = riga.mid(1, 4);
    *cifrata = CifraTesto(tabella, QStringLiteral("Leggi"), ChiaveBackup) == TabellaSoggetti;
    return *cifrata || tabella == TabellaSoggetti;
}

ControlloBackup ControllaFileBackup(const QString& percorso)
{
    ControlloBackup esito;
    LettoreBackup lettore;
    if (!lettore.apri(percorso, &esito.errore)) {
        esito.stato = ControlloBackup::Stato::Illeggibile;
        return esito;
    }
    QString riga;
    const LettoreBackup::Esito letta = lettore.prossima(&riga);
    if (letta == LettoreBackup::Esito::Errore) {
        esito.stato = ControlloBackup::Stato::Illeggibile;
        esito.errore = lettore.errore();
        return esito;
    }
    if (letta == LettoreBackup::Esito::Fine) {
        return esito;
    }
    if (!primaRigaDiBackup(riga, &esito.cifrato)) {
        return esito;
    }
    esito.stato = ControlloBackup::Stato::Backup;
    QList<QStringView> voci;
    vociRigaLetta(&riga, esito.cifrato, &voci);
    esito.codice = senzaSpazi(voci.value(2)).toString();
    return esito;
}

void vociRigaLetta(QString* riga, bool cifrata, QList<QStringView>* voci)
{
    voci->clear();
    if (riga->isEmpty()) {
        return;
    }
    // The items are found in the line as read; unscrambling keeps every item's length, so they stand at the
    // same places in the unscrambled line.
    const QChar separatore = riga->front();
    const QStringView testo(*riga);
    if (!cifrata) {
        qsizetype inizio = 0;
        for (qsizetype fine; (fine = testo.indexOf(separatore, inizio)) >= 0; inizio = fine + 1) {
            voci->append(testo.sliced(inizio, fine - inizio));
        }
        voci->append(testo.sliced(inizio));
        return;
    }
    QList<std::pair<qsizetype, qsizetype>> tratti;
    qsizetype inizio = 0;
    for (qsizetype fine; (fine = riga->indexOf(separatore, inizio)) >= 0; inizio = fine + 1) {
        tratti.append({inizio, fine - inizio});
    }
    tratti.append({inizio, riga->size() - inizio});
    for (qsizetype i = 1; i < tratti.size(); ++i) {
        const auto [da, quanti] = tratti[i];
        riga->replace(da, quanti, CifraTesto(riga->mid(da, quanti), QStringLiteral("Leggi"), ChiaveBackup));
    }
    const QStringView chiaro(*riga);
    voci->reserve(tratti.size());
    for (const auto& [da, quanti] : tratti) {
        voci->append(chiaro.mid(da, quanti));
    }
}

QString messaggioNonBackup()
{
    return QStringLiteral("Il file indicato non è un file di backUp di ONDAVIA. Operazione annullata");
}

} // namespace ondavia
