#include "TestoPdf.h"

#include "SchedaSoggetto.h"
#include "app/Windows1252.h"
#include "core/Folian.h"

namespace ondavia::stampa {

std::string ansi(const QString& testo)
{
    std::string byte = cp1252::encode(testo).toStdString();
    for (char& c : byte) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = ' ';
        }
    }
    return byte;
}

void carattere(folian::Folian& pdf, float corpo, bool grassetto)
{
    pdf.SetFont(scheda::kFamiglia, corpo, grassetto ? 1 : 0, 0);
}

float daPunti(float punti)
{
    return punti / scheda::kPuntiPerCm;
}

} // namespace ondavia::stampa
