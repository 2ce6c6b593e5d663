// The walk's own record of the register and the checks after each step. The record follows what the operator
// did and what the form said: a save that succeeded, a copy and a delete the operator confirmed; nothing in it is
// asked of the form's own helpers.

#include "Giro.h"

#include "app/Dichiarazioni.h"
#include "db/Recordset.h"
#include "register/F1OP.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>

#include <algorithm>

namespace ondavia::test {

namespace {

// The focus colour of the text boxes, light yellow (&HC0FFFF, blue-green-red).
const QColor kColoreFuoco(0xFF, 0xFF, 0xC0);

// The columns of a subject's row that the register form writes, in lower case; Ocf is never written.
const char* const kColonne[] = {
    "ocod",     "otiposogd", "otiposog", "ostp",     "orag",   "oscom",     "ospro",     "odes",     "ocog",
    "onome",    "osex",      "ondt",     "oncom",    "onpro",  "orecf",     "orecog",    "orenome",  "oresex",
    "oredtnas", "orencom",   "orenpro",  "oreemail", "oretel", "opeemail",  "opedatai",  "opedataf", "opegestore",
    "odtcanc",  "omc1",      "omc2",     "omc3",     "omoc1",  "omoc2",     "omoc3",     "osicf",    "osirag",
    "osicom",   "osipro",    "oittcf",   "oitt1",    "oitt2",  "otipocom1", "otipocom2", "onprog",
};

using Coppia = std::pair<const char*, const char*>;
// Boxes whose text goes, as it stands, into their column.
const Coppia kCaselle[] = {
    {"vRECF", "orecf"},           {"vRECOG", "orecog"},     {"vRENOME", "orenome"},   {"vRESEX", "oresex"},
    {"vREDTNAS", "oredtnas"},     {"vRENCOM", "orencom"},   {"vRENPRO", "orenpro"},   {"vREEMAIL", "oreemail"},
    {"vRETEL", "oretel"},         {"vPEEMAIL", "opeemail"}, {"vPEDATAI", "opedatai"}, {"vPEDATAF", "opedataf"},
    {"vPEGESTORE", "opegestore"}, {"vDTCANC", "odtcanc"},   {"vSICF", "osicf"},       {"vSIRAG", "osirag"},
    {"vSICOM", "osicom"},         {"vSIPRO", "osipro"},     {"vITTCF", "oittcf"},
};
// Those of a company, and of a natural person: each kind stores empty texts in the other's columns.
const Coppia kCaselleAzienda[] = {{"torag", "orag"}, {"vOSCOM", "oscom"}, {"vOSPRO", "ospro"}};
const Coppia kCasellePersona[] = {{"vOCOG", "ocog"}, {"vONOME", "onome"}, {"vOSEX", "osex"},
                                  {"vONDT", "ondt"}, {"vONCOM", "oncom"}, {"vONPRO", "onpro"}};
const Coppia kOpzioni[] = {{"mc1", "omc1"},    {"mc2", "omc2"},      {"mc3", "omc3"},     {"vITT1", "oitt1"},
                           {"vITT2", "oitt2"}, {"TC1", "otipocom1"}, {"TC2", "otipocom2"}};
const Coppia kSpunte[] = {{"MOC1", "omoc1"}, {"MOC2", "omoc2"}, {"MOC3", "omoc3"}};

bool scelta(const QString& colonna)
{
    return std::any_of(std::begin(kOpzioni), std::end(kOpzioni),
                       [&colonna](const Coppia& o) { return colonna == QLatin1String(o.second); });
}

// A stored value as the walk compares it: Null as empty, options as chosen or not, check boxes as ticked or not.
QString canonico(const QString& colonna, const QString& valore)
{
    const QString v = valore.trimmed();
    if (scelta(colonna)) {
        const bool scelto = v == QLatin1String("-1") || v == QLatin1String("1") ||
                            v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
        return scelto ? QStringLiteral("1") : QStringLiteral("0");
    }
    if (colonna.startsWith(QLatin1String("omoc"))) {
        return v == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
    }
    return valore;
}

// The letters of a name, as the default name of a print-out carries them.
QString lettere(const QString& nome)
{
    QString l;
    for (const QChar c : nome.toUpper()) {
        if (c >= u'A' && c <= u'Z') {
            l.append(c);
        }
    }
    return l;
}

} // namespace

// ---- Questions ----

MsgResult Giro::scegli(MsgResult predefinita, std::initializer_list<MsgResult> possibili,
                       std::initializer_list<int> pesi)
{
    MsgResult r = predefinita;
    if (m_ripetizione) {
        if (m_risposta < m_registrate.size() &&
            std::find(possibili.begin(), possibili.end(), m_registrate[m_risposta]) != possibili.end()) {
            r = m_registrate[m_risposta];
        }
        ++m_risposta;
    } else {
        int totale = 0;
        for (int p : pesi) {
            totale += p;
        }
        int n = caso(totale);
        auto peso = pesi.begin();
        for (MsgResult possibile : possibili) {
            if (n < *peso) {
                r = possibile;
                break;
            }
            n -= *peso++;
        }
    }
    if (m_corrente) {
        m_corrente->risposte.push_back(r);
    }
    return r;
}

std::optional<MsgResult> Giro::rispondi(const MessageRequest& richiesta)
{
    const QString& testo = richiesta.text;
    const auto ultimo = [this](const QString& codice) {
        int massimo = 0;
        for (const auto& [chiave, riga] : m_modello) {
            bool numero = false;
            const int n = chiave.second.toInt(&numero);
            if (chiave.first == codice && numero) {
                massimo = std::max(massimo, n);
            }
        }
        return massimo;
    };

    if (testo.contains(QStringLiteral("è stato modificato. Registrare le modifiche?"))) {
        m_domandaModifiche = true;
        const MsgResult r =
            scegli(richiesta.defaultAnswer(), {MsgResult::Yes, MsgResult::No, MsgResult::Cancel}, {2, 2, 1});
        m_rispostaModifiche = r;
        m_salvataggio = m_salvataggio || r == MsgResult::Yes;
        return r;
    }
    if (testo.contains(QStringLiteral("esiste già. Sostituirlo?"))) {
        const MsgResult r = scegli(richiesta.defaultAnswer(), {MsgResult::Yes, MsgResult::No}, {1, 1});
        m_salvataggio = m_salvataggio && r == MsgResult::Yes;
        return r;
    }
    const bool elimina = testo.startsWith(QStringLiteral("Confermi l'Eliminazione di"));
    if (elimina || testo.startsWith(QStringLiteral("Confermi la COPIA"))) {
        // The question names the subject the operator sees: by its stored name, or by the name typed over it.
        const QString regola = elimina ? QStringLiteral("[elimina] ") : QStringLiteral("[copia] ");
        const Chiave chiave = chiaveForm();
        const auto riga = m_modello.find(chiave);
        if (riga == m_modello.end()) {
            guasto(regola + QStringLiteral("la domanda è sul soggetto %1/%2 del form, che il registro non ha")
                                .arg(chiave.first, chiave.second));
        } else if ((!testo.contains(riga->second.at(QStringLiteral("odes"))) && !testo.contains(nomeForm())) ||
                   (elimina && !testo.endsWith(QStringLiteral(" progressivo ") + chiave.second + QLatin1Char('?')))) {
            guasto(regola + QStringLiteral("la domanda \"%1\" non nomina il soggetto del form, %2 progressivo %3")
                                .arg(testo, riga->second.at(QStringLiteral("odes")), chiave.second));
        }
        const MsgResult r = scegli(richiesta.defaultAnswer(), {MsgResult::Yes, MsgResult::No}, {elimina ? 1 : 3, 1});
        if (r == MsgResult::Yes && riga != m_modello.end()) {
            if (elimina) {
                m_modello.erase(riga);
            } else {
                m_copiaDa = chiave;
            }
        }
        return r;
    }
    static const QRegularExpression copiati(QStringLiteral("sono stati copiati  nel progressivo (\\S+)$"));
    if (const auto trovato = copiati.match(testo); trovato.hasMatch()) {
        const QString nuovo = trovato.captured(1);
        if (!m_copiaDa) {
            guasto(QStringLiteral("[copia] copia nel progressivo %1, che l'operatore non ha confermato").arg(nuovo));
            return MsgResult::Ok;
        }
        // The copy takes the code's first free progressive: the highest plus one.
        const QString libero = QStringLiteral("%1").arg(ultimo(m_copiaDa->first) + 1, 3, 10, QLatin1Char('0'));
        if (nuovo != libero) {
            guasto(QStringLiteral("[copia] la copia di %1/%2 va nel progressivo %3, ma il primo libero è %4")
                       .arg(m_copiaDa->first, m_copiaDa->second, nuovo, libero));
        }
        Riga copia = m_modello[*m_copiaDa];
        copia[QStringLiteral("onprog")] = nuovo;
        m_copiato = Chiave{m_copiaDa->first, nuovo};
        m_modello[*m_copiato] = copia;
        m_copiaDa.reset();
        return MsgResult::Ok;
    }
    if (testo.contains(QStringLiteral("ha già il progressivo 999"))) {
        if (m_copiaDa && ultimo(m_copiaDa->first) != 999) {
            guasto(QStringLiteral("[copia] la copia di %1/%2 è rifiutata oltre il 999, ma il codice arriva a %3")
                       .arg(m_copiaDa->first, m_copiaDa->second)
                       .arg(ultimo(m_copiaDa->first)));
        }
        m_copiaDa.reset();
        return MsgResult::Ok;
    }
    if (richiesta.title == QLatin1String("Errore")) {
        // A field refused: no save goes on from here.
        m_salvataggio = false;
        return MsgResult::Ok;
    }
    if (testo.startsWith(QStringLiteral("Nessun soggetto registrato è selezionato")) ||
        testo.startsWith(QStringLiteral("Nessun soggetto selezionato da stampare"))) {
        if (!nuovoSoggetto()) {
            guasto(QStringLiteral("[elenco/nessuno] \"%1\" con il soggetto registrato %2/%3 sul form")
                       .arg(testo.section(QLatin1Char(':'), 0, 0), chiaveForm().first, chiaveForm().second));
        }
        return MsgResult::Ok;
    }
    if (testo.startsWith(QStringLiteral("Il documento di aiuto non è presente"))) {
        return MsgResult::Ok; // the help button of the subject types: the agency's document is not shipped
    }
    if (!m_messaggiLiberi) {
        guasto(QStringLiteral("[messaggio] messaggio inatteso: \"%1\" %2").arg(richiesta.title, testo));
    }
    return richiesta.defaultAnswer();
}

// ---- The record ----

void Giro::listaRiempita()
{
    m_riempita = true;
    // The first refill of the list after a save is its end: the form still holds what was written.
    if (!m_salvataggio) {
        return;
    }
    m_salvataggio = false;
    Riga riga = rigaDalForm();
    const Chiave chiave{riga[QStringLiteral("ocod")], riga[QStringLiteral("onprog")]};
    const auto prima = m_modello.find(chiave);
    if (riga[QStringLiteral("otiposogd")].isEmpty() && prima != m_modello.end()) {
        // An empty subject type is not written: the row keeps the one it had.
        riga[QStringLiteral("otiposogd")] = prima->second[QStringLiteral("otiposogd")];
        riga[QStringLiteral("otiposog")] = prima->second[QStringLiteral("otiposog")];
    }
    m_modello[chiave] = riga;
    m_salvato = chiave;
}

Giro::Riga Giro::rigaDalForm() const
{
    const F1OP& f = *m_registro;
    const auto testo = [&f](const char* nome) { return f.findChild<QLineEdit*>(QLatin1String(nome))->text(); };
    Riga r;
    r[QStringLiteral("ocod")] = f.topiva->text();
    const QString tipo = f.CBrap->currentText();
    r[QStringLiteral("otiposogd")] = tipo;
    r[QStringLiteral("otiposog")] = tipo.trimmed().left(2);
    const bool persona = f.o2->isChecked();
    r[QStringLiteral("ostp")] = persona ? QStringLiteral("0") : QStringLiteral("1");
    for (const auto& [casella, colonna] : kCaselleAzienda) {
        r[QLatin1String(colonna)] = persona ? QString() : testo(casella);
    }
    for (const auto& [casella, colonna] : kCasellePersona) {
        r[QLatin1String(colonna)] = persona ? testo(casella) : QString();
    }
    r[QStringLiteral("odes")] =
        persona ? (f.vOCOG->text() + QLatin1Char(' ') + f.vONOME->text()).left(70) : f.torag->text();
    for (const auto& [casella, colonna] : kCaselle) {
        r[QLatin1String(colonna)] = testo(casella);
    }
    for (const auto& [nome, colonna] : kOpzioni) {
        r[QLatin1String(colonna)] =
            f.findChild<QRadioButton*>(QLatin1String(nome))->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    }
    for (const auto& [nome, colonna] : kSpunte) {
        r[QLatin1String(colonna)] = f.findChild<QCheckBox*>(QLatin1String(nome))->checkState() == Qt::Checked
                                        ? QStringLiteral("1")
                                        : QStringLiteral("0");
    }
    r[QStringLiteral("onprog")] = f.vONPROG->text();
    return r;
}

QString Giro::nomeForm() const
{
    const F1OP& f = *m_registro;
    const QString nome =
        f.o2->isChecked() ? f.vOCOG->text().trimmed() + QLatin1Char(' ') + f.vONOME->text().trimmed() : f.torag->text();
    return nome.trimmed().toUpper();
}

Giro::Chiave Giro::chiaveForm() const
{
    return {m_registro->topiva->text().trimmed().toUpper(), m_registro->vONPROG->text().trimmed()};
}

bool Giro::nuovoSoggetto() const
{
    // A stored subject keeps its code: its box is locked.
    return m_registro->topiva->isEnabled();
}

QStringList Giro::differenze() const
{
    // Texts as a box left cleans them: blanks around and letter case are no change.
    const auto pulita = [](Riga r) {
        for (auto& [colonna, valore] : r) {
            valore = colonna == QLatin1String("otiposogd") ? valore.trimmed() : valore.trimmed().toUpper();
        }
        if (r[QStringLiteral("ostp")] == QLatin1String("0")) {
            r[QStringLiteral("odes")] =
                (r[QStringLiteral("ocog")] + QLatin1Char(' ') + r[QStringLiteral("onome")]).left(70);
        }
        return r;
    };
    const Riga adesso = pulita(rigaDalForm());
    QStringList diverse;
    if (nuovoSoggetto()) {
        // A new subject holds changes once anything is typed or ticked; its options are as Aggiungi left them.
        for (const auto& [colonna, valore] : adesso) {
            if (scelta(colonna) || colonna == QLatin1String("ostp") || colonna == QLatin1String("otiposog")) {
                continue;
            }
            const QString vuoto = colonna == QLatin1String("onprog")          ? QStringLiteral("001")
                                  : colonna.startsWith(QLatin1String("omoc")) ? QStringLiteral("0")
                                                                              : QString();
            if (valore != vuoto) {
                diverse << QStringLiteral("%1 \"%2\"").arg(colonna, valore);
            }
        }
        return diverse;
    }
    const auto registrata = m_modello.find(chiaveForm());
    if (registrata == m_modello.end()) {
        return {QStringLiteral("non è nel registro")};
    }
    const Riga prima = pulita(registrata->second);
    for (const char* c : kColonne) {
        const QString colonna = QLatin1String(c);
        const QString a = adesso.count(colonna) ? adesso.at(colonna) : QString();
        const QString b = prima.count(colonna) ? canonico(colonna, prima.at(colonna)) : QString();
        if (a != b) {
            diverse << QStringLiteral("%1 \"%2\" invece di \"%3\"").arg(colonna, a, b);
        }
    }
    return diverse;
}

std::map<Giro::Chiave, Giro::Riga> Giro::leggiArchivio()
{
    std::map<Chiave, Riga> archivio;
    db::Recordset rs;
    if (!rs.Open(QStringLiteral("SELECT * FROM COPE"), Conn)) {
        guasto(QStringLiteral("[registro] non si legge: ") + rs.lastError());
        return archivio;
    }
    for (; !rs.Eof(); rs.MoveNext()) {
        Riga r;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const QString colonna = rs.Fields(i).name().toLower();
            if (std::none_of(std::begin(kColonne), std::end(kColonne),
                             [&colonna](const char* c) { return colonna == QLatin1String(c); })) {
                continue;
            }
            const db::Value valore = rs.Fields(i).Value();
            r[colonna] = canonico(colonna, valore.isNull() ? QString() : valore.toText());
        }
        const Chiave chiave{r[QStringLiteral("ocod")], r[QStringLiteral("onprog")]};
        if (archivio.count(chiave) > 0) {
            guasto(QStringLiteral("[registro/doppia] due righe hanno %1/%2").arg(chiave.first, chiave.second));
        }
        archivio[chiave] = r;
    }
    return archivio;
}

