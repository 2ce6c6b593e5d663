// The walk: its starting register, the choice of each step from the seed, replaying and shortening a walk.

#include "Giro.h"

#include "app/CodiceFiscale.h"
#include "app/Dichiarazioni.h"
#include "db/Recordset.h"
#include "register/CreaRegistro.h"
#include "register/F1OP.h"
#include "register/GrigliaSoggetti.h"
#include "shell/F0.h"
#include "shell/F0INI.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace ondavia::test {

namespace {

using Tipo = Passo::Tipo;

QString conControllo(const char* codice)
{
    const QString senza = QLatin1String(codice);
    return senza + QChar(ControllaCF(senza + QLatin1Char('?')));
}

// Fiscal codes of people born in Rome and in Milan.
const QString& cfMario()
{
    static const QString cf = conControllo("RSSMRA80A01H501");
    return cf;
}
const QString& cfAnna()
{
    static const QString cf = conControllo("RSSNNA62C45H501");
    return cf;
}
const QString& cfLuca()
{
    static const QString cf = conControllo("BNCLCU75M15F205");
    return cf;
}

using Tabella = std::map<QString, QStringList>;

Tabella tabella(std::initializer_list<std::pair<const char*, std::initializer_list<const char*>>> righe)
{
    Tabella t;
    for (const auto& [campi, valori] : righe) {
        for (const QString& campo : QString::fromLatin1(campi).split(QLatin1Char(' '))) {
            for (const char* v : valori) {
                t[campo] << QString::fromUtf8(v);
            }
        }
    }
    return t;
}

// What the operator types into each box: mostly what a save takes, sometimes what it refuses.
const QStringList& valori(const QString& campo)
{
    static const Tabella t = [] {
        Tabella v = tabella({
            {"topiva", {"12345678901", "99999999999", "11111111111", "01234567897", "10000000001", "123", ""}},
            {"vONPROG", {"001", "003", "010", "999", "5"}},
            {"torag", {"ALFA SPA", "BETA SRL", "GAMMA SNC", "omega spa", ""}},
            {"vOSCOM vONCOM vRENCOM vSICOM", {"ROMA", "Napoli", "Bari", "MILANO", "mil", "TORINO", "Nap", "XYZ", ""}},
            {"vOSPRO vONPRO vRENPRO vSIPRO", {"RM", "NA", "mi", ""}},
            {"vOCOG", {"ROSSI", "BIANCHI", "verdi", ""}},
            {"vONOME", {"ANNA", "LUCA", ""}},
            {"vOSEX vRESEX", {"F", "M", ""}},
            {"vONDT", {"05/03/1962", "15/08/1975", "31/02/1990", ""}},
            {"vRECF", {"RSSMRA80A01H50", ""}},
            {"vRECOG", {"ROSSI", "BIANCHI", ""}},
            {"vRENOME", {"MARIO", "LUCA", ""}},
            {"vREDTNAS", {"01/01/1980", "15/08/1975", "32/01/1980", ""}},
            {"vREEMAIL", {"MARIO@ALFA.IT", "luca@beta.it", ""}},
            {"vRETEL", {"06123456", "02 998877", ""}},
            {"vPEEMAIL", {"ALFA@PEC.IT", "nuova@pec.it", ""}},
            {"vPEDATAI", {"01/02/2020", "15/06/2019", "31/02/2020", ""}},
            {"vPEDATAF", {"", "31/12/2030", "99/99/2030"}},
            {"vPEGESTORE", {"ARUBA", "POSTE", ""}},
            {"vDTCANC", {"31/12/2021", "01/13/2021", ""}},
            {"vSICF vITTCF", {"", "12345678901", "ABC"}},
            {"vSIRAG", {"VIA ROMA 1", ""}},
        });
        v[QStringLiteral("topiva")] << cfAnna();
        v[QStringLiteral("vRECF")] << cfMario() << cfLuca();
        return v;
    }();
    static const QStringList altro = {QStringLiteral("PROVA"), QString()};
    const auto trovati = t.find(campo);
    return trovati == t.end() ? altro : trovati->second;
}

// The values a save takes, for a form filled in one go.
const QStringList& validi(const QString& campo)
{
    static const Tabella t = [] {
        Tabella v = tabella({
            {"topiva", {"01234567897", "10000000001", "12345678901", "11111111111"}},
            {"torag", {"GAMMA SNC", "OMEGA SPA", "ALFA SPA"}},
            {"vOCOG", {"BIANCHI", "VERDI"}},
            {"vONOME", {"LUCA", "ANNA"}},
            {"vOSEX", {"M", "F"}},
            {"vONDT", {"15/08/1975", "05/03/1962"}},
            {"vRECOG", {"ROSSI", "BIANCHI"}},
            {"vRENOME", {"MARIO", "LUCA"}},
            {"vRESEX", {"M"}},
            {"vREDTNAS", {"01/01/1980", "15/08/1975"}},
            {"vREEMAIL", {"MARIO@ALFA.IT"}},
            {"vRETEL", {"06123456"}},
            {"vPEEMAIL", {"ALFA@PEC.IT", "NUOVA@PEC.IT"}},
            {"vPEDATAI", {"01/02/2020", "15/06/2019"}},
            {"vPEGESTORE", {"ARUBA", "POSTE"}},
            {"vDTCANC", {"31/12/2021"}},
            {"vOSCOM vONCOM vRENCOM", {"ROMA", "MILANO", "NAPOLI"}},
            {"vOSPRO vONPRO vRENPRO", {"RM", "MI", "NA"}},
        });
        v[QStringLiteral("topiva")] << cfAnna();
        v[QStringLiteral("vRECF")] << cfMario() << cfLuca();
        return v;
    }();
    static const QStringList altro = {QStringLiteral("PROVA")};
    const auto trovati = t.find(campo);
    return trovati == t.end() ? altro : trovati->second;
}

// The keys the operator moves in the list with; the letters look a subject up by its name.
constexpr std::pair<int, int> kTastiElenco[] = {
    {Qt::Key_Down, Passo::Nessuno},   {Qt::Key_Up, Passo::Nessuno}, {Qt::Key_PageDown, Passo::Nessuno},
    {Qt::Key_PageUp, Passo::Nessuno}, {Qt::Key_Home, Passo::Ctrl},  {Qt::Key_End, Passo::Ctrl},
    {Qt::Key_Down, Passo::Ctrl},      {Qt::Key_Z, Passo::Nessuno},  {Qt::Key_R, Passo::Nessuno},
    {Qt::Key_Return, Passo::Nessuno}, {Qt::Key_Space, Passo::Ctrl}, {Qt::Key_Delete, Passo::Nessuno},
};
// The keys sent to the control with the focus, wherever it is.
constexpr std::pair<int, int> kTasti[] = {
    {Qt::Key_Tab, Passo::Nessuno},    {Qt::Key_Tab, Passo::Nessuno},    {Qt::Key_Backtab, Passo::Maiusc},
    {Qt::Key_Return, Passo::Nessuno}, {Qt::Key_Escape, Passo::Nessuno}, {Qt::Key_Space, Passo::Nessuno},
    {Qt::Key_Down, Passo::Nessuno},   {Qt::Key_Up, Passo::Nessuno},     {Qt::Key_Tab, Passo::Ctrl},
    {Qt::Key_PageDown, Passo::Ctrl},
};

const char* const kScelte[] = {"o1", "o2", "TC1", "TC2", "mc1", "mc2", "mc3", "vITT1", "vITT2", "MOC1", "MOC2", "MOC3"};

QString tasto(int codice, int modificatori)
{
    const Qt::KeyboardModifiers m = modificatori == Passo::Ctrl     ? Qt::ControlModifier
                                    : modificatori == Passo::Maiusc ? Qt::ShiftModifier
                                                                    : Qt::NoModifier;
    return QKeySequence(QKeyCombination(m, static_cast<Qt::Key>(codice))).toString();
}

QString risposta(MsgResult r)
{
    switch (r) {
    case MsgResult::Yes:
        return QStringLiteral("Sì");
    case MsgResult::No:
        return QStringLiteral("No");
    case MsgResult::Cancel:
        return QStringLiteral("Annulla");
    default:
        return QStringLiteral("OK");
    }
}

// Watches the windows that open: the splash form is the program's; the date picker the operator closes at once;
// any other window (the backup form, say) the walk cannot answer, and says so. It also tells of a press on the
// list, once the box it leaves has run its checks and before the list sees it.
class Sentinella : public QObject {
public:
    std::function<void(const QString&)> avvisa = [](const QString&) {};
    std::function<void()> premuto;
    QPointer<QWidget> ammessa;
    QPointer<QWidget> elenco;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override
    {
        if (evento->type() == QEvent::MouseButtonPress && oggetto == elenco && premuto) {
            premuto();
        }
        auto* dialogo = evento->type() == QEvent::Show ? qobject_cast<QDialog*>(oggetto) : nullptr;
        if (dialogo && dialogo != ammessa && dialogo->isWindow()) {
            if (dialogo->objectName() != QLatin1String("FCale")) {
                avvisa(QStringLiteral("[finestra] si è aperta la finestra \"%1\"").arg(dialogo->windowTitle()));
            }
            QMetaObject::invokeMethod(dialogo, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }
};

Sentinella& sentinella()
{
    static Sentinella* s = [] {
        auto* nuova = new Sentinella;
        qApp->installEventFilter(nuova);
        return nuova;
    }();
    return *s;
}

} // namespace

QString Passo::descrizione() const
{
    QString d;
    switch (tipo) {
    case Tipo::ClicRiga:
    case Tipo::ClicRigaCtrl:
        d = QStringLiteral("%1clic sulla riga %2 dell'elenco, colonna %3")
                .arg(tipo == Tipo::ClicRigaCtrl ? QStringLiteral("Ctrl+") : QString())
                .arg(a + 1)
                .arg(b + 1);
        break;
    case Tipo::DoppioClicRiga:
        d = QStringLiteral("doppio clic sulla riga %1 dell'elenco").arg(a + 1);
        break;
    case Tipo::Trascina:
        d = QStringLiteral("trascina nell'elenco dalla riga %1 alla riga %2").arg(a + 1).arg(b + 1);
        break;
    case Tipo::ClicVuoto:
        d = QStringLiteral("clic nell'elenco sotto l'ultima riga");
        break;
    case Tipo::TastoElenco:
        d = QStringLiteral("%1 nell'elenco").arg(tasto(a, b));
        break;
    case Tipo::Tasto:
        d = tasto(a, b);
        break;
    case Tipo::Digita: {
        static const char* const modi[] = {"Ctrl+A, digita %1",
                                           "Ctrl+A, Ctrl+V di %1",
                                           "Fine, digita %1",
                                           "Fine, Maiusc+Inizio, Backspace, digita %1",
                                           "Ctrl+A, Ctrl+X",
                                           "Fine, %2 volte Backspace",
                                           "Fine, %2 volte Maiusc+Sinistra, digita %1"};
        d = QStringLiteral("clic in %1, ").arg(campo) +
            QString::fromUtf8(modi[a]).arg(QLatin1Char('"') + testo + QLatin1Char('"')).arg(b);
        break;
    }
    case Tipo::TipoSoggetto: {
        static const char* const modi[] = {"freccia giù", "freccia su", "Ctrl+A, digita \"%1\"", "Ctrl+A, Canc"};
        d = QStringLiteral("clic in Tipo Soggetto, ") + QString::fromUtf8(modi[a]).arg(testo);
        break;
    }
    case Tipo::Scelta:
        d = QStringLiteral("clic su %1").arg(campo);
        break;
    case Tipo::Scheda:
        d = QStringLiteral("clic sulla scheda %1").arg(a);
        break;
    case Tipo::Calendario:
        d = QStringLiteral("clic sul calendario %1, chiuso senza scegliere").arg(a);
        break;
    case Tipo::Ridimensiona:
        d = QStringLiteral("finestra principale a %1×%2").arg(a).arg(b);
        break;
    case Tipo::Registra:
        d = QStringLiteral("clic su REGISTRA");
        break;
    case Tipo::RegistraBarra:
        d = QStringLiteral("Conferma (barra)");
        break;
    case Tipo::CreaComunicazione:
        d = QStringLiteral("clic su CREA COMUNICAZIONE, dialogo annullato");
        break;
    case Tipo::CreaComunicazioneBarra:
        d = QStringLiteral("Crea Comunicazione (barra), dialogo annullato");
        break;
    case Tipo::Aggiungi:
        d = QStringLiteral("Aggiungi (barra)");
        break;
    case Tipo::Copia:
        d = QStringLiteral("Copia (barra)");
        break;
    case Tipo::Elimina:
        d = QStringLiteral("Elimina (barra)");
        break;
    case Tipo::Stampa:
        d = QStringLiteral("Stampa (barra), dialogo annullato");
        break;
    case Tipo::Compila:
        d = QStringLiteral("compila: ") + testi.join(QStringLiteral(", "));
        break;
    }
    if (!risposte.empty()) {
        QStringList r;
        for (MsgResult m : risposte) {
            r << risposta(m);
        }
        d += QStringLiteral("  [risposte: %1]").arg(r.join(QStringLiteral(", ")));
    }
    return d;
}

Giro::Giro(ScriptedPlatform& scripted) : m_scripted(scripted)
{
    sentinella().avvisa = [this](const QString& testo) { guasto(testo); };
    sentinella().premuto = [this] { prima(); };
    m_scripted.onMessage = [this](const MessageRequest& richiesta) -> std::optional<MsgResult> {
        // A real message box runs the event loop while it waits: what the form left queued runs now.
        QApplication::processEvents();
        return rispondi(richiesta);
    };
}

Giro::~Giro()
{
    chiudi();
    m_scripted.onMessage = nullptr;
    sentinella().avvisa = [](const QString&) {};
    sentinella().premuto = nullptr;
}

QString Giro::regolaDi(const QString& guasto)
{
    return guasto.section(QLatin1Char(']'), 0, 0) + QLatin1Char(']');
}

QString Giro::elenco(const std::vector<Passo>& passi)
{
    QString testo;
    for (size_t i = 0; i < passi.size(); ++i) {
        testo += QStringLiteral("%1. %2\n").arg(i + 1, 4).arg(passi[i].descrizione());
    }
    return testo;
}

std::uint64_t Giro::caso()
{
    // splitmix64: the same numbers from the same seed with every compiler and library.
    std::uint64_t z = (m_stato += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

void Giro::guasto(const QString& testo)
{
    if (m_guasto.isEmpty()) {
        m_guasto = testo;
    }
}

void Giro::seminaArchivio()
{
    ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE")));
    using Campi = std::map<QString, QString>;
    Campi azienda;
    for (const auto& [campo, valore] :
         std::initializer_list<std::pair<const char*, const char*>>{{"OSTP", "1"},
                                                                    {"OSCOM", "ROMA"},
                                                                    {"OSPRO", "RM"},
                                                                    {"OCOG", ""},
                                                                    {"ONOME", ""},
                                                                    {"OSEX", ""},
                                                                    {"oncom", ""},
                                                                    {"onpro", ""},
                                                                    {"ORECOG", "ROSSI"},
                                                                    {"ORENOME", "MARIO"},
                                                                    {"ORESEX", "M"},
                                                                    {"OREDTNAS", "01/01/1980"},
                                                                    {"oRENCOM", "ROMA"},
                                                                    {"oREnpro", "RM"},
                                                                    {"OREEMAIL", "MARIO@ALFA.IT"},
                                                                    {"ORETEL", "06123456"},
                                                                    {"OPEEMAIL", "ALFA@PEC.IT"},
                                                                    {"OPEDATAI", "01/02/2020"},
                                                                    {"OPEDATAF", ""},
                                                                    {"OPEGESTORE", "ARUBA"},
                                                                    {"odtcanc", ""},
                                                                    {"OMC1", "0"},
                                                                    {"OMC2", "0"},
                                                                    {"OMC3", "0"},
                                                                    {"OMOC1", "1"},
                                                                    {"OMOC2", "0"},
                                                                    {"OMOC3", "0"},
                                                                    {"OSICF", ""},
                                                                    {"OSIRAG", ""},
                                                                    {"OSICOM", ""},
                                                                    {"OSIPRO", ""},
                                                                    {"OITTCF", ""},
                                                                    {"oitt1", "0"},
                                                                    {"oitt2", "0"},
                                                                    {"OTIPOCOM1", "-1"},
                                                                    {"OTIPOCOM2", "0"},
                                                                    {"OTIPOSOGD", "13=PROVA"},
                                                                    {"oTIPOSOG", "13"}}) {
        azienda[QLatin1String(campo)] = QLatin1String(valore);
    }
    azienda[QStringLiteral("ORECF")] = cfMario();
    const auto riga = [&azienda](const char* codice, const char* progressivo, const char* nome,
                                 std::initializer_list<std::pair<const char*, const char*>> altri) {
        Campi r = azienda;
        r[QStringLiteral("OCOD")] = QLatin1String(codice);
        r[QStringLiteral("ONPROG")] = QLatin1String(progressivo);
        r[QStringLiteral("orag")] = r[QStringLiteral("ODES")] = QLatin1String(nome);
        for (const auto& [campo, valore] : altri) {
            r[QLatin1String(campo)] = QLatin1String(valore);
        }
        return r;
    };
    // Two progressives of one code; a cancelled subject; a code at its last progressive but one, so that a copy
    // takes 999 and the next is refused; a natural person.
    std::vector<Campi> righe = {
        riga("12345678901", "001", "ALFA SPA", {}),
        riga("12345678901", "002", "ALFA SPA", {{"OPEEMAIL", "ALFA2@PEC.IT"}, {"OMOC2", "1"}}),
        riga("99999999999", "001", "ZETA SPA",
             {{"OTIPOCOM1", "0"},
              {"OTIPOCOM2", "-1"},
              {"odtcanc", "31/12/2021"},
              {"OMC2", "-1"},
              {"OSICF", "12345678901"},
              {"OTIPOSOGD", "14=PROVA"},
              {"oTIPOSOG", "14"}}),
        riga("11111111111", "998", "BETA SRL", {}),
        riga("", "001", "ROSSI ANNA",
             {{"OSTP", "0"},
              {"orag", ""},
              {"OSCOM", ""},
              {"OSPRO", ""},
              {"OCOG", "ROSSI"},
              {"ONOME", "ANNA"},
              {"OSEX", "F"},
              {"ONDT", "05/03/1962"},
              {"oncom", "ROMA"},
              {"onpro", "RM"}}),
    };
    righe.back()[QStringLiteral("OCOD")] = cfAnna();
    for (const Campi& campi : righe) {
        db::Recordset rs;
        ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM COPE WHERE 1=0"), Conn)) << rs.lastError().toStdString();
        ASSERT_TRUE(rs.AddNew());
        for (const auto& [campo, valore] : campi) {
            ASSERT_TRUE(rs.Fields(campo).setValue(valore)) << campo.toStdString();
        }
        ASSERT_TRUE(rs.Update()) << rs.lastError().toStdString();
    }
    // The walk's record starts from what the table holds, read as the walk reads it.
    m_modello = leggiArchivio();
}

void Giro::apri()
{
    chiudi();
    m_guasto.clear();
    m_scripted.messages.clear();
    m_scripted.answers.clear();
    m_scripted.saveRequests.clear();
    m_scripted.saveAnswers.clear();
    QGuiApplication::clipboard()->clear();
    seminaArchivio();
    m_finestra = std::make_unique<F0>(creaRegistro);
    m_finestra->impostaUscita([] {});
    sentinella().ammessa = m_finestra->benvenuto();
    m_finestra->show();
    QApplication::processEvents();
    // In through the splash form, as the operator comes in.
    auto* entra = m_finestra->benvenuto()->findChild<QPushButton*>();
    ASSERT_NE(entra, nullptr);
    entra->click();
    m_registro = dynamic_cast<F1OP*>(m_finestra->registro());
    ASSERT_NE(m_registro, nullptr);
    sentinella().elenco = m_registro->IGOpe->viewport();
    m_finestra->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_finestra.get()));
    QObject::connect(m_registro->modelloGriglia(), &QAbstractItemModel::modelAboutToBeReset, m_registro,
                     [this] { listaRiempita(); });
    QApplication::processEvents();
}

// The window goes as it goes when the program ends: with the focus wherever the walk left it.
void Giro::chiudi()
{
    m_registro = nullptr;
    m_finestra.reset();
    QApplication::processEvents();
}

QString Giro::cammina(std::uint64_t seme, int quanti)
{
    m_stato = seme;
    m_ripetizione = false;
    m_passi.clear();
    apri();
    if (::testing::Test::HasFatalFailure()) {
        return QStringLiteral("[avvio] il registro non si apre");
    }
    verifica();
    for (int i = 0; i < quanti && m_guasto.isEmpty(); ++i) {
        m_passi.push_back(genera());
        m_corrente = &m_passi.back();
        esegui(*m_corrente);
        verifica();
    }
    m_corrente = nullptr;
    const QString esito = m_guasto;
    chiudi();
    return esito;
}

QString Giro::ripeti(const std::vector<Passo>& passi)
{
    m_ripetizione = true;
    m_passi.clear();
    apri();
    verifica();
    for (size_t i = 0; i < passi.size() && m_guasto.isEmpty(); ++i) {
        // The answers recorded are given again; the steps keep those actually given.
        m_passi.push_back(passi[i]);
        m_corrente = &m_passi.back();
        m_registrate = std::move(m_corrente->risposte);
        m_corrente->risposte.clear();
        m_risposta = 0;
        esegui(*m_corrente);
        verifica();
    }
    m_corrente = nullptr;
    m_ripetizione = false;
    const QString esito = m_guasto;
    chiudi();
    return esito;
}

std::vector<Passo> Giro::riduci(std::vector<Passo> passi, const QString& regola, int prove)
{
    // Runs of steps are taken away while the same rule still breaks, ever shorter runs.
    size_t pezzo = std::max<size_t>(1, passi.size() / 2);
    while (prove > 0) {
        bool tolto = false;
        for (size_t inizio = 0; inizio < passi.size() && prove > 0;) {
            std::vector<Passo> prova = passi;
            prova.erase(prova.begin() + static_cast<std::ptrdiff_t>(inizio),
                        prova.begin() + static_cast<std::ptrdiff_t>(std::min(passi.size(), inizio + pezzo)));
            --prove;
            if (regolaDi(ripeti(prova)) == regola) {
                passi = std::move(prova);
                tolto = true;
            } else {
                inizio += pezzo;
            }
        }
        if (pezzo == 1 && !tolto) {
            break;
        }
        if (!tolto) {
            pezzo = std::max<size_t>(1, pezzo / 2);
        }
    }
    return passi;
}

Passo Giro::genera()
{
    const int righe = m_registro->IGOpe->model()->rowCount();
    // A table grown long is cut back, an emptied one filled again.
    const std::pair<Tipo, int> pesi[] = {
        {Tipo::ClicRiga, 10},
        {Tipo::ClicRigaCtrl, 1},
        {Tipo::DoppioClicRiga, 1},
        {Tipo::Trascina, 1},
        {Tipo::ClicVuoto, 1},
        {Tipo::TastoElenco, 5},
        {Tipo::Tasto, 10},
        {Tipo::Digita, 28},
        {Tipo::TipoSoggetto, 3},
        {Tipo::Scelta, 8},
        {Tipo::Scheda, 8},
        {Tipo::Calendario, 1},
        {Tipo::Ridimensiona, 1},
        {Tipo::Registra, 7},
        {Tipo::RegistraBarra, 2},
        {Tipo::CreaComunicazione, 1},
        {Tipo::CreaComunicazioneBarra, 1},
        {Tipo::Aggiungi, 3},
        {Tipo::Copia, 3},
        {Tipo::Elimina, righe > 12 ? 8 : 2},
        {Tipo::Stampa, 3},
        {Tipo::Compila, righe < 3 ? 6 : 3},
    };
    int totale = 0;
    for (const auto& p : pesi) {
        totale += p.second;
    }
    Passo passo;
    for (int n = caso(totale); const auto& [tipo, peso] : pesi) {
        if (n < peso) {
            passo.tipo = tipo;
            break;
        }
        n -= peso;
    }
    const int riga = caso(std::max(1, righe));
    switch (passo.tipo) {
    case Tipo::ClicRiga:
    case Tipo::ClicRigaCtrl:
    case Tipo::DoppioClicRiga:
    case Tipo::Trascina:
        passo.a = riga;
        passo.b = passo.tipo == Tipo::Trascina ? caso(std::max(1, righe)) : caso(4);
        break;
    case Tipo::TastoElenco:
        std::tie(passo.a, passo.b) = unoDi(kTastiElenco);
        break;
    case Tipo::Tasto:
        std::tie(passo.a, passo.b) = unoDi(kTasti);
        break;
    case Tipo::Digita: {
        QStringList caselle;
        for (const QLineEdit* c : m_registro->findChildren<QLineEdit*>()) {
            const QString nome = c->objectName();
            if ((nome.startsWith(QLatin1Char('v')) || nome.startsWith(QLatin1Char('t'))) && c->isVisible() &&
                c->isEnabled() && !c->isReadOnly() && (nome != QLatin1String("vONPROG") || nuovoSoggetto())) {
                caselle << nome;
            }
        }
        if (caselle.isEmpty()) {
            passo.tipo = Tipo::Tasto;
            passo.a = Qt::Key_Tab;
            break;
        }
        caselle.sort();
        passo.campo = caselle[caso(static_cast<int>(caselle.size()))];
        passo.a = caso(Passo::NumModi);
        const QStringList& possibili = valori(passo.campo);
        passo.testo = possibili[caso(static_cast<int>(possibili.size()))];
        passo.b = 1 + caso(4);
        break;
    }
    case Tipo::TipoSoggetto:
        passo.a = caso(4);
        passo.testo = caso(2) == 0 ? QStringLiteral("13=PROVA") : QStringLiteral("14");
        break;
    case Tipo::Scelta:
        passo.campo = QLatin1String(unoDi(kScelte));
        break;
    case Tipo::Scheda:
        passo.a = caso(5);
        break;
    case Tipo::Calendario:
        passo.a = caso(5);
        break;
    case Tipo::Ridimensiona:
        passo.a = 700 + 50 * caso(14);
        passo.b = 500 + 50 * caso(10);
        break;
    case Tipo::Compila:
        return compilazione();
    default:
        break;
    }
    return passo;
}

// Every field a save asks for, on every tab, with values it takes.
Passo Giro::compilazione()
{
    Passo passo;
    passo.tipo = Tipo::Compila;
    QStringList& t = passo.testi;
    const auto valore = [this, &t](const char* campo) {
        const QStringList& v = validi(QLatin1String(campo));
        t << QLatin1String(campo) + QLatin1Char('=') + v[caso(static_cast<int>(v.size()))];
    };
    t << QStringLiteral("#0") << QStringLiteral("CBrap=0");
    if (nuovoSoggetto()) {
        valore("topiva");
    }
    static const QStringList persona = {QStringLiteral("vOCOG"), QStringLiteral("vONOME"), QStringLiteral("vOSEX"),
                                        QStringLiteral("vONDT"), QStringLiteral("vONCOM"), QStringLiteral("vONPRO")};
    static const QStringList azienda = {QStringLiteral("torag"), QStringLiteral("vOSCOM"), QStringLiteral("vOSPRO")};
    for (const QString& c : m_registro->o2->isChecked() ? persona : azienda) {
        valore(c.toLatin1().constData());
    }
    t << QStringLiteral("MOC1=1") << QStringLiteral("#1");
    for (const char* c :
         {"vRECF", "vRECOG", "vRENOME", "vRESEX", "vREDTNAS", "vRENCOM", "vRENPRO", "vREEMAIL", "vRETEL"}) {
        valore(c);
    }
    t << QStringLiteral("#2");
    for (const char* c : {"vPEEMAIL", "vPEDATAI", "vPEGESTORE"}) {
        valore(c);
    }
    t << QStringLiteral("#3");
    valore("vDTCANC");
    t << QStringLiteral("#4") << QStringLiteral("vITTCF=") << QStringLiteral("#0");
    return passo;
}

} // namespace ondavia::test
