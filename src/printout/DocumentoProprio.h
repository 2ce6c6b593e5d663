#pragma once

#include <QString>

#include <functional>
#include <string>

namespace folian {
class Folian;
}

namespace ondavia {

// A document of the program's own that belongs to no subject (the card's template page, a help document).
struct DocumentoProprio {
    QString nome;     // as the messages name it: "il modello di stampa", "il documento di aiuto"
    QString cartella; // its folder, as the messages name it: "dei modelli di stampa"
    std::string titolo;
    std::string soggetto;
    std::string parole;
};

// Writes `documento` to `percorso`, its folder made first, on A4 pages in centimetres: `disegna` opens and
// draws its pages. The program's name stands where a print-out names its subject. The file takes its name
// only once complete. False, with a message for the operator naming the file and the reason, when it
// cannot be written.
bool scriviDocumentoProprio(const QString& percorso, const DocumentoProprio& documento,
                            const std::function<void(folian::Folian&)>& disegna, QString* errore);

} // namespace ondavia