// ---- The checks after each step ----

void Giro::verifica()
{
    for (void (Giro::*controllo)() : {&Giro::verificaArchivio, &Giro::verificaElenco, &Giro::verificaFuoco}) {
        if (m_guasto.isEmpty()) {
            (this->*controllo)();
        }
    }
}

// The table holds every row the walk expects, each as it was last saved, and nothing else.
void Giro::verificaArchivio()
{
    const auto archivio = leggiArchivio();
    for (const auto& [chiave, riga] : archivio) {
        const auto attesa = m_modello.find(chiave);
        if (attesa == m_modello.end()) {
            return guasto(
                QStringLiteral("[registro/in più] la riga %1/%2 (%3) non viene da nessun salvataggio né copia")
                    .arg(chiave.first, chiave.second, riga.at(QStringLiteral("odes"))));
        }
        QStringList diverse;
        for (const char* c : kColonne) {
            const QString colonna = QLatin1String(c);
            const QString valore = riga.count(colonna) ? riga.at(colonna) : QString();
            const QString voluto =
                canonico(colonna, attesa->second.count(colonna) ? attesa->second.at(colonna) : QString());
            if (valore != voluto) {
                diverse << QStringLiteral("%1 \"%2\" invece di \"%3\"").arg(colonna, valore, voluto);
            }
        }
        if (!diverse.isEmpty()) {
            return guasto(QStringLiteral("[registro/valori] la riga %1/%2 non è quella salvata per ultima: %3")
                              .arg(chiave.first, chiave.second, diverse.join(QStringLiteral("; "))));
        }
    }
    for (const auto& [chiave, riga] : m_modello) {
        if (archivio.count(chiave) == 0) {
            return guasto(QStringLiteral("[registro/sparita] la riga %1/%2 (%3) è sparita")
                              .arg(chiave.first, chiave.second, riga.at(QStringLiteral("odes"))));
        }
    }
}

