#include "ScrittoreBackup.h"

#include "Cifratura.h"
#include "FileBackup.h"
#include "FileUtente.h"
#include "Testi.h"
#include "Windows1252.h"
#include "db/Connection.h"
#include "db/Recordset.h"

#include <QDir>
#include <QSaveFile>

#include <vector>

namespace ondavia {

namespace {

// Bytes gathered before each write: few system calls, little memory.
constexpr qsizetype kBlocco = 1 << 18;

QString descriviCarattere(const QString& testo, qsizetype i)
{
    const QChar c = testo[i];
    if (c == u'\r' || c == u'\n') {
        return QStringLiteral("un a capo");
    }
    if (c == u'\0') {
        return QStringLiteral("un carattere nullo");
    }
    const bool coppia = c.isHighSurrogate() && i + 1 < testo.size() && testo[i + 1].isLowSurrogate();
    return QStringLiteral("il carattere \"%1\"").arg(testo.mid(i, coppia ? 2 : 1));
}

// The first character of a value that no backup line can carry, or -1.
qsizetype primoNonAmmesso(const QString& valore)
{
    for (qsizetype i = 0; i < valore.size(); ++i) {
        if (CarattereVietatoBackup(valore[i]) || cp1252::codeOf(valore[i]) < 0) {
            return i;
        }
    }
    return -1;
}

class Scrittura {
public:
    Scrittura(db::Recordset& righe, const QString& tabella, const ScrittoreBackup::Opzioni& opzioni)
        : m_righe(righe), m_tabella(tabella), m_opzioni(opzioni), m_codice(righe.fieldIndex(QStringLiteral("OCOD"))),
          m_nome(righe.fieldIndex(QStringLiteral("ODES")))
    {
        for (int c = 0; c < righe.FieldCount(); ++c) {
            m_tipi.push_back(righe.Fields(c).Type());
        }
    }

    // The current row's line, encoded; false with the reason when the row cannot be written.
    bool riga(QByteArray* uscita, QString* errore)
    {
        m_linea.clear();
        m_linea += QChar(SeparatoreBackup);
        m_linea += m_tabella;
        for (int c = 0; c < static_cast<int>(m_tipi.size()); ++c) {
            const QString valore = TestoVoceBackup(m_righe.Fields(c).Value(), m_tipi[c]);
            if (const qsizetype i = primoNonAmmesso(valore); i >= 0) {
                *errore = QStringLiteral("Impossibile creare il file di backup: il campo %1 del soggetto %2 contiene "
                                         "%3, che un file di backup non può contenere.\r\nCorreggere il campo e "
                                         "ripetere il salvataggio: nessun file è stato scritto.")
                              .arg(m_righe.Fields(c).Name(), soggetto(), descriviCarattere(valore, i));
                return false;
            }
            m_linea += QChar(SeparatoreBackup);
            m_linea += valore;
        }
        if (m_opzioni.cifra) {
            NonCifrabili scarti;
            m_linea = CifraRiga(m_linea, QStringLiteral("Scrivi"), ChiaveBackup, &scarti);
            if (!scarti.isEmpty()) {
                const CarattereNonCifrabile& primo = scarti.front();
                const int colonna = primo.voce - 2;
                const QString campo = colonna >= 0 ? m_righe.Fields(colonna).Name() : QStringLiteral("(tabella)");
                *errore = QStringLiteral("Impossibile creare il backup cifrato: il campo %1 del soggetto %2 contiene "
                                         "%3, che la cifratura non può riportare indietro intatto.\r\nCreare un "
                                         "backup non cifrato (senza la spunta su \"Cripta\"): nessun file è stato "
                                         "scritto.")
                              .arg(campo, soggetto(), descriviCarattere(QString(primo.carattere), 0));
                return false;
            }
        }
        uscita->append(cp1252::encode(m_linea));
        uscita->append("\r\n", 2);
        return true;
    }

private:
    QString soggetto()
    {
        const QString codice = m_codice >= 0 ? senzaSpazi(NoNull(m_righe.Fields(m_codice).Value())) : QString();
        const QString nome = m_nome >= 0 ? senzaSpazi(NoNull(m_righe.Fields(m_nome).Value())) : QString();
        const QString chi = codice.isEmpty() ? QStringLiteral("senza codice fiscale") : codice;
        return nome.isEmpty() ? chi : QStringLiteral("%1 (%2)").arg(chi, nome);
    }

    db::Recordset& m_righe;
    const QString& m_tabella;
    const ScrittoreBackup::Opzioni& m_opzioni;
    const int m_codice;
    const int m_nome;
    std::vector<int> m_tipi;
    QString m_linea;
};

} // namespace

ScrittoreBackup::ScrittoreBackup(db::Connection& connessione) : m_connessione(connessione) {}

bool ScrittoreBackup::ScriviTabella(const QString& percorso, const QString& tabella, const Opzioni& opzioni,
                                    QString* errore)
{
    QString sql = QStringLiteral("SELECT * From ") + tabella;
    if (!opzioni.soloSoggetto.isNull()) {
        sql += QStringLiteral(" WHERE OCOD=") + Apici(opzioni.soloSoggetto);
    }
    db::Recordset righe;
    if (!righe.Open(sql, m_connessione)) {
        *errore = QStringLiteral("Impossibile leggere l'archivio (tabella %1): %2").arg(tabella, righe.lastError());
        return false;
    }

    const QString mostrato = QDir::toNativeSeparators(percorso);
    QSaveFile file(percorso);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *errore = QStringLiteral("Impossibile creare il file di backup\r\n%1\r\nLa cartella non esiste o non "
                                 "consente la scrittura (errore del sistema: %2).")
                      .arg(mostrato, file.errorString());
        return false;
    }
    const QString interrotto = QStringLiteral("Impossibile completare il file di backup\r\n%1\r\nLa scrittura si è "
                                              "interrotta (errore del sistema: %2): il file non è stato creato e un "
                                              "file già presente con lo stesso nome è rimasto com'era.");

    // An uncommitted QSaveFile removes its temporary file: the target is either complete or untouched.
    Scrittura scrittura(righe, tabella, opzioni);
    QByteArray blocco;
    blocco.reserve(kBlocco + 64 * 1024);
    for (righe.MoveFirst(); !righe.Eof(); righe.MoveNext()) {
        if (opzioni.passo) {
            opzioni.passo();
        }
        if (!scrittura.riga(&blocco, errore)) {
            return false;
        }
        if (blocco.size() >= kBlocco) {
            if (!ScriviTutto(file, blocco)) {
                *errore = interrotto.arg(mostrato, file.errorString());
                return false;
            }
            blocco.clear();
        }
    }
    if (!ScriviTutto(file, blocco) || !file.commit()) {
        *errore = interrotto.arg(mostrato, file.errorString());
        return false;
    }
    return true;
}

} // namespace ondavia
