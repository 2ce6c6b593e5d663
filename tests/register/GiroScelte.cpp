// The register the walks start from, what the operator types, and the choice of each step from the seed.

#include "Giro.h"

#include "app/CodiceFiscale.h"
#include "app/Dichiarazioni.h"
#include "db/Recordset.h"
#include "register/F1OP.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

#include <gtest/gtest.h>

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

} // namespace

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
