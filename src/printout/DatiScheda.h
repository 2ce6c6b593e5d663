#pragma once

#include <QString>

#include <map>
#include <optional>

namespace ondavia {

// The values of one subject as the card prints them, by the names the card's layout gives its fields
// (the columns of COPE, and "SOGGETTO" for the subject's display name). Texts are as stored; a date
// column holding the empty date is blank; option and check-box states are "1" when chosen or ticked and
// "" otherwise.
class DatiScheda {
public:
    QString valore(const char* campo) const;
    void imposta(const char* campo, const QString& valore);

    // The name the card, the document's title and the default file name carry: the stored display name,
    // else the company name or the surname and name.
    QString nomeSoggetto() const { return valore("SOGGETTO"); }
    QString codice() const { return valore("OCOD"); }
    QString progressivo() const { return valore("ONPROG"); }

    // Reads the row of COPE of `codice` and `progressivo` on the shared connection. Nothing, with
    // `errore` empty, when there is no such row; nothing, with the reason, when the table cannot be read.
    static std::optional<DatiScheda> leggi(const QString& codice, const QString& progressivo, QString* errore);

private:
    std::map<QString, QString> m_valori; // keys upper-cased: the database ignores the case of names
};

} // namespace ondavia
