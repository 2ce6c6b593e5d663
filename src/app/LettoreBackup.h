#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringView>

namespace ondavia {

// Reads a backup file (see FileBackup.h) one line at a time, in Windows-1252. A line ends at CR LF, as the
// program writes it, or at a lone LF or CR, as a file passed through other tools may have it. A line
// longer than LunghezzaMassimaRiga is reported as such, with only its beginning kept, so a damaged file
// never fills the memory.
class LettoreBackup {
public:
    enum class Esito { Riga, RigaTroppoLunga, Fine, Errore };

    // Opens a file of data; anything else (a folder, a named pipe, a device) is refused at once, its message
    // naming the path and what it is.
    bool apri(const QString& percorso, QString* errore);

    // The next line into *riga (without its line end). RigaTroppoLunga gives the line's first
    // LunghezzaMassimaRiga characters; Errore means the file could not be read on (see errore()).
    Esito prossima(QString* riga);

    // The 1-based number of the line prossima() gave last.
    qint64 numeroRiga() const { return m_numero; }
    // The length in bytes of that line.
    qint64 lunghezzaRiga() const { return m_lunghezza; }
    QString errore() const { return m_errore; }

private:
    bool riempi();

    QString m_percorso;
    QFile m_file;
    QByteArray m_blocco;
    QByteArray m_linea; // a line that spans blocks, gathered
    qsizetype m_pos = 0;
    bool m_finito = false;
    bool m_saltaLF = false;
    qint64 m_numero = 0;
    qint64 m_lunghezza = 0;
    QString m_errore;
};

// What the first line of a file says about it: a backup (plain or scrambled) and whose subject it names
// first, or not a backup, or a file that cannot be read.
struct ControlloBackup {
    enum class Stato { Backup, NonBackup, Illeggibile } stato = Stato::NonBackup;
    bool cifrato = false;
    QString codice; // item 2 of the first line, without leading and trailing blanks
    QString errore; // why the file cannot be read
};

// A file is a backup when characters 2 to 5 of its first line are "COPE", plain or scrambled with
// ChiaveBackup; a first line of any other table, however well formed, is refused.
ControlloBackup ControllaFileBackup(const QString& percorso);

// Whether a first line opens a backup: its characters 2 to 5 read "COPE", as they stand or once
// unscrambled (*cifrata tells which).
bool primaRigaDiBackup(const QString& riga, bool* cifrata);

// The items of a line read from a backup, each unscrambled on its own when the file is scrambled: joined
// again, an item that unscrambles to the separator would split in two and shift the values after it.
// They are views into *riga, which is replaced by its unscrambled text when the file is scrambled: a
// restore reads every line of a file, and copying each item would cost more than storing it.
void vociRigaLetta(QString* riga, bool cifrata, QList<QStringView>* voci);

// The message for a file that is not a backup.
QString messaggioNonBackup();

} // namespace ondavia
