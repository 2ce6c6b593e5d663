#include "SchedaSoggetto.h"

#include <initializer_list>

namespace ondavia::scheda {

namespace {

// The page's column: frames span it, fields sit inside with a margin.
constexpr float kSinistra = 1.5F;
constexpr float kLarghezza = 18.0F;
constexpr float kRientro = 0.25F;
constexpr float kTraCelle = 0.1F;
constexpr float kTraRighe = 0.08F;
constexpr float kFasciaCornice = 0.55F;
constexpr float kSopraRighe = 0.1F;
constexpr float kSottoRighe = 0.14F;
constexpr float kTraCornici = 0.28F;
constexpr float kRigaCampi = 1.2F;
constexpr float kRigaCaselle = 0.85F;
constexpr float kLatoCasella = 0.28F;
constexpr float kTraCaselle = 0.4F; // from one line of boxes to the next

// A box inside a cell: `dx` from the cell's left edge, on the cell's `fila`-th line of boxes.
struct Opzione {
    const char* campo;
    const char* atteso;
    const char* didascalia;
    float dx;
    int fila = 0;
};

// One cell of a row. A width of 0 takes what the row has left.
struct Cella {
    float larghezza;
    const char* campo;
    const char* etichetta;
    std::initializer_list<Opzione> opzioni = {};
};

// Lays the frames out one under the other, each a stack of rows of cells.
class Costruttore {
public:
    Costruttore(Layout& layout, float y) : m_layout(layout), m_y(y) {}

    void cornice(const char* titolo)
    {
        m_inizio = m_y;
        m_titolo = QString::fromUtf8(titolo);
        m_y += kFasciaCornice + kSopraRighe;
    }

    void riga(float altezza, std::initializer_list<Cella> celle)
    {
        const float fine = kSinistra + kLarghezza - kRientro;
        float x = kSinistra + kRientro;
        for (const Cella& c : celle) {
            const float w = c.larghezza > 0 ? c.larghezza : fine - x;
            Campo campo;
            campo.campo = c.campo;
            campo.etichetta = QString::fromUtf8(c.etichetta);
            campo.cella = {x, m_y, w, altezza};
            campo.corpoMassimo = kCorpoValore;
            campo.linea = c.campo != nullptr;
            m_layout.campi.push_back(campo);
            for (const Opzione& o : c.opzioni) {
                const float alto = m_y + 0.4F + static_cast<float>(o.fila) * kTraCaselle;
                m_layout.caselle.push_back({o.campo,
                                            QString::fromUtf8(o.atteso),
                                            QString::fromUtf8(o.didascalia),
                                            {x + o.dx, alto, kLatoCasella, kLatoCasella}});
            }
            x += w + kTraCelle;
        }
        m_y += altezza + kTraRighe;
    }

    void chiudi()
    {
        const float fine = m_y - kTraRighe + kSottoRighe;
        const Rettangolo area{kSinistra, m_inizio, kLarghezza, fine - m_inizio};
        m_layout.cornici.push_back({m_titolo, area});
        m_layout.fasce.push_back({{kSinistra, m_inizio, kLarghezza, kFasciaCornice}, kColoreFascia});
        m_layout.testi.push_back(
            {m_titolo, kSinistra + kRientro, m_inizio + 0.39F, kCorpoDidascalia + 0.5F, true, 0, kColoreTitolo});
        m_y = fine + kTraCornici;
    }