// The list shows the register, sorted by name, across its whole width; its current and highlighted row is the
// subject on the form, and none is while the form holds a new subject.
void Giro::verificaElenco()
{
    const QTableView* vista = m_registro->IGOpe;
    const QAbstractItemModel* righe = vista->model();
    const auto cella = [righe](int r, int c) { return righe->index(r, c).data().toString(); };
    const auto chiaveRiga = [&cella](int r) { return Chiave{cella(r, 0), cella(r, 1)}; };
    if (righe->rowCount() != static_cast<int>(m_modello.size())) {
        return guasto(QStringLiteral("[elenco/righe] l'elenco ha %1 righe, il registro %2")
                          .arg(righe->rowCount())
                          .arg(m_modello.size()));
    }
    for (int r = 0; r < righe->rowCount(); ++r) {
        const auto riga = m_modello.find(chiaveRiga(r));
        if (riga == m_modello.end()) {
            return guasto(QStringLiteral("[elenco/righe] la riga %1 dell'elenco mostra %2/%3, che il registro non ha")
                              .arg(r + 1)
                              .arg(cella(r, 0), cella(r, 1)));
        }
        if (cella(r, 2) != riga->second.at(QStringLiteral("odes")) ||
            cella(r, 3) != riga->second.at(QStringLiteral("opeemail"))) {
            return guasto(QStringLiteral("[elenco/righe] la riga %1 dell'elenco mostra \"%2\" \"%3\" per %4/%5")
                              .arg(r + 1)
                              .arg(cella(r, 2), cella(r, 3), cella(r, 0), cella(r, 1)));
        }
        if (r > 0 && cella(r - 1, 2).compare(cella(r, 2), Qt::CaseInsensitive) > 0) {
            return guasto(
                QStringLiteral("[elenco/ordine] \"%1\" è elencato prima di \"%2\"").arg(cella(r - 1, 2), cella(r, 2)));
        }
    }
    if (AnaDimColAuto != QLatin1String("off")) {
        int larghezza = 0;
        for (int c = 0; c < righe->columnCount(); ++c) {
            larghezza += vista->isColumnHidden(c) ? 0 : vista->columnWidth(c);
        }
        if (larghezza != vista->viewport()->width()) {
            return guasto(QStringLiteral("[elenco/colonne] le colonne occupano %1 pixel dei %2 dell'elenco")
                              .arg(larghezza)
                              .arg(vista->viewport()->width()));
        }
    }

    const QModelIndex corrente = vista->currentIndex();
    const QModelIndexList evidenziate = vista->selectionModel()->selectedRows();
    const Chiave form = chiaveForm();
    if (nuovoSoggetto()) {
        if (!evidenziate.isEmpty() || corrente.isValid()) {
            const int r = evidenziate.isEmpty() ? corrente.row() : evidenziate.first().row();
            return guasto(QStringLiteral("[elenco/nuovo] il form mostra un nuovo soggetto, l'elenco la riga %1 (%2/%3)")
                              .arg(r + 1)
                              .arg(cella(r, 0), cella(r, 1)));
        }
        return;
    }
    if (!corrente.isValid() || chiaveRiga(corrente.row()) != form) {
        return guasto(QStringLiteral("[elenco/corrente] il form mostra %1/%2, la riga corrente dell'elenco è %3")
                          .arg(form.first, form.second,
                               corrente.isValid()
                                   ? cella(corrente.row(), 0) + QLatin1Char('/') + cella(corrente.row(), 1)
                                   : QStringLiteral("nessuna")));
    }
    if (evidenziate.size() != 1 || evidenziate.first().row() != corrente.row()) {
        QStringList quali;
        for (const QModelIndex& e : evidenziate) {
            quali << cella(e.row(), 0) + QLatin1Char('/') + cella(e.row(), 1);
        }
        return guasto(QStringLiteral("[elenco/evidenza] il form mostra %1/%2, l'elenco evidenzia %3")
                          .arg(form.first, form.second,
                               quali.isEmpty() ? QStringLiteral("nessuna riga") : quali.join(QStringLiteral(", "))));
    }
}

