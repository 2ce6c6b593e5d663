// The card's template page: drawn from the card's layout and written with the program's own PDF writer.
#include "ModelloStampa.h"

#include "DocumentoProprio.h"
#include "SchedaSoggetto.h"
#include "TestoPdf.h"
#include "app/Launch.h"
#include "core/Folian.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <map>
#include <optional>
#include <string>

namespace ondavia {

using scheda::Rettangolo;
using stampa::ansi;
using stampa::carattere;
using stampa::daPunti;

namespace {

// Raised whenever the layout changes, so that a template written by an earlier version is written anew.
constexpr int kVersioneLayout = 1;
constexpr char kMarcaModello[] = "ONDAVIA-SCHEDA-REI-";

// Path-painting codes of the writer's text boxes: stroke the frame, or fill it without a stroke.
constexpr int kTraccia = 0;
constexpr int kRiempi = 5;

void rettangolo(folian::Folian& pdf, const Rettangolo& r, int pittura)
{
    pdf.DrawTextBox(r.x, r.y, r.w, r.h, {}, 0, 0, pittura);
}

void linea(folian::Folian& pdf, float x, float y, float w)
{
    rettangolo(pdf, {x, y, w, 0}, kTraccia);
}

void testo(folian::Folian& pdf, const scheda::Testo& t)
{
    carattere(pdf, t.corpo, t.grassetto);
    pdf.SetColorText(t.colore != nullptr ? t.colore : scheda::kColoreValore);
    pdf.DrawText(t.x, t.y, ansi(t.testo), t.allineamento);
}

// The layout version a template of ours was written for; nothing for another page, or a file that cannot be
// read (the print-out then says what is wrong with it).
std::optional<int> versioneDi(const QString& percorso)
{
    folian::Folian lettore;
    std::map<std::string, std::string> voci;
    if (lettore.GetInfo(QFile::encodeName(percorso).toStdString(), &voci) < 1) {
        return std::nullopt;
    }
    const std::string parole = voci["Keywords"];
    if (parole.rfind(kMarcaModello, 0) != 0) {
        return std::nullopt;
    }
    bool ok = false;
    const int versione = QByteArray::fromStdString(parole.substr(std::strlen(kMarcaModello))).toInt(&ok);
    return ok ? versione : 0;
}

} // namespace

QString percorsoModello()
{
    return QDir(cartellaProgramma()).filePath(QStringLiteral("Stampe/basec1.pdf"));
}

QString firmaModello()
{
    return QString::fromLatin1(kMarcaModello) + QString::number(kVersioneLayout);
}

void disegnaModello(folian::Folian& pdf)
{
    const scheda::Layout& layout = scheda::layout();

    for (const scheda::Fascia& f : layout.fasce) {
        pdf.SetColorFill(f.colore);
        rettangolo(pdf, f.area, kRiempi);
    }
    pdf.SetLineWidth(daPunti(0.7F));
    pdf.SetColorLine(scheda::kColoreBordo);
    for (const scheda::Cornice& c : layout.cornici) {
        rettangolo(pdf, c.area, kTraccia);
    }
    for (const scheda::Testo& t : layout.testi) {
        testo(pdf, t);
    }

    pdf.SetLineWidth(daPunti(0.4F));
    for (const scheda::Campo& c : layout.campi) {
        carattere(pdf, scheda::kCorpoEtichetta, false);
        pdf.SetColorText(scheda::kColoreEtichetta);
        pdf.DrawText(c.cella.x + 0.06F, baseEtichetta(c), ansi(c.etichetta));
        if (c.linea) {
            linea(pdf, c.cella.x, lineaCampo(c), c.cella.w);
        }
    }

    pdf.SetLineWidth(daPunti(0.6F));
    pdf.SetColorLine(scheda::kColoreTitolo);
    for (const scheda::Casella& c : layout.caselle) {
        rettangolo(pdf, c.quadrato, kTraccia);
        carattere(pdf, scheda::kCorpoDidascalia, false);
        pdf.SetColorText(scheda::kColoreValore);
        pdf.DrawText(c.quadrato.destra() + 0.14F, c.quadrato.basso() - 0.05F, ansi(c.didascalia));
    }

    pdf.SetLineWidth(daPunti(0.5F));
    pdf.SetColorLine(scheda::kColoreBordo);
    for (const scheda::Firma& f : layout.firme) {
        linea(pdf, f.x, f.y, f.w);
        carattere(pdf, scheda::kCorpoEtichetta, false);
        pdf.SetColorText(scheda::kColoreEtichetta);
        pdf.DrawText(f.x, f.y + 0.32F, ansi(f.didascalia));
    }
    testo(pdf, layout.didascaliaData);
}

bool scriviModello(const QString& percorso, QString* errore)
{
    const DocumentoProprio modello{QStringLiteral("il modello di stampa"), QStringLiteral("dei modelli di stampa"),
                                   "Registro Elettronico degli Indirizzi - modello della scheda",
                                   "Pagina di base della scheda del soggetto obbligato", ansi(firmaModello())};
    return scriviDocumentoProprio(
        percorso, modello,
        [](folian::Folian& pdf) {
            pdf.BeginPage();
            disegnaModello(pdf);
        },
        errore);
}

bool preparaModello(QString* errore)
{
    const QString percorso = percorsoModello();
    if (QFileInfo::exists(percorso)) {
        const std::optional<int> versione = versioneDi(percorso);
        if (!versione || *versione == kVersioneLayout) {
            return true;
        }
    }
    return scriviModello(percorso, errore);
}

} // namespace ondavia
