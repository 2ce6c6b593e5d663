#include "Giro.h"

#include "app/CodiceFiscale.h"
#include "app/Dichiarazioni.h"
#include "db/Recordset.h"
#include "register/CreaRegistro.h"
#include "register/F1OP.h"
#include "register/GrigliaSoggetti.h"
#include "shell/F0.h"
#include "shell/F0INI.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include <algorithm>

namespace ondavia::test {

namespace {

using Tipo = Passo::Tipo;

// The focus colour of the text boxes, light yellow (&HC0FFFF, blue-green-red).
const QColor kColoreFuoco(0xFF, 0xFF, 0xC0);

// The columns of a subject's row the register form writes, in lower case; Ocf is never written.
const char* const kColonne[] = {
    "ocod",     "otiposogd", "otiposog", "ostp",     "orag",   "oscom",     "ospro",     "odes",     "ocog",
    "onome",    "osex",      "ondt",     "oncom",    "onpro",  "orecf",     "orecog",    "orenome",  "oresex",
    "oredtnas", "orencom",   "orenpro",  "oreemail", "oretel", "opeemail",  "opedatai",  "opedataf", "opegestore",
    "odtcanc",  "omc1",      "omc2",     "omc3",     "omoc1",  "omoc2",     "omoc3",     "osicf",    "osirag",
    "osicom",   "osipro",    "oittcf",   "oitt1",    "oitt2",  "otipocom1", "otipocom2", "onprog",
};

// Boxes whose text goes, as it stands, into the column of the same name.
const std::pair<const char*, const char*> kCaselleComuni[] = {
    {"vRECF", "orecf"},           {"vRECOG", "orecog"},     {"vRENOME", "orenome"},   {"vRESEX", "oresex"},
    {"vREDTNAS", "oredtnas"},     {"vRENCOM", "orencom"},   {"vRENPRO", "orenpro"},   {"vREEMAIL", "oreemail"},
    {"vRETEL", "oretel"},         {"vPEEMAIL", "opeemail"}, {"vPEDATAI", "opedatai"}, {"vPEDATAF", "opedataf"},
    {"vPEGESTORE", "opegestore"}, {"vDTCANC", "odtcanc"},   {"vSICF", "osicf"},       {"vSIRAG", "osirag"},
    {"vSICOM", "osicom"},         {"vSIPRO", "osipro"},     {"vITTCF", "oittcf"},
};
const std::pair<const char*, const char*> kCaselleAzienda[] = {
    {"torag", "orag"}, {"vOSCOM", "oscom"}, {"vOSPRO", "ospro"}};
const std::pair<const char*, const char*> kCasellePersona[] = {{"vOCOG", "ocog"},   {"vONOME", "onome"},
                                                               {"vOSEX", "osex"},   {"vONDT", "ondt"},
                                                               {"vONCOM", "oncom"}, {"vONPRO", "onpro"}};
const std::pair<const char*, const char*> kOpzioni[] = {{"mc1", "omc1"},     {"mc2", "omc2"},    {"mc3", "omc3"},
                                                        {"vITT1", "oitt1"},  {"vITT2", "oitt2"}, {"TC1", "otipocom1"},
                                                        {"TC2", "otipocom2"}};
const std::pair<const char*, const char*> kSpunte[] = {{"MOC1", "omoc1"}, {"MOC2", "omoc2"}, {"MOC3", "omoc3"}};

const char* const kScelte[] = {"o1", "o2", "TC1", "TC2", "mc1", "mc2", "mc3", "vITT1", "vITT2", "MOC1", "MOC2", "MOC3"};

QString conControllo(const QString& codice)
{
    return codice + QChar(ControllaCF(codice + QLatin1Char('?')));
}

const QString& cfMario()
{
    static const QString cf = conControllo(QStringLiteral("RSSMRA80A01H501"));
    return cf;
}
const QString& cfAnna()
{
    static const QString cf = conControllo(QStringLiteral("RSSNNA62C45H501"));
    return cf;
}
const QString& cfLuca()
{
    static const QString cf = conControllo(QStringLiteral("BNCLCU75M15F205"));
    return cf;
}

// What the operator types into each box: mostly what a save takes, sometimes what it refuses.
QStringList valori(const QString& campo)
{
    static const std::map<QString, QStringList> tabella = [] {
        const QStringList comuni = {QStringLiteral("ROMA"),   QStringLiteral("Napoli"), QStringLiteral("Bari"),
                                    QStringLiteral("MILANO"), QStringLiteral("mil"),    QStringLiteral("TORINO"),
                                    QStringLiteral("Nap"),    QStringLiteral("XYZ"),    QString()};
        const QStringList province = {QStringLiteral("RM"), QStringLiteral("NA"), QStringLiteral("mi"), QString()};
        const QStringList date = {QStringLiteral("01/02/2020"), QStringLiteral("15/06/2019"),
                                  QStringLiteral("31/02/2020"), QString()};
        std::map<QString, QStringList> t;
        t[QStringLiteral("topiva")] = {QStringLiteral("12345678901"), QStringLiteral("99999999999"),
                                       QStringLiteral("11111111111"), QStringLiteral("01234567897"),
                                       QStringLiteral("10000000001"), cfAnna(),
                                       QStringLiteral("123"),         QString()};
        t[QStringLiteral("vONPROG")] = {QStringLiteral("001"), QStringLiteral("003"), QStringLiteral("010"),
                                        QStringLiteral("999"), QStringLiteral("5")};
        t[QStringLiteral("torag")] = {QStringLiteral("ALFA SPA"), QStringLiteral("BETA SRL"),
                                      QStringLiteral("GAMMA SNC"), QStringLiteral("omega spa"), QString()};
        for (const char* c : {"vOSCOM", "vONCOM", "vRENCOM", "vSICOM"}) {
            t[QLatin1String(c)] = comuni;
        }
        for (const char* c : {"vOSPRO", "vONPRO", "vRENPRO", "vSIPRO"}) {
            t[QLatin1String(c)] = province;
        }
        t[QStringLiteral("vOCOG")] = {QStringLiteral("ROSSI"), QStringLiteral("BIANCHI"), QStringLiteral("verdi"),
                                      QString()};
        t[QStringLiteral("vONOME")] = {QStringLiteral("ANNA"), QStringLiteral("LUCA"), QString()};
        t[QStringLiteral("vOSEX")] = {QStringLiteral("F"), QStringLiteral("M"), QString()};
        t[QStringLiteral("vONDT")] = {QStringLiteral("05/03/1962"), QStringLiteral("15/08/1975"),
                                      QStringLiteral("31/02/1990"), QString()};
        t[QStringLiteral("vRECF")] = {cfMario(), cfLuca(), QStringLiteral("RSSMRA80A01H50"), QString()};
        t[QStringLiteral("vRECOG")] = {QStringLiteral("ROSSI"), QStringLiteral("BIANCHI"), QString()};
        t[QStringLiteral("vRENOME")] = {QStringLiteral("MARIO"), QStringLiteral("LUCA"), QString()};
        t[QStringLiteral("vRESEX")] = {QStringLiteral("M"), QStringLiteral("F"), QString()};
        t[QStringLiteral("vREDTNAS")] = {QStringLiteral("01/01/1980"), QStringLiteral("15/08/1975"),
                                         QStringLiteral("32/01/1980"), QString()};
        t[QStringLiteral("vREEMAIL")] = {QStringLiteral("MARIO@ALFA.IT"), QStringLiteral("luca@beta.it"), QString()};
        t[QStringLiteral("vRETEL")] = {QStringLiteral("06123456"), QStringLiteral("02 998877"), QString()};
        t[QStringLiteral("vPEEMAIL")] = {QStringLiteral("ALFA@PEC.IT"), QStringLiteral("nuova@pec.it"), QString()};
        t[QStringLiteral("vPEDATAI")] = date;
        t[QStringLiteral("vPEDATAF")] = {QString(), QStringLiteral("31/12/2030"), QStringLiteral("99/99/2030")};
        t[QStringLiteral("vPEGESTORE")] = {QStringLiteral("ARUBA"), QStringLiteral("POSTE"), QString()};
        t[QStringLiteral("vDTCANC")] = {QStringLiteral("31/12/2021"), QStringLiteral("01/13/2021"), QString()};
        t[QStringLiteral("vSICF")] = {QString(), QStringLiteral("12345678901")};
        t[QStringLiteral("vSIRAG")] = {QStringLiteral("VIA ROMA 1"), QString()};
        t[QStringLiteral("vITTCF")] = {QString(), QStringLiteral("12345678901"), QStringLiteral("ABC")};
        return t;
    }();
    const auto trovati = tabella.find(campo);
    return trovati == tabella.end() ? QStringList{QStringLiteral("PROVA"), QString()} : trovati->second;
}

// The values a save takes, for a form filled in one go.
QStringList validi(const QString& campo)
{
    static const std::map<QString, QStringList> tabella = [] {
        std::map<QString, QStringList> t;
        t[QStringLiteral("topiva")] = {QStringLiteral("01234567897"), QStringLiteral("10000000001"),
                                       QStringLiteral("12345678901"), QStringLiteral("11111111111"), cfAnna()};
        t[QStringLiteral("torag")] = {QStringLiteral("GAMMA SNC"), QStringLiteral("OMEGA SPA"),
                                      QStringLiteral("ALFA SPA")};
        t[QStringLiteral("vOCOG")] = {QStringLiteral("BIANCHI"), QStringLiteral("VERDI")};
        t[QStringLiteral("vONOME")] = {QStringLiteral("LUCA"), QStringLiteral("ANNA")};
        t[QStringLiteral("vOSEX")] = {QStringLiteral("M"), QStringLiteral("F")};
        t[QStringLiteral("vONDT")] = {QStringLiteral("15/08/1975"), QStringLiteral("05/03/1962")};
        t[QStringLiteral("vRECF")] = {cfMario(), cfLuca()};
        t[QStringLiteral("vRECOG")] = {QStringLiteral("ROSSI"), QStringLiteral("BIANCHI")};
        t[QStringLiteral("vRENOME")] = {QStringLiteral("MARIO"), QStringLiteral("LUCA")};
        t[QStringLiteral("vRESEX")] = {QStringLiteral("M")};
        t[QStringLiteral("vREDTNAS")] = {QStringLiteral("01/01/1980"), QStringLiteral("15/08/1975")};
        t[QStringLiteral("vREEMAIL")] = {QStringLiteral("MARIO@ALFA.IT")};
        t[QStringLiteral("vRETEL")] = {QStringLiteral("06123456")};
        t[QStringLiteral("vPEEMAIL")] = {QStringLiteral("ALFA@PEC.IT"), QStringLiteral("NUOVA@PEC.IT")};
        t[QStringLiteral("vPEDATAI")] = {QStringLiteral("01/02/2020"), QStringLiteral("15/06/2019")};
        t[QStringLiteral("vPEGESTORE")] = {QStringLiteral("ARUBA"), QStringLiteral("POSTE")};
        t[QStringLiteral("vDTCANC")] = {QStringLiteral("31/12/2021")};
        for (const char* c : {"vOSCOM", "vONCOM", "vRENCOM"}) {
            t[QLatin1String(c)] = {QStringLiteral("ROMA"), QStringLiteral("MILANO"), QStringLiteral("NAPOLI")};
        }
        for (const char* c : {"vOSPRO", "vONPRO", "vRENPRO"}) {
            t[QLatin1String(c)] = {QStringLiteral("RM"), QStringLiteral("MI"), QStringLiteral("NA")};
        }
        return t;
    }();
    const auto trovati = tabella.find(campo);
    return trovati == tabella.end() ? QStringList{QStringLiteral("PROVA")} : trovati->second;
}

const char* nomeTasto(int tasto)
{
    switch (tasto) {
    case Qt::Key_Down:
        return "Giù";
    case Qt::Key_Up:
        return "Su";
    case Qt::Key_PageDown:
        return "PagGiù";
    case Qt::Key_PageUp:
        return "PagSu";
    case Qt::Key_Home:
        return "Inizio";
    default:
        return "Fine";
    }
}

const int kTastiElenco[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End};

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

// A stored value as the walk compares it: Null as empty, options as chosen or not, check boxes as ticked or not.
QString canonico(const QString& colonna, const QString& valore)
{
    static const QStringList opzioni = {
        QStringLiteral("omc1"),  QStringLiteral("omc2"),      QStringLiteral("omc3"),     QStringLiteral("oitt1"),
        QStringLiteral("oitt2"), QStringLiteral("otipocom1"), QStringLiteral("otipocom2")};
    if (opzioni.contains(colonna)) {
        const QString v = valore.trimmed();
        return v == QLatin1String("-1") || v == QLatin1String("1") ||
                       v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                   ? QStringLiteral("1")
                   : QStringLiteral("0");
    }
    if (colonna.startsWith(QLatin1String("omoc"))) {
        return valore.trimmed() == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
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

// Watches for windows the walk cannot answer (a date picker, the backup form): they are closed and told.
class Sentinella : public QObject {
public:
    std::function<void(const QString&)> avvisa;
    QPointer<QWidget> ammessa;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override
    {
        if (evento->type() == QEvent::Show && oggetto->isWidgetType()) {
            auto* dialogo = qobject_cast<QDialog*>(oggetto);
            if (dialogo && dialogo != ammessa && dialogo->isWindow()) {
                avvisa(QStringLiteral("[finestra] si è aperta la finestra \"%1\"").arg(dialogo->windowTitle()));
                QMetaObject::invokeMethod(dialogo, &QDialog::reject, Qt::QueuedConnection);
            }
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
        d = QStringLiteral("clic sulla riga %1 dell'elenco (colonna %2)").arg(a + 1).arg(b + 1);
        break;
    case Tipo::TastoElenco:
        d = QStringLiteral("tasto %1 nell'elenco").arg(QString::fromUtf8(nomeTasto(a)));
        break;
    case Tipo::ClicVuoto:
        d = QStringLiteral("clic nell'elenco sotto l'ultima riga");
        break;
    case Tipo::Digita: {
        const QString t = QLatin1Char('"') + testo + QLatin1Char('"');
        static const char* const modi[] = {"Ctrl+A, digita %1",
                                           "Ctrl+A, Ctrl+V di %1",
                                           "Fine, digita %1",
                                           "Fine, Maiusc+Inizio, Backspace, digita %1",
                                           "Ctrl+A, Ctrl+X",
                                           "Fine, %2 volte Backspace",
                                           "Fine, %2 volte Maiusc+Sinistra, digita %1"};
        d = QStringLiteral("clic in %1, ").arg(campo) + QString::fromUtf8(modi[a]).arg(t).arg(b);
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
    case Tipo::Tab:
        d = QStringLiteral("Tab");
        break;
    case Tipo::TabIndietro:
        d = QStringLiteral("Maiusc+Tab");
        break;
    case Tipo::Registra:
        d = QStringLiteral("clic su REGISTRA");
        break;
    case Tipo::RegistraBarra:
        d = QStringLiteral("Conferma (barra)");
        break;
    case Tipo::CreaComunicazione:
        d = QStringLiteral("clic su CREA COMUNICAZIONE");
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

// ---- The register the walk starts from ----

void Giro::seminaArchivio()
{
    ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE")));
    const std::map<QString, QString> comune = {
        {"ORECF", cfMario()},
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
        {"oTIPOSOG", "13"},
        {"OCOG", ""},
        {"ONOME", ""},
        {"OSEX", ""},
        {"oncom", ""},
        {"onpro", ""},
    };
    const auto azienda = [&](const char* codice, const char* progressivo, const char* nome) {
        std::map<QString, QString> r = comune;
        r.insert_or_assign(QStringLiteral("OCOD"), QLatin1String(codice));
        r.insert_or_assign(QStringLiteral("ONPROG"), QLatin1String(progressivo));
        r.insert_or_assign(QStringLiteral("OSTP"), QStringLiteral("1"));
        r.insert_or_assign(QStringLiteral("orag"), QLatin1String(nome));
        r.insert_or_assign(QStringLiteral("ODES"), QLatin1String(nome));
        r.insert_or_assign(QStringLiteral("OSCOM"), QStringLiteral("ROMA"));
        r.insert_or_assign(QStringLiteral("OSPRO"), QStringLiteral("RM"));
        return r;
    };
    std::vector<std::map<QString, QString>> righe;
    righe.push_back(azienda("12345678901", "001", "ALFA SPA"));
    righe.push_back(azienda("12345678901", "002", "ALFA SPA"));
    righe.back()[QStringLiteral("OPEEMAIL")] = QStringLiteral("ALFA2@PEC.IT");
    righe.back()[QStringLiteral("OMOC2")] = QStringLiteral("1");
    righe.push_back(azienda("99999999999", "001", "ZETA SPA"));
    for (const auto& [campo, valore] : {std::pair{"OTIPOCOM1", "0"},
                                        {"OTIPOCOM2", "-1"},
                                        {"odtcanc", "31/12/2021"},
                                        {"OMC2", "-1"},
                                        {"OSICF", "12345678901"},
                                        {"OTIPOSOGD", "14=PROVA"},
                                        {"oTIPOSOG", "14"}}) {
        righe.back()[QLatin1String(campo)] = QLatin1String(valore);
    }
    // A code at its last progressive but one: a copy takes 999, the next is refused.
    righe.push_back(azienda("11111111111", "998", "BETA SRL"));
    righe.push_back(azienda("", "001", ""));
    auto& anna = righe.back();
    for (const auto& [campo, valore] : {std::pair{"OCOD", cfAnna()},
                                        {"OSTP", QStringLiteral("0")},
                                        {"orag", QString()},
                                        {"OSCOM", QString()},
                                        {"OSPRO", QString()},
                                        {"ODES", QStringLiteral("ROSSI ANNA")},
                                        {"OCOG", QStringLiteral("ROSSI")},
                                        {"ONOME", QStringLiteral("ANNA")},
                                        {"OSEX", QStringLiteral("F")},
                                        {"ONDT", QStringLiteral("05/03/1962")},
                                        {"oncom", QStringLiteral("ROMA")},
                                        {"onpro", QStringLiteral("RM")}}) {
        anna[QLatin1String(campo)] = valore;
    }

    m_modello.clear();
    for (const auto& campi : righe) {
        db::Recordset rs;
        ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM COPE WHERE 1=0"), Conn)) << rs.lastError().toStdString();
        ASSERT_TRUE(rs.AddNew());
        for (const auto& [campo, valore] : campi) {
            ASSERT_TRUE(rs.Fields(campo).setValue(valore)) << campo.toStdString();
        }
        ASSERT_TRUE(rs.Update()) << rs.lastError().toStdString();
    }
    // The walk's record starts from what the table holds, read back as the walk reads it.
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
    m_finestra->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_finestra.get()));
    QObject::connect(m_registro->modelloGriglia(), &QAbstractItemModel::modelAboutToBeReset, m_registro,
                     [this] { listaRiempita(); });
    QApplication::processEvents();
}

void Giro::chiudi()
{
    m_registro = nullptr;
    m_finestra.reset();
    QApplication::processEvents();
}

// ---- Walking ----

QString Giro::cammina(std::uint64_t seme, int quanti)
{
    m_stato = seme;
    m_ripetizione = false;
    m_passi.clear();
    apri();
    if (!m_guasto.isEmpty() || ::testing::Test::HasFatalFailure()) {
        return m_guasto.isEmpty() ? QStringLiteral("[avvio] il registro non si apre") : m_guasto;
    }
    verifica(Passo{});
    for (int i = 0; i < quanti && m_guasto.isEmpty(); ++i) {
        m_passi.push_back(genera());
        m_corrente = &m_passi.back();
        esegui(*m_corrente);
        verifica(*m_corrente);
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
    verifica(Passo{});
    for (size_t i = 0; i < passi.size() && m_guasto.isEmpty(); ++i) {
        // The answers recorded are given again; the steps keep those actually given.
        m_passi.push_back(passi[i]);
        m_corrente = &m_passi.back();
        m_registrate = std::move(m_corrente->risposte);
        m_corrente->risposte.clear();
        m_risposta = 0;
        esegui(*m_corrente);
        verifica(*m_corrente);
    }
    m_corrente = nullptr;
    m_ripetizione = false;
    const QString esito = m_guasto;
    chiudi();
    return esito;
}

std::vector<Passo> Giro::riduci(std::vector<Passo> passi, const QString& regola, int prove)
{
    // Whole runs of steps are taken away while the same rule still breaks, then ever shorter runs.
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
    struct Peso {
        Tipo tipo;
        int peso;
    };
    const int righe = m_registro->IGOpe->model()->rowCount();
    const Peso pesi[] = {
        {Tipo::ClicRiga, 10},
        {Tipo::TastoElenco, 5},
        {Tipo::ClicVuoto, 1},
        {Tipo::Digita, 28},
        {Tipo::TipoSoggetto, 3},
        {Tipo::Scelta, 8},
        {Tipo::Scheda, 8},
        {Tipo::Tab, 5},
        {Tipo::TabIndietro, 3},
        {Tipo::Registra, 7},
        {Tipo::RegistraBarra, 2},
        {Tipo::CreaComunicazione, 1},
        {Tipo::Aggiungi, 3},
        {Tipo::Copia, 3},
        {Tipo::Elimina, righe > 12 ? 8 : 2},
        {Tipo::Stampa, 3},
        {Tipo::Compila, righe < 3 ? 6 : 3},
    };
    int totale = 0;
    for (const Peso& p : pesi) {
        totale += p.peso;
    }
    int n = caso(totale);
    Passo passo;
    for (const Peso& p : pesi) {
        if (n < p.peso) {
            passo.tipo = p.tipo;
            break;
        }
        n -= p.peso;
    }

    switch (passo.tipo) {
    case Tipo::ClicRiga:
        passo.a = caso(std::max(1, righe));
        passo.b = caso(4);
        break;
    case Tipo::TastoElenco:
        passo.a = kTastiElenco[caso(static_cast<int>(std::size(kTastiElenco)))];
        break;
    case Tipo::Digita: {
        QList<QLineEdit*> caselle;
        for (QLineEdit* c : m_registro->findChildren<QLineEdit*>()) {
            const QString nome = c->objectName();
            if ((nome.startsWith(QLatin1Char('v')) || nome.startsWith(QLatin1Char('t'))) && c->isVisible() &&
                c->isEnabled() && !c->isReadOnly() && (nome != QLatin1String("vONPROG") || nuovoSoggetto())) {
                caselle << c;
            }
        }
        if (caselle.isEmpty()) {
            passo.tipo = Tipo::Tab;
            break;
        }
        std::sort(caselle.begin(), caselle.end(),
                  [](const QLineEdit* x, const QLineEdit* y) { return x->objectName() < y->objectName(); });
        passo.campo = caselle[caso(static_cast<int>(caselle.size()))]->objectName();
        passo.a = caso(Passo::NumModi);
        const QStringList possibili = valori(passo.campo);
        passo.testo = possibili[caso(static_cast<int>(possibili.size()))];
        passo.b = 1 + caso(4);
        break;
    }
    case Tipo::TipoSoggetto:
        passo.a = caso(4);
        passo.testo = caso(2) == 0 ? QStringLiteral("13=PROVA") : QStringLiteral("14");
        break;
    case Tipo::Scelta:
        passo.campo = QLatin1String(kScelte[caso(static_cast<int>(std::size(kScelte)))]);
        break;
    case Tipo::Scheda:
        passo.a = caso(5);
        break;
    case Tipo::Compila: {
        const auto valore = [this](const QString& campo) {
            const QStringList v = validi(campo);
            return campo + QLatin1Char('=') + v[caso(static_cast<int>(v.size()))];
        };
        QStringList& t = passo.testi;
        t << QStringLiteral("#0") << QStringLiteral("CBrap=") + QString::number(caso(2));
        if (nuovoSoggetto()) {
            t << valore(QStringLiteral("topiva"));
        }
        if (m_registro->o2->isChecked()) {
            for (const char* c : {"vOCOG", "vONOME", "vOSEX", "vONDT", "vONCOM", "vONPRO"}) {
                t << valore(QLatin1String(c));
            }
        } else {
            for (const char* c : {"torag", "vOSCOM", "vOSPRO"}) {
                t << valore(QLatin1String(c));
            }
        }
        t << QStringLiteral("MOC1=1") << QStringLiteral("#1");
        for (const char* c :
             {"vRECF", "vRECOG", "vRENOME", "vRESEX", "vREDTNAS", "vRENCOM", "vRENPRO", "vREEMAIL", "vRETEL"}) {
            t << valore(QLatin1String(c));
        }
        t << QStringLiteral("#2");
        for (const char* c : {"vPEEMAIL", "vPEDATAI", "vPEGESTORE"}) {
            t << valore(QLatin1String(c));
        }
        t << QStringLiteral("#3") << valore(QStringLiteral("vDTCANC")) << QStringLiteral("#4")
          << QStringLiteral("vITTCF=") << QStringLiteral("#0");
        break;
    }
    default:
        break;
    }
    return passo;
}

// ---- Doing a step ----

bool Giro::clicca(QWidget* controllo)
{
    // The operator scrolls the form until the control is in view.
    if (auto* scorrimento = m_registro->findChild<QScrollArea*>(QStringLiteral("scorrimento"))) {
        scorrimento->ensureWidgetVisible(controllo);
    }
    QTest::mouseClick(controllo, Qt::LeftButton);
    return QApplication::focusWidget() == controllo;
}

void Giro::comando(int id)
{
    for (QAction* azione : m_finestra->barraBase()->actions()) {
        if (azione->data().toInt() == id) {
            azione->trigger();
            return;
        }
    }
    guasto(QStringLiteral("[avvio] la barra non ha il comando %1").arg(id));
}

void Giro::esegui(Passo& passo)
{
    m_domandaModifiche = false;
    m_salvataggio = false;
    m_copiaDa.reset();
    const size_t messaggiPrima = m_scripted.messages.size();
    const size_t stampePrima = m_scripted.saveRequests.size();
    const QPointer<QWidget> fuocoPrima = QApplication::focusWidget();
    const bool modificatoPrima = modificato();
    const bool nuovoPrima = nuovoSoggetto();
    const Chiave chiavePrima = chiaveForm();
    QTableView* vista = m_registro->IGOpe;
    QAbstractItemModel* righe = vista->model();
    auto* scorrimento = m_registro->findChild<QScrollArea*>(QStringLiteral("scorrimento"));

    switch (passo.tipo) {
    case Tipo::ClicRiga: {
        if (righe->rowCount() == 0) {
            break;
        }
        const QModelIndex cella = righe->index(passo.a % righe->rowCount(), passo.b % righe->columnCount());
        scorrimento->ensureWidgetVisible(vista);
        vista->scrollTo(cella);
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, vista->visualRect(cella).center());
        break;
    }
    case Tipo::TastoElenco:
        if (QApplication::focusWidget() != vista) {
            // Into the list by a click on its current row, which chooses nothing new.
            const QModelIndex corrente = vista->currentIndex();
            if (!corrente.isValid()) {
                break;
            }
            scorrimento->ensureWidgetVisible(vista);
            vista->scrollTo(corrente);
            QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, vista->visualRect(corrente).center());
        }
        if (QApplication::focusWidget() == vista) {
            QTest::keyClick(vista, static_cast<Qt::Key>(passo.a));
        }
        break;
    case Tipo::ClicVuoto: {
        const int n = righe->rowCount();
        const int y = n > 0 ? vista->rowViewportPosition(n - 1) + vista->rowHeight(n - 1) + 4 : 4;
        if (y < vista->viewport()->height()) {
            scorrimento->ensureWidgetVisible(vista);
            QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, QPoint(10, y));
        }
        break;
    }
    case Tipo::Digita:
        digita(passo);
        break;
    case Tipo::TipoSoggetto:
        tipoSoggetto(passo);
        break;
    case Tipo::Scelta: {
        auto* scelta = m_registro->findChild<QAbstractButton*>(passo.campo);
        if (scelta && scelta->isVisible() && scelta->isEnabled()) {
            scorrimento->ensureWidgetVisible(scelta);
            // On the round or square mark, which a click always reaches.
            QTest::mouseClick(scelta, Qt::LeftButton, {}, QPoint(6, scelta->height() / 2));
        }
        break;
    }
    case Tipo::Scheda: {
        QTabBar* barra = m_registro->SSTab1->tabBar();
        scorrimento->ensureWidgetVisible(barra);
        QTest::mouseClick(barra, Qt::LeftButton, {}, barra->tabRect(passo.a).center());
        break;
    }
    case Tipo::Tab:
    case Tipo::TabIndietro: {
        QWidget* destinatario = fuocoPrima ? fuocoPrima.data() : m_registro;
        if (passo.tipo == Tipo::Tab) {
            QTest::keyClick(destinatario, Qt::Key_Tab);
        } else {
            QTest::keyClick(destinatario, Qt::Key_Backtab, Qt::ShiftModifier);
        }
        break;
    }
    case Tipo::Registra:
    case Tipo::CreaComunicazione: {
        QPushButton* pulsante = passo.tipo == Tipo::Registra ? m_registro->bregistra[m_registro->SSTab1->currentIndex()]
                                                             : m_registro->CREACOM;
        if (!pulsante->isVisible()) {
            break;
        }
        scorrimento->ensureWidgetVisible(pulsante);
        // Pressing the button leaves the box being typed in, and runs its checks, before the save.
        QTest::mousePress(pulsante, Qt::LeftButton);
        salvataggioIniziato();
        QTest::mouseRelease(pulsante, Qt::LeftButton);
        break;
    }
    case Tipo::RegistraBarra:
        salvataggioIniziato();
        comando(ComandoRegistra);
        break;
    case Tipo::Aggiungi:
        comando(ComandoAggiungi);
        break;
    case Tipo::Copia:
        comando(ComandoCopia);
        break;
    case Tipo::Elimina:
        comando(ComandoElimina);
        break;
    case Tipo::Stampa:
        comando(ComandoStampa);
        break;
    case Tipo::Compila:
        compila(passo);
        break;
    }
    // What the step left queued runs, as the event loop would run it.
    QApplication::processEvents();
    m_salvataggio = false;
    if (!m_guasto.isEmpty()) {
        return;
    }

    const bool domande = m_scripted.messages.size() != messaggiPrima;
    if ((passo.tipo == Tipo::Tab || passo.tipo == Tipo::TabIndietro) && !domande && fuocoPrima &&
        QApplication::focusWidget() == fuocoPrima) {
        return guasto(
            QStringLiteral("[tab] %1 tiene il fuoco dopo %2").arg(fuocoPrima->objectName(), passo.descrizione()));
    }
    // Changes on screen are never dropped unasked by an action that puts another subject on it.
    const bool cambiaSoggetto = passo.tipo == Tipo::ClicRiga || passo.tipo == Tipo::TastoElenco ||
                                passo.tipo == Tipo::ClicVuoto || passo.tipo == Tipo::Aggiungi ||
                                passo.tipo == Tipo::Copia ||
                                ((passo.tipo == Tipo::Tab || passo.tipo == Tipo::TabIndietro) && fuocoPrima == vista);
    // A new subject's progressive may be proposed as its code is left: that is still the subject typed.
    const bool altroSoggetto = nuovoSoggetto() != nuovoPrima || chiaveForm().first != chiavePrima.first ||
                               (!nuovoPrima && chiaveForm().second != chiavePrima.second);
    if (cambiaSoggetto && modificatoPrima && !m_domandaModifiche && altroSoggetto) {
        return guasto(QStringLiteral("[modifiche] le modifiche al soggetto %1/%2 sono state perse senza domanda")
                          .arg(chiavePrima.first, chiavePrima.second));
    }
    if (passo.tipo == Tipo::Stampa) {
        const bool stampato = m_scripted.saveRequests.size() != stampePrima;
        if (stampato && nuovoPrima) {
            return guasto(QStringLiteral("[stampa/nuovo] stampa con un nuovo soggetto sul form"));
        }
        if (stampato && modificatoPrima && !m_domandaModifiche) {
            return guasto(
                QStringLiteral("[stampa/modifiche] il soggetto %1/%2 è stampato come registrato, senza una parola "
                               "sulle modifiche che il form mostra")
                    .arg(chiavePrima.first, chiavePrima.second));
        }
        if (!stampato && !nuovoPrima && !modificatoPrima) {
            return guasto(QStringLiteral("[stampa/niente] la stampa del soggetto %1/%2 non parte")
                              .arg(chiavePrima.first, chiavePrima.second));
        }
        if (stampato) {
            const auto riga = m_modello.find(chiaveForm());
            const QString nome = m_scripted.saveRequests.back().fileName;
            if (riga == m_modello.end()) {
                return guasto(QStringLiteral("[stampa/altro] stampato %1, che il registro non ha").arg(nome));
            }
            const QString atteso =
                QStringLiteral("OVIA_") + lettere(riga->second.at(QStringLiteral("odes"))).left(30) + QLatin1Char('_');
            if (!nome.startsWith(atteso)) {
                return guasto(
                    QStringLiteral("[stampa/altro] la stampa propone %1 per il soggetto %2/%3 (%4)")
                        .arg(nome, riga->first.first, riga->first.second, riga->second.at(QStringLiteral("odes"))));
            }
        }
    }
}

void Giro::digita(Passo& passo)
{
    auto* casella = m_registro->findChild<QLineEdit*>(passo.campo);
    if (!casella || !casella->isVisible() || !casella->isEnabled() || casella->isReadOnly() ||
        (passo.campo == QLatin1String("vONPROG") && !nuovoSoggetto())) {
        return;
    }
    digitaIn(casella, static_cast<Passo::Modo>(passo.a), passo.testo, passo.b);
}

void Giro::digitaIn(QLineEdit* casella, Passo::Modo modo, const QString& testo, int quanti)
{
    // A box left with a wrong value takes the focus back: the operator then sees its message, not this box.
    if (!clicca(casella)) {
        return;
    }
    const QString prima = casella->text();
    const int massimo = casella->maxLength();
    const int via = std::min<int>(quanti, static_cast<int>(prima.size()));
    QString atteso;
    switch (modo) {
    case Passo::Sostituisci:
        QTest::keyClick(casella, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(casella, testo);
        atteso = testo;
        break;
    case Passo::Incolla:
        QGuiApplication::clipboard()->setText(testo);
        QTest::keyClick(casella, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(casella, Qt::Key_V, Qt::ControlModifier);
        atteso = testo;
        break;
    case Passo::InFondo:
        QTest::keyClick(casella, Qt::Key_End);
        QTest::keyClicks(casella, testo);
        atteso = prima + testo;
        break;
    case Passo::CancellaEScrivi:
        QTest::keyClick(casella, Qt::Key_End);
        QTest::keyClick(casella, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClick(casella, Qt::Key_Backspace);
        QTest::keyClicks(casella, testo);
        atteso = testo;
        break;
    case Passo::Taglia:
        QTest::keyClick(casella, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(casella, Qt::Key_X, Qt::ControlModifier);
        break;
    case Passo::CancellaCoda:
        QTest::keyClick(casella, Qt::Key_End);
        for (int i = 0; i < quanti; ++i) {
            QTest::keyClick(casella, Qt::Key_Backspace);
        }
        atteso = prima.left(prima.size() - via);
        break;
    case Passo::SostituisciCoda:
        QTest::keyClick(casella, Qt::Key_End);
        for (int i = 0; i < quanti; ++i) {
            QTest::keyClick(casella, Qt::Key_Left, Qt::ShiftModifier);
        }
        QTest::keyClicks(casella, testo);
        atteso = prima.left(prima.size() - via) + testo;
        break;
    case Passo::NumModi:
        break;
    }
    // What was typed is in the box, as typed; a municipality box may propose the rest of a name, selected
    // after the letters typed, so that typing on replaces it.
    QString visto = casella->text();
    if (casella->hasSelectedText() && casella->selectionEnd() == visto.size()) {
        visto = visto.left(casella->selectionStart());
    }
    if (visto.compare(atteso.left(massimo), Qt::CaseInsensitive) != 0) {
        guasto(QStringLiteral("[digitazione] %1 conteneva \"%2\", ora mostra \"%3\" (selezionato \"%4\"), ma "
                              "l'operatore ha scritto \"%5\"")
                   .arg(casella->objectName(), prima, casella->text(), casella->selectedText(), atteso));
    }
}

void Giro::tipoSoggetto(const Passo& passo)
{
    QComboBox* tipo = m_registro->CBrap;
    if (!tipo->isVisible()) {
        return;
    }
    if (auto* scorrimento = m_registro->findChild<QScrollArea*>(QStringLiteral("scorrimento"))) {
        scorrimento->ensureWidgetVisible(tipo);
    }
    QTest::mouseClick(tipo->lineEdit(), Qt::LeftButton);
    QWidget* fuoco = QApplication::focusWidget();
    if (fuoco != tipo && fuoco != tipo->lineEdit()) {
        return;
    }
    switch (passo.a) {
    case 0:
        QTest::keyClick(fuoco, Qt::Key_Down);
        break;
    case 1:
        QTest::keyClick(fuoco, Qt::Key_Up);
        break;
    case 2:
        QTest::keyClick(fuoco, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(fuoco, passo.testo);
        break;
    default:
        QTest::keyClick(fuoco, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(fuoco, Qt::Key_Delete);
        break;
    }
}

void Giro::compila(const Passo& passo)
{
    for (const QString& voce : passo.testi) {
        if (!m_guasto.isEmpty()) {
            return;
        }
        if (voce.startsWith(QLatin1Char('#'))) {
            QTabBar* barra = m_registro->SSTab1->tabBar();
            QTest::mouseClick(barra, Qt::LeftButton, {}, barra->tabRect(voce.mid(1).toInt()).center());
            continue;
        }
        const QString campo = voce.section(QLatin1Char('='), 0, 0);
        const QString valore = voce.section(QLatin1Char('='), 1);
        if (campo == QLatin1String("CBrap")) {
            Passo tipo;
            tipo.a = valore.toInt();
            tipoSoggetto(tipo);
        } else if (campo == QLatin1String("MOC1")) {
            if (!m_registro->MOC1->isChecked() && !m_registro->MOC2->isChecked() && !m_registro->MOC3->isChecked() &&
                m_registro->MOC1->isVisible()) {
                QTest::mouseClick(m_registro->MOC1, Qt::LeftButton, {}, QPoint(6, m_registro->MOC1->height() / 2));
            }
        } else if (auto* casella = m_registro->findChild<QLineEdit*>(campo);
                   casella && casella->isVisible() && casella->isEnabled() && !casella->isReadOnly()) {
            digitaIn(casella, Passo::Sostituisci, valore, 0);
        }
    }
}

// ---- Questions ----

MsgResult Giro::scegli(MsgResult predefinita, std::initializer_list<MsgResult> possibili,
                       std::initializer_list<int> pesi)
{
    if (m_ripetizione) {
        MsgResult r = predefinita;
        if (m_risposta < m_registrate.size() &&
            std::find(possibili.begin(), possibili.end(), m_registrate[m_risposta]) != possibili.end()) {
            r = m_registrate[m_risposta];
        }
        ++m_risposta;
        if (m_corrente) {
            m_corrente->risposte.push_back(r);
        }
        return r;
    }
    int totale = 0;
    for (int p : pesi) {
        totale += p;
    }
    int n = caso(totale);
    MsgResult scelta = *possibili.begin();
    auto peso = pesi.begin();
    for (MsgResult r : possibili) {
        if (n < *peso) {
            scelta = r;
            break;
        }
        n -= *peso++;
    }
    if (m_corrente) {
        m_corrente->risposte.push_back(scelta);
    }
    return scelta;
}

std::optional<MsgResult> Giro::rispondi(const MessageRequest& richiesta)
{
    const QString& testo = richiesta.text;
    const auto massimo = [this](const QString& codice) {
        int m = 0;
        for (const auto& [chiave, riga] : m_modello) {
            bool numero = false;
            const int n = chiave.second.toInt(&numero);
            if (chiave.first == codice && numero) {
                m = std::max(m, n);
            }
        }
        return m;
    };

    if (testo.contains(QStringLiteral("è stato modificato. Registrare le modifiche?"))) {
        m_domandaModifiche = true;
        const MsgResult r =
            scegli(richiesta.defaultAnswer(), {MsgResult::Yes, MsgResult::No, MsgResult::Cancel}, {2, 2, 1});
        if (r == MsgResult::Yes) {
            salvataggioIniziato();
        }
        return r;
    }
    if (testo.contains(QStringLiteral("esiste già. Sostituirlo?"))) {
        const MsgResult r = scegli(richiesta.defaultAnswer(), {MsgResult::Yes, MsgResult::No}, {1, 1});
        if (r == MsgResult::No) {
            m_salvataggio = false;
        }
        return r;
    }
    if (testo.startsWith(QStringLiteral("Confermi l'Eliminazione di")) ||
        testo.startsWith(QStringLiteral("Confermi la COPIA"))) {
        const bool elimina = testo.startsWith(QStringLiteral("Confermi l'Eliminazione"));
        const QString regola = elimina ? QStringLiteral("[elimina] ") : QStringLiteral("[copia] ");
        const Chiave chiave = chiaveForm();
        const auto riga = m_modello.find(chiave);
        if (riga == m_modello.end()) {
            guasto(regola + QStringLiteral("la domanda è sul soggetto %1/%2 del form, che il registro non ha")
                                .arg(chiave.first, chiave.second));
        } else if (!testo.contains(riga->second.at(QStringLiteral("odes"))) ||
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
            guasto(
                QStringLiteral("[copia] copia nel progressivo %1 senza che l'operatore l'abbia confermata").arg(nuovo));
            return MsgResult::Ok;
        }
        const QString libero = QStringLiteral("%1").arg(massimo(m_copiaDa->first) + 1, 3, 10, QLatin1Char('0'));
        if (nuovo != libero) {
            guasto(QStringLiteral("[copia] la copia di %1/%2 va nel progressivo %3, ma il primo libero è %4")
                       .arg(m_copiaDa->first, m_copiaDa->second, nuovo, libero));
        }
        if (const auto origine = m_modello.find(*m_copiaDa); origine != m_modello.end()) {
            Riga copia = origine->second;
            copia[QStringLiteral("onprog")] = nuovo;
            m_modello[{m_copiaDa->first, nuovo}] = copia;
        }
        m_copiaDa.reset();
        return MsgResult::Ok;
    }
    if (testo.contains(QStringLiteral("ha già il progressivo 999"))) {
        if (m_copiaDa && massimo(m_copiaDa->first) != 999) {
            guasto(QStringLiteral("[copia] la copia di %1/%2 è rifiutata come oltre 999, ma il registro arriva a %3")
                       .arg(m_copiaDa->first, m_copiaDa->second)
                       .arg(massimo(m_copiaDa->first)));
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
    guasto(QStringLiteral("[messaggio] messaggio inatteso: \"%1\" %2").arg(richiesta.title, testo));
    return richiesta.defaultAnswer();
}

void Giro::salvataggioIniziato()
{
    m_salvataggio = true;
}

void Giro::listaRiempita()
{
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
}

// ---- The form and the register as the walk reads them ----

Giro::Riga Giro::rigaDalForm() const
{
    const F1OP& f = *m_registro;
    const auto testo = [&f](const char* nome) {
        const auto* casella = f.findChild<QLineEdit*>(QLatin1String(nome));
        return casella ? casella->text() : QString();
    };
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
    for (const auto& [casella, colonna] : kCaselleComuni) {
        r[QLatin1String(colonna)] = testo(casella);
    }
    for (const auto& [nome, colonna] : kOpzioni) {
        const auto* opzione = f.findChild<QRadioButton*>(QLatin1String(nome));
        r[QLatin1String(colonna)] = opzione && opzione->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    }
    for (const auto& [nome, colonna] : kSpunte) {
        const auto* spunta = f.findChild<QCheckBox*>(QLatin1String(nome));
        r[QLatin1String(colonna)] =
            spunta && spunta->checkState() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
    }
    r[QStringLiteral("onprog")] = f.vONPROG->text();
    return r;
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

bool Giro::modificato() const
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
    if (nuovoSoggetto()) {
        for (const auto& [colonna, valore] : adesso) {
            const bool scelta = colonna.startsWith(QLatin1String("omc")) || colonna.startsWith(QLatin1String("oitt")) ||
                                colonna.startsWith(QLatin1String("otipocom"));
            if (scelta || colonna == QLatin1String("ostp")) {
                continue;
            }
            const QString vuoto = colonna == QLatin1String("onprog")          ? QStringLiteral("001")
                                  : colonna.startsWith(QLatin1String("omoc")) ? QStringLiteral("0")
                                                                              : QString();
            if (valore != vuoto) {
                return true;
            }
        }
        return false;
    }
    const auto registrata = m_modello.find(chiaveForm());
    return registrata == m_modello.end() || pulita(registrata->second) != adesso;
}

std::map<Giro::Chiave, Giro::Riga> Giro::leggiArchivio() const
{
    std::map<Chiave, Riga> archivio;
    db::Recordset rs;
    if (!rs.Open(QStringLiteral("SELECT * FROM COPE"), Conn)) {
        const_cast<Giro*>(this)->guasto(QStringLiteral("[registro] non si legge: ") + rs.lastError());
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
            const_cast<Giro*>(this)->guasto(
                QStringLiteral("[registro] due righe hanno %1/%2").arg(chiave.first, chiave.second));
        }
        archivio[chiave] = r;
    }
    return archivio;
}

// ---- The checks ----

void Giro::verifica(const Passo&)
{
    if (m_guasto.isEmpty()) {
        verificaArchivio();
    }
    if (m_guasto.isEmpty()) {
        verificaElenco();
    }
    if (m_guasto.isEmpty()) {
        verificaFuoco();
    }
}

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
            const auto registrato = riga.find(colonna);
            const QString valore = registrato == riga.end() ? QString() : registrato->second;
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
    if (!corrente.isValid()) {
        return guasto(QStringLiteral("[elenco/corrente] il form mostra %1/%2, l'elenco nessuna riga")
                          .arg(form.first, form.second));
    }
    if (chiaveRiga(corrente.row()) != form) {
        return guasto(QStringLiteral("[elenco/corrente] il form mostra %1/%2, la riga corrente dell'elenco è %3/%4")
                          .arg(form.first, form.second, cella(corrente.row(), 0), cella(corrente.row(), 1)));
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

void Giro::verificaFuoco()
{
    QWidget* fuoco = QApplication::focusWidget();
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
                        fuoco ? fuoco->objectName() + QLatin1Char(' ') + QLatin1String(fuoco->metaObject()->className())
                              : QStringLiteral("nessun controllo")));
    }
}

} // namespace ondavia::test
