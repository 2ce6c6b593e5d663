// The walk: opening the program, walking from a seed, replaying and shortening a walk, and how its steps read.

#include "Giro.h"

#include "register/CreaRegistro.h"
#include "register/F1OP.h"
#include "register/GrigliaSoggetti.h"
#include "shell/F0.h"
#include "shell/F0INI.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace ondavia::test {

namespace {

using Tipo = Passo::Tipo;

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

// Watches the windows that open: the splash form is the program's; the date picker and the help on the register's
// sections the operator closes at once; any other window (the backup form, say) the walk cannot answer, and says
// so. It also tells of a press on the
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
            if (dialogo->objectName() != QLatin1String("FCale") && dialogo->objectName() != QLatin1String("FSezHelp")) {
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
        // Not every way names both the text and the count.
        d = QStringLiteral("clic in %1, ").arg(campo) + QString::fromUtf8(modi[a])
                                                            .replace(QStringLiteral("%1"), u'"' + testo + u'"')
                                                            .replace(QStringLiteral("%2"), QString::number(b));
        break;
    }
    case Tipo::TipoSoggetto: {
        static const char* const modi[] = {"freccia giù", "freccia su", "Ctrl+A, digita \"%1\"", "Ctrl+A, Canc"};
        const QString modo = QString::fromUtf8(modi[a]);
        d = QStringLiteral("clic in Tipo Soggetto, ") + (a == 2 ? modo.arg(testo) : modo);
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
    // A save button pressed, by the mouse or by the space bar: the box it leaves has run its checks, the save
    // begins.
    for (QPushButton* pulsante : m_registro->findChildren<QPushButton*>()) {
        if (pulsante->objectName().startsWith(QLatin1String("bregistra")) || pulsante == m_registro->CREACOM) {
            QObject::connect(pulsante, &QPushButton::pressed, m_registro, [this] { m_salvataggio = true; });
        }
    }
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

} // namespace ondavia::test
