#pragma once

#include <QChar>
#include <QList>
#include <QString>

#include <cstdint>

namespace ondavia {

// Scrambling of backup items: each character's Windows-1252 code is shifted by the key plus its position
// in the item (1 for the first character). Mode "Scrivi" scrambles, "Leggi" unscrambles, any other mode
// leaves the text as it is. Only the positions up to the length of the item without its leading and
// trailing blanks are shifted, so trailing blanks stay blanks.

// Why a character cannot travel through a scrambled backup unchanged.
enum class MotivoNonCifrabile {
    NonWindows1252,  // it has no Windows-1252 code: left as it is (a backup file could not hold it anyway)
    FuoriIntervallo, // its shifted code would leave 0-255: left unshifted, so reading would shift it wrongly
    Separatore,      // scrambled it would become 0xA6, the separator of the items of a backup line
    FineRiga,        // scrambled it would become CR or LF, which end a backup line
    NonReversibile,  // reading the item back would not give it (an item with leading blanks, say)
};

struct CarattereNonCifrabile {
    int voce = 0;      // the item of the line, 1 for the first after the separator; 0 from CifraTesto
    int posizione = 0; // 1-based position in the item
    QChar carattere;   // the character as given
    MotivoNonCifrabile motivo = MotivoNonCifrabile::NonReversibile;
};

using NonCifrabili = QList<CarattereNonCifrabile>;

// Scrambles or unscrambles one item. The text returned is always the shifted text, with the characters
// that cannot be shifted left as they are; each such character, and each character that would not come
// back unchanged from a scrambled backup, is appended to `nonCifrabili`. With mode "Scrivi" an empty
// report promises that "Leggi" gives the item back exactly and that the result holds no 0xA6, CR or LF.
QString CifraTesto(const QString& testo, const QString& modo, std::int16_t chiave,
                   NonCifrabili* nonCifrabili = nullptr);

// Applies CifraTesto to every item of a backup line: the line is split at its first character, the empty
// item in front of the first separator is kept as it is, and the items are joined again with "¦" (0xA6).
QString CifraRiga(const QString& riga, const QString& modo, std::int16_t chiave, NonCifrabili* nonCifrabili = nullptr);

} // namespace ondavia
