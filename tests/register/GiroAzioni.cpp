// The walk's steps done as the operator does them: mouse and keys on the real controls, found by name, scrolled
// into view first; and the rules a step keeps between what it found and what it left.

#include "Giro.h"

#include "register/F1OP.h"
#include "shell/F0.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>

namespace ondavia::test {

namespace {

using Tipo = Passo::Tipo;

Qt::KeyboardModifiers modificatori(int b)
{
    return b == Passo::Ctrl ? Qt::ControlModifier : b == Passo::Maiusc ? Qt::ShiftModifier : Qt::NoModifier;
}

// A click on the round or square mark of an option or a check box, which a click always reaches.
void clicSegno(QWidget* scelta)
{
    QTest::mouseClick(scelta, Qt::LeftButton, {}, QPoint(6, scelta->height() / 2));
}

} // namespace

void Giro::inVista(QWidget* controllo)
{
    // The operator scrolls the form until the control is in view.
    if (auto* scorrimento = m_registro->findChild<QScrollArea*>(QStringLiteral("scorrimento"))) {
        scorrimento->ensureWidgetVisible(controllo);
    }
}

bool Giro::clicca(QWidget* controllo)
{
    inVista(controllo);
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

void Giro::prima()
{
    // A municipality box puts the province of the name it holds into its province box when it is left, before
    // the action that leaves it goes on: a province typed over until then may be set back to the stored one, and
    // the form then holds no change to ask about.
    QStringList diverse = differenze();
    const bool modificato = !diverse.isEmpty();
    static const std::pair<const char*, const char*> province[] = {
        {"vOSCOM", "ospro"}, {"vONCOM", "onpro"}, {"vRENCOM", "orenpro"}, {"vSICOM", "osipro"}};
    const QWidget* fuoco = QApplication::focusWidget();
    for (const auto& coppia : province) {
        if (fuoco && fuoco->objectName() == QLatin1String(coppia.first)) {
            const QString colonna = QLatin1String(coppia.second) + u' ';
            diverse.removeIf([&colonna](const QString& d) { return d.startsWith(colonna); });
        }
    }
    m_prima = {modificato, !diverse.isEmpty(), nuovoSoggetto(), chiaveForm()};
}

void Giro::esegui(Passo& passo)
{
    m_domandaModifiche = false;
    m_rispostaModifiche.reset();
    m_salvato.reset();
    m_copiato.reset();
    m_salvataggio = false;
    m_riempita = false;
    m_messaggiLiberi = false;
    m_copiaDa.reset();
    const size_t messaggiPrima = m_scripted.messages.size();
    const size_t stampePrima = m_scripted.saveRequests.size();
    const QPointer<QWidget> fuocoPrima = QApplication::focusWidget();
    // The form as the action finds it; for a click in the list, once the box it leaves has run its checks.
    prima();
    QTableView* vista = m_registro->IGOpe;
    const QAbstractItemModel* righe = vista->model();
    const auto centro = [vista](int riga, int colonna) {
        const QModelIndex cella = vista->model()->index(riga, colonna);
        vista->scrollTo(cella);
        return vista->visualRect(cella).center();
    };

    switch (passo.tipo) {
    case Tipo::ClicRiga:
    case Tipo::ClicRigaCtrl:
    case Tipo::DoppioClicRiga:
    case Tipo::Trascina: {
        const int n = righe->rowCount();
        if (n == 0) {
            break;
        }
        inVista(vista);
        const QPoint punto = centro(passo.a % n, passo.tipo == Tipo::Trascina ? 2 : passo.b % righe->columnCount());
        if (passo.tipo == Tipo::DoppioClicRiga) {
            QTest::mouseDClick(vista->viewport(), Qt::LeftButton, {}, punto);
        } else if (passo.tipo == Tipo::Trascina) {
            // To a row in view, clear of the list's edges: near them the list scrolls by itself, on a timer.
            const int margine = 2 * vista->autoScrollMargin();
            const QPoint arrivo = vista->visualRect(vista->model()->index(passo.b % n, 2)).center();
            if (arrivo.y() > margine && arrivo.y() < vista->viewport()->height() - margine) {
                QTest::mousePress(vista->viewport(), Qt::LeftButton, {}, punto);
                QTest::mouseMove(vista->viewport(), arrivo);
                QTest::mouseRelease(vista->viewport(), Qt::LeftButton, {}, arrivo);
            }
        } else {
            QTest::mouseClick(vista->viewport(), Qt::LeftButton,
                              passo.tipo == Tipo::ClicRigaCtrl ? Qt::ControlModifier : Qt::NoModifier, punto);
        }
        break;
    }
    case Tipo::ClicVuoto: {
        const int n = righe->rowCount();
        const int y = n > 0 ? vista->rowViewportPosition(n - 1) + vista->rowHeight(n - 1) + 4 : 4;
        if (y < vista->viewport()->height()) {
            inVista(vista);
            QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, QPoint(10, y));
        }
        break;
    }
    case Tipo::TastoElenco:
        if (QApplication::focusWidget() != vista) {
            // Into the list by a click on its current row, which chooses nothing new.
            const QModelIndex corrente = vista->currentIndex();
            if (!corrente.isValid()) {
                break;
            }
            inVista(vista);
            QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, centro(corrente.row(), corrente.column()));
            prima();
        }
        if (QApplication::focusWidget() == vista) {
            QTest::keyClick(vista, static_cast<Qt::Key>(passo.a), modificatori(passo.b));
        }
        break;
    case Tipo::Tasto:
        QTest::keyClick(fuocoPrima ? fuocoPrima.data() : m_registro, static_cast<Qt::Key>(passo.a),
                        modificatori(passo.b));
        break;
    case Tipo::Digita:
        digita(passo);
        break;
    case Tipo::TipoSoggetto:
        tipoSoggetto(passo.a, passo.testo);
        break;
    case Tipo::Scelta:
        if (auto* scelta = m_registro->findChild<QAbstractButton*>(passo.campo);
            scelta && scelta->isVisible() && scelta->isEnabled()) {
            inVista(scelta);
            clicSegno(scelta);
        }
        break;
    case Tipo::Scheda: {
        QTabBar* barra = m_registro->SSTab1->tabBar();
        inVista(barra);
        QTest::mouseClick(barra, Qt::LeftButton, {}, barra->tabRect(passo.a).center());
        break;
    }
    case Tipo::Calendario:
        if (QPushButton* calendario = m_registro->rdata[passo.a]; calendario->isVisible()) {
            inVista(calendario);
            QTest::mouseClick(calendario, Qt::LeftButton);
        }
        break;
    case Tipo::Ridimensiona:
        m_finestra->setWindowState(Qt::WindowNoState);
        m_finestra->resize(passo.a, passo.b);
        break;
    case Tipo::Registra:
    case Tipo::CreaComunicazione: {
        QPushButton* pulsante = passo.tipo == Tipo::Registra ? m_registro->bregistra[m_registro->SSTab1->currentIndex()]
                                                             : m_registro->CREACOM;
        if (!pulsante->isVisible()) {
            break;
        }
        inVista(pulsante);
        QTest::mouseClick(pulsante, Qt::LeftButton);
        break;
    }
    case Tipo::RegistraBarra:
        m_salvataggio = true;
        comando(ComandoRegistra);
        break;
    case Tipo::CreaComunicazioneBarra:
        m_messaggiLiberi = true;
        comando(ComandoCreaComunicazione);
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
    // What the step left queued runs, as the event loop would run it; a window opened and closed on the way (the
    // help on the register's sections) gives the activation back to the main window, as a window manager does.
    QApplication::processEvents();
    if (QApplication::activeWindow() != m_finestra.get()) {
        m_finestra->activateWindow();
        QApplication::processEvents();
    }
    m_salvataggio = false;
    if (m_guasto.isEmpty()) {
        verificaPasso(passo, messaggiPrima, stampePrima, fuocoPrima);
    }
}

void Giro::verificaPasso(const Passo& passo, size_t messaggiPrima, size_t stampePrima, const QWidget* fuocoPrima)
{
    const QTableView* vista = m_registro->IGOpe;
    const bool domande = m_scripted.messages.size() != messaggiPrima;
    const bool tab =
        passo.tipo == Tipo::Tasto && passo.b != Passo::Ctrl && (passo.a == Qt::Key_Tab || passo.a == Qt::Key_Backtab);
    if (tab && !domande && fuocoPrima && QApplication::focusWidget() == fuocoPrima) {
        return guasto(
            QStringLiteral("[tab] %1 tiene il fuoco dopo %2").arg(fuocoPrima->objectName(), passo.descrizione()));
    }

    // Changes on screen are never dropped unasked by an action that can put another subject on it. A new
    // subject's progressive may be proposed as its code is left: that is still the subject typed.
    const Chiave chiave = chiaveForm();
    const bool altroSoggetto = nuovoSoggetto() != m_prima.nuovo || chiave.first != m_prima.chiave.first ||
                               (!m_prima.nuovo && chiave.second != m_prima.chiave.second);
    const bool sceglie =
        passo.tipo == Tipo::ClicRiga || passo.tipo == Tipo::ClicRigaCtrl || passo.tipo == Tipo::DoppioClicRiga ||
        passo.tipo == Tipo::Trascina || passo.tipo == Tipo::ClicVuoto || passo.tipo == Tipo::TastoElenco ||
        passo.tipo == Tipo::Aggiungi || passo.tipo == Tipo::Copia || (passo.tipo == Tipo::Tasto && fuocoPrima == vista);
    const bool conModifiche =
        fuocoPrima && QApplication::focusWidget() != fuocoPrima ? m_prima.modificatoSeLasciato : m_prima.modificato;
    if (sceglie && conModifiche && !m_domandaModifiche && altroSoggetto) {
        return guasto(QStringLiteral("[modifiche] le modifiche al soggetto %1/%2 sono state perse senza domanda")
                          .arg(m_prima.chiave.first, m_prima.chiave.second));
    }
    // A subject put on the form, or loaded again with the list, is shown as it is stored.
    if (!nuovoSoggetto() && (altroSoggetto || m_riempita)) {
        if (const QStringList diverse = differenze(); !diverse.isEmpty()) {
            return guasto(QStringLiteral("[caricamento] il form mostra %1/%2 non come è registrato: %3")
                              .arg(chiave.first, chiave.second, diverse.join(QStringLiteral("; "))));
        }
    }

    // What a save, a copy or Aggiungi puts on the form: the subject saved, the copy, an empty new subject.
    const bool salva =
        passo.tipo == Tipo::Registra || passo.tipo == Tipo::RegistraBarra || passo.tipo == Tipo::CreaComunicazione;
    if (salva && m_salvato && chiave != *m_salvato) {
        return guasto(QStringLiteral("[registra] registrato %1/%2, il form mostra %3/%4")
                          .arg(m_salvato->first, m_salvato->second, chiave.first, chiave.second));
    }
    if (m_copiato && chiave != *m_copiato) {
        return guasto(QStringLiteral("[copia] copiato in %1/%2, il form mostra %3/%4")
                          .arg(m_copiato->first, m_copiato->second, chiave.first, chiave.second));
    }
    const bool lasciato = !m_domandaModifiche || m_rispostaModifiche == MsgResult::No ||
                          (m_rispostaModifiche == MsgResult::Yes && m_salvato);
    if (passo.tipo == Tipo::Aggiungi && lasciato && (!nuovoSoggetto() || modificato())) {
        return guasto(QStringLiteral("[aggiungi] dopo Aggiungi il form mostra %1/%2 (%3)")
                          .arg(chiave.first, chiave.second, differenze().join(QStringLiteral("; "))));
    }

    if (passo.tipo == Tipo::Stampa) {
        const bool stampato = m_scripted.saveRequests.size() != stampePrima;
        if (stampato && nuovoSoggetto()) {
            return guasto(QStringLiteral("[stampa/nuovo] stampa con un nuovo soggetto sul form"));
        }
        if (stampato && m_prima.modificato && !m_domandaModifiche) {
            return guasto(QStringLiteral("[stampa/modifiche] il soggetto %1/%2 è stampato come registrato, senza una "
                                         "parola sulle modifiche che il form mostra")
                              .arg(m_prima.chiave.first, m_prima.chiave.second));
        }
        if (!stampato && !m_prima.nuovo && !m_prima.modificato) {
            return guasto(QStringLiteral("[stampa/niente] la stampa del soggetto %1/%2 non parte")
                              .arg(m_prima.chiave.first, m_prima.chiave.second));
        }
        if (stampato) {
            verificaStampa(m_scripted.saveRequests.back().fileName);
        }
    }
}

void Giro::digita(const Passo& passo)
{
    auto* casella = m_registro->findChild<QLineEdit*>(passo.campo);
    if (casella && casella->isVisible() && casella->isEnabled() && !casella->isReadOnly() &&
        (passo.campo != QLatin1String("vONPROG") || nuovoSoggetto())) {
        digitaIn(casella, static_cast<Passo::Modo>(passo.a), passo.testo, passo.b);
    }
}

void Giro::digitaIn(QLineEdit* casella, Passo::Modo modo, const QString& testo, int quanti)
{
    // A box left with a wrong value takes the focus back: the operator then sees its message, not this box.
    if (!clicca(casella)) {
        return;
    }
    const QString prima = casella->text();
    const int massimo = casella->maxLength();
    const auto via = std::min<qsizetype>(quanti, prima.size());
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
    // What was typed is in the box; a municipality box may propose the rest of a name, selected after the letters
    // typed, so that typing on replaces it.
    QString visto = casella->text();
    if (casella->hasSelectedText() && casella->selectionEnd() == visto.size()) {
        visto = visto.left(casella->selectionStart());
    }
    // A municipality box completes on what it holds without the blanks before it.
    if (casella->objectName().endsWith(QLatin1String("COM"))) {
        const auto iniziali = [](const QString& t) {
            qsizetype i = 0;
            while (i < t.size() && t[i].isSpace()) {
                ++i;
            }
            return t.mid(i);
        };
        visto = iniziali(visto);
        atteso = iniziali(atteso);
    }
    if (visto.compare(atteso.left(massimo), Qt::CaseInsensitive) != 0) {
        guasto(QStringLiteral("[digitazione] %1 conteneva \"%2\", ora mostra \"%3\" (selezionato \"%4\"), ma "
                              "l'operatore ha scritto \"%5\"")
                   .arg(casella->objectName(), prima, casella->text(), casella->selectedText(), atteso));
    }
}

void Giro::tipoSoggetto(int modo, const QString& testo)
{
    QComboBox* tipo = m_registro->CBrap;
    if (!tipo->isVisible()) {
        return;
    }
    inVista(tipo);
    QTest::mouseClick(tipo->lineEdit(), Qt::LeftButton);
    QWidget* fuoco = QApplication::focusWidget();
    if (fuoco != tipo && fuoco != tipo->lineEdit()) {
        return;
    }
    switch (modo) {
    case 0:
        QTest::keyClick(fuoco, Qt::Key_Down);
        break;
    case 1:
        QTest::keyClick(fuoco, Qt::Key_Up);
        break;
    case 2:
        QTest::keyClick(fuoco, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(fuoco, testo);
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
            inVista(barra);
            QTest::mouseClick(barra, Qt::LeftButton, {}, barra->tabRect(voce.mid(1).toInt()).center());
            continue;
        }
        const QString campo = voce.section(QLatin1Char('='), 0, 0);
        const QString valore = voce.section(QLatin1Char('='), 1);
        if (campo == QLatin1String("CBrap")) {
            tipoSoggetto(valore.toInt(), QString());
        } else if (campo == QLatin1String("MOC1")) {
            if (!m_registro->MOC1->isChecked() && !m_registro->MOC2->isChecked() && !m_registro->MOC3->isChecked() &&
                m_registro->MOC1->isVisible()) {
                inVista(m_registro->MOC1);
                clicSegno(m_registro->MOC1);
            }
        } else if (auto* casella = m_registro->findChild<QLineEdit*>(campo);
                   casella && casella->isVisible() && casella->isEnabled() && !casella->isReadOnly()) {
            digitaIn(casella, Passo::Sostituisci, valore, 0);
        }
    }
}

} // namespace ondavia::test
