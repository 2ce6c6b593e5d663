#include "KELM_BASE.h"

#include "Collegamenti.h"

#include "app/MsgBox.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

namespace ondavia {

namespace {

const QString OggettoRichiesta = QStringLiteral("RICHIESTA Utente Ondavia: ");
const QString ApriInBrowser = QStringLiteral("EXPLORER ");

bool haControlli(const QWidget* controlli)
{
    return !controlli->actions().isEmpty();
}

void applicaStile(QWidget* controlli, QAction* azione, int stile)
{
    auto* barra = qobject_cast<QToolBar*>(controlli);
    if (!barra) {
        return;
    }
    if (auto* pulsante = qobject_cast<QToolButton*>(barra->widgetForAction(azione))) {
        pulsante->setToolButtonStyle(stile == StileIconaETesto ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    }
}

} // namespace

QString nomeComando(int id, const QString& caption)
{
    QString lettere;
    for (const QChar c : caption.normalized(QString::NormalizationForm_D)) {
        if (c.unicode() < 128 && c.isLetterOrNumber()) {
            lettere += c;
        }
    }
    return QStringLiteral("cmd_%1_%2").arg(id).arg(lettere);
}

QAction* AggiungiComando(QWidget* controlli, int tipo, int id, const QString& caption, bool iniziaGruppo,
                         const QString& descrizione, int stile, const QString& categoria)
{
    const bool separa = iniziaGruppo && haControlli(controlli);
    QAction* azione = nullptr;
    if (tipo == ControlloPopup) {
        auto* popup = new QMenu(caption, controlli);
        popup->setObjectName(caption);
        popup->setSeparatorsCollapsible(true);
        azione = popup->menuAction();
    } else {
        azione = new QAction(caption, controlli);
        azione->setObjectName(nomeComando(id, caption));
    }
    azione->setData(id);
    if (separa) {
        auto* separatore = new QAction(controlli);
        separatore->setSeparator(true);
        controlli->addAction(separatore);
    }
    controlli->addAction(azione);

    azione->setProperty("iniziaGruppo", iniziaGruppo);
    azione->setProperty("descrizione", descrizione);
    azione->setStatusTip(descrizione);
    azione->setProperty("stile", stile);
    applicaStile(controlli, azione, stile);
    azione->setProperty("categoria", categoria);
    return azione;
}

bool RisoluzioneSchermo(int& larghezza, int& altezza)
{
    const QScreen* schermo = QGuiApplication::primaryScreen();
    if (!schermo) {
        return false;
    }
    larghezza = schermo->size().width();
    altezza = schermo->size().height();
    return larghezza > 0 && altezza > 0;
}

void InviaMail(const QString& destinatario)
{
    QString motivo;
    if (platform().composeMail({destinatario, OggettoRichiesta, {}}, &motivo)) {
        return;
    }
    msgBox(QStringLiteral("Errore Creazione Email: \r\n") + motivo +
               QStringLiteral("\r\n \r\nVerificare che sia installato un programma di posta elettronica"),
           MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Programma di posta NON disponibile"));
}

void inviaMailUfficio(const QString& indirizzo, const QString& ufficio, const char* chiave)
{
    if (indirizzo.isEmpty()) {
        segnalaNonImpostato(QStringLiteral("L'indirizzo e-mail dell'") + ufficio, chiave);
        return;
    }
    InviaMail(indirizzo);
}

bool Esegui(const QString& rigaComando)
{
    if (rigaComando.startsWith(ApriInBrowser, Qt::CaseInsensitive)) {
        QString indirizzo = rigaComando.mid(ApriInBrowser.size()).trimmed();
        if (indirizzo.size() >= 2 && indirizzo.startsWith(QLatin1Char('"')) && indirizzo.endsWith(QLatin1Char('"'))) {
            indirizzo = indirizzo.mid(1, indirizzo.size() - 2);
        }
        return !indirizzo.isEmpty() && platform().openDocument(indirizzo);
    }
    QStringList parti = QProcess::splitCommand(rigaComando);
    if (parti.isEmpty()) {
        return false;
    }
    const QString programma = parti.takeFirst();
    return platform().startProgram(programma, parti);
}

} // namespace ondavia
