#pragma once

// The layout of the subject's card: where every frame, caption, field and box of the printed page lies.
// The template page and the values drawn over it are both placed from this one description, so a value
// always lands in the frame drawn for it. Lengths are centimetres from the page's top-left corner, the
// unit the print-out works in; an A4 page is 21.0256 by 29.7039 cm.

#include <QString>

#include <vector>

namespace ondavia::scheda {

struct Rettangolo {
    float x = 0;
    float y = 0;
    float w = 0;
    float h = 0;

    float destra() const { return x + w; }
    float basso() const { return y + h; }
};

// A section frame: a caption band across its top, the fields below.
struct Cornice {
    QString titolo;
    Rettangolo area;
};

// A field: its caption in small letters at the top of the cell, the value above the field's line at the
// bottom. `campo` names the value in the subject's data; a cell without one only groups boxes under its
// caption and has no line.
struct Campo {
    const char* campo = nullptr;
    QString etichetta;
    Rettangolo cella;
    float corpoMassimo = 0; // points; the value is made smaller, down to kCorpoMinimo, until it fits
    bool grassetto = false;
    bool linea = true;
};

// A box that is ticked when the field `campo` of the subject holds `atteso`; its caption follows it.
struct Casella {
    const char* campo = nullptr;
    QString atteso;
    QString didascalia;
    Rettangolo quadrato;
};

// A fixed text of the page.
struct Testo {
    QString testo;
    float x = 0;
    float y = 0; // baseline
    float corpo = 0;
    bool grassetto = false;
    int allineamento = 0; // 0 begins at x, 2 ends at x, 4 is centred on x
    const char* colore = nullptr;
};

// A filled band, a frame's caption band or a rule.
struct Fascia {
    Rettangolo area;
    const char* colore = nullptr;
};

// A line to sign on, its caption under it.
struct Firma {
    QString didascalia;
    float x = 0;
    float y = 0; // the line
    float w = 0;
};

struct Layout {
    std::vector<Cornice> cornici;
    std::vector<Campo> campi;
    std::vector<Casella> caselle;
    std::vector<Testo> testi;
    std::vector<Fascia> fasce;
    std::vector<Firma> firme;
    // The print date follows its caption on the footer's baseline.
    Testo didascaliaData;
};

// The card. Built once; every caller sees the same description.
const Layout& layout();

// Where the value of a field is written: inside its cell, below the caption and above the line.
Rettangolo areaValore(const Campo& campo);
// The baseline of a field's caption, and the y of its line.
float baseEtichetta(const Campo& campo);
float lineaCampo(const Campo& campo);

// The fonts and colours of the card.
inline constexpr char kFamiglia[] = "Helvetica";
inline constexpr float kCorpoValore = 9.5F;
inline constexpr float kCorpoMinimo = 6.0F;
inline constexpr float kCorpoEtichetta = 6.5F;
inline constexpr float kCorpoDidascalia = 8.0F;
inline constexpr float kCorpoPiede = 7.5F;
inline constexpr float kInterlinea = 1.18F; // line advance as a multiple of the size
inline constexpr char kColoreTitolo[] = "#1F3A5F";
inline constexpr char kColoreEtichetta[] = "#5A6878";
inline constexpr char kColoreBordo[] = "#7D8DA3";
inline constexpr char kColoreFascia[] = "#E3E9F1";
inline constexpr char kColoreSfondo[] = "#F3F6FA";
inline constexpr char kColoreValore[] = "#000000";

// Points per centimetre, as the writer counts them.
inline constexpr float kPuntiPerCm = 72.0F / 2.54F;

} // namespace ondavia::scheda