// Only the control with the focus wears the focus colour, as the form paints it; and the focus is on a control
// the operator can see and use.
void Giro::verificaFuoco()
{
    QWidget* fuoco = QApplication::focusWidget();
    if (fuoco && m_registro->isAncestorOf(fuoco) && (!fuoco->isVisible() || !fuoco->isEnabled())) {
        return guasto(
            QStringLiteral("[fuoco/nascosto] il fuoco è su %1, che non si vede o non si usa").arg(fuoco->objectName()));
    }
    QStringList colorati;
    for (QWidget* w : m_registro->findChildren<QWidget*>()) {
        const QString nome = w->objectName();
        if (nome.isEmpty() || nome.startsWith(QLatin1String("qt_")) || !w->isEnabled() || w == fuoco) {
            continue;
        }
        // The focus of a combo box is in its editor, and the editor shows the combo box's colours.
        if (fuoco && (w->isAncestorOf(fuoco) || fuoco->isAncestorOf(w)) &&
            (qobject_cast<QComboBox*>(w) || qobject_cast<QComboBox*>(fuoco))) {
            continue;
        }
        const QPalette& tavolozza = w->palette();
        bool giallo = false;
        for (const auto gruppo : {QPalette::Active, QPalette::Inactive}) {
            giallo = giallo || tavolozza.color(gruppo, QPalette::Base) == kColoreFuoco ||
                     (w->autoFillBackground() && tavolozza.color(gruppo, w->backgroundRole()) == kColoreFuoco);
        }
        if (giallo) {
            colorati << nome;
        }
    }
    if (!colorati.isEmpty()) {
        guasto(QStringLiteral("[fuoco] %1 ha il colore del fuoco, che è su %2")
                   .arg(colorati.join(QStringLiteral(", ")),
                        fuoco ? fuoco->objectName() : QStringLiteral("nessun controllo")));
    }
}

// The print-out proposed is of the subject on the form, as stored.
void Giro::verificaStampa(const QString& proposta)
{
    const auto riga = m_modello.find(chiaveForm());
    if (riga == m_modello.end()) {
        return guasto(QStringLiteral("[stampa/altro] stampato %1, che il registro non ha").arg(proposta));
    }
    const QString nome = riga->second.at(QStringLiteral("odes"));
    if (!proposta.startsWith(QStringLiteral("OVIA_") + lettere(nome).left(30) + QLatin1Char('_'))) {
        guasto(QStringLiteral("[stampa/altro] la stampa propone %1 per il soggetto %2/%3 (%4)")
                   .arg(proposta, riga->first.first, riga->first.second, nome));
    }
}

} // namespace ondavia::test