    float y() const { return m_y; }

private:
    Layout& m_layout;
    float m_y;
    float m_inizio = 0;
    QString m_titolo;
};

Layout costruisci()
{
    Layout l;
    const float destra = kSinistra + kLarghezza;

    // Heading: the register's name, what the page is, a rule, then the subject in a band of its own.
    l.testi.push_back(
        {QStringLiteral("Registro Elettronico degli Indirizzi"), kSinistra, 1.65F, 17, true, 0, kColoreTitolo});
    l.testi.push_back({QStringLiteral("SCHEDA DEL SOGGETTO OBBLIGATO"), destra, 1.22F, 8.5F, true, 2, kColoreTitolo});
    l.testi.push_back(
        {QStringLiteral("Comunicazione all'Agenzia delle Entrate"), destra, 1.63F, 8, false, 2, kColoreEtichetta});
    l.fasce.push_back({{kSinistra, 1.95F, kLarghezza, 0.06F}, kColoreTitolo});
    l.fasce.push_back({{kSinistra, 2.2F, kLarghezza, 1.1F}, kColoreSfondo});
    Campo soggetto;
    soggetto.campo = "SOGGETTO";
    soggetto.etichetta = QStringLiteral("Soggetto obbligato");
    soggetto.cella = {kSinistra + kRientro, 2.22F, kLarghezza - 2 * kRientro, 1.06F};
    soggetto.corpoMassimo = 13;
    soggetto.grassetto = true;
    soggetto.linea = false;
    l.campi.push_back(soggetto);

    Costruttore c(l, 3.6F);
    c.cornice("SOGGETTO OBBLIGATO");
    c.riga(kRigaCampi,
           {{4.6F, "OCOD", "Codice Fiscale"},
            {2.2F, "ONPROG", "Progressivo"},
            {0,
             nullptr,
             "Natura del soggetto",
             {{"OSTP", "1", "PNF - Persona non fisica", 0.15F}, {"OSTP", "0", "PF - Persona fisica", 5.2F}}}});
    c.riga(kRigaCampi, {{0, "OTIPOSOGD", "Tipo Soggetto"}});
    c.riga(kRigaCampi,
           {{10.5F, "orag", "Ragione Sociale"}, {5.4F, "OSCOM", "Sede legale (Località)"}, {0, "OSPRO", "Prov."}});
    c.riga(kRigaCampi, {{4.6F, "OCOG", "Cognome"},
                        {3.9F, "ONOME", "Nome"},
                        {1.1F, "OSEX", "Sesso"},
                        {2.3F, "ONDT", "Data di nascita"},
                        {3.7F, "oncom", "Comune di nascita"},
                        {0, "onpro", "Prov."}});
    c.riga(kRigaCaselle,
           {{0,
             nullptr,
             "Tipo Comunicazione",
             {{"OTIPOCOM1", "1", "PRIMO INVIO o VARIAZIONE", 0.15F}, {"OTIPOCOM2", "1", "CANCELLAZIONE", 6.25F}}}});
    c.riga(kRigaCaselle, {{0,
                           nullptr,
                           "Motivi della comunicazione (sezioni REI)",
                           {{"OMOC1", "1", "ANAGRAFE RAPPORTI", 0.15F},
                            {"OMOC2", "1", "MONITORAGGIO FISCALE", 6.25F},
                            {"OMOC3", "1", "FACTA/CRS", 12.35F}}}});
    c.chiudi();

    c.cornice("RESPONSABILE");
    c.riga(kRigaCampi, {{4.6F, "ORECF", "Codice Fiscale"}, {6.4F, "ORECOG", "Cognome"}, {0, "ORENOME", "Nome"}});
    c.riga(kRigaCampi, {{1.1F, "ORESEX", "Sesso"},
                        {2.3F, "OREDTNAS", "Data di nascita"},
                        {5.9F, "oRENCOM", "Comune di nascita"},
                        {1.4F, "oREnpro", "Prov."},
                        {0, "ORETEL", "Telefono"}});
    c.riga(kRigaCampi, {{0, "OREEMAIL", "E-mail personale"}});
    c.chiudi();

    c.cornice("POSTA ELETTRONICA CERTIFICATA (PEC)");
    c.riga(kRigaCampi, {{7.7F, "OPEEMAIL", "Indirizzo PEC"},
                        {4.5F, "OPEGESTORE", "Gestore PEC"},
                        {2.45F, "OPEDATAI", "Data DECORRENZA"},
                        {0, "OPEDATAF", "Data CESSAZIONE"}});
    c.chiudi();

    c.cornice("CANCELLAZIONE");
    c.riga(1.65F, {{3.0F, "odtcanc", "Data CANCELLAZIONE"},
                   {0,
                    nullptr,
                    "Motivo della cancellazione",
                    {{"OMC1", "1", "Cessazione SENZA confluenza in altro soggetto", 0.15F, 0},
                     {"OMC2", "1", "Cessazione CON confluenza in altro soggetto", 0.15F, 1},
                     {"OMC3", "1", "Perdita requisiti soggettivi", 0.15F, 2}}}});
    c.riga(kRigaCampi, {{4.6F, "OSICF", "C.F. Società incorporante"},
                        {6.4F, "OSIRAG", "Indirizzo contabilità ordinaria"},
                        {4.8F, "OSICOM", "Comune sede legale"},
                        {0, "OSIPRO", "Prov."}});
    c.chiudi();

    c.cornice("IMPEGNO ALLA TRASMISSIONE TELEMATICA");
    c.riga(kRigaCampi, {{12.8F,
                         nullptr,
                         "Comunicazione predisposta",
                         {{"oitt1", "1", "Dal CONTRIBUENTE", 0.15F}, {"oitt2", "1", "Da chi EFFETTUA L'INVIO", 5.2F}}},
                        {0, "OITTCF", "Codice Fiscale Intermediario"}});
    c.chiudi();

    const float firma = c.y() + 1.3F;
    l.firme.push_back({QStringLiteral("Luogo e data"), kSinistra, firma, 6.5F});
    l.firme.push_back({QStringLiteral("Timbro e firma"), destra - 7.5F, firma, 7.5F});

    // Footer.
    l.fasce.push_back({{kSinistra, 28.05F, kLarghezza, 0.02F}, kColoreBordo});
    l.didascaliaData = {QStringLiteral("Data Stampa:"), kSinistra, 28.5F, kCorpoPiede, false, 0, kColoreEtichetta};
    l.testi.push_back({QStringLiteral("Ondavia - Registro Elettronico Indirizzi"), kSinistra + kLarghezza / 2, 28.5F,
                       kCorpoPiede, false, 4, kColoreEtichetta});
    l.testi.push_back({QStringLiteral("Pagina 1 di 1"), destra, 28.5F, kCorpoPiede, false, 2, kColoreEtichetta});
    return l;
}

} // namespace

const Layout& layout()
{
    static const Layout layout = costruisci();
    return layout;
}

float baseEtichetta(const Campo& campo)
{
    return campo.cella.y + 0.27F;
}

float lineaCampo(const Campo& campo)
{
    return campo.cella.basso() - 0.06F;
}

Rettangolo areaValore(const Campo& campo)
{
    const float sopra = campo.cella.y + 0.33F;
    const float sotto = campo.linea ? lineaCampo(campo) - 0.04F : campo.cella.basso();
    return {campo.cella.x + 0.06F, sopra, campo.cella.w - 0.12F, sotto - sopra};
}

} // namespace ondavia::scheda
