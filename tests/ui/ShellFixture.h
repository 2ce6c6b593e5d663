#pragma once

#include "../support/TempHome.h"

#include "app/Dichiarazioni.h"
#include "app/ErroreEsecuzione.h"
#include "platform/ScriptedPlatform.h"
#include "shell/F0.h"
#include "shell/KELM_BASE.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>

namespace ondavia::test {

// What a register operation does in a test: record its name, or fail in one of three ways.
enum class Guasto { Nessuno, Errore, Eccezione, Ignoto };

// A register that records the operations the main window calls on it.
class RegistroFinto : public Registro {
public:
    RegistroFinto(QStringList& chiamate, const std::map<QString, Guasto>& guasti)
        : m_chiamate(chiamate), m_guasti(guasti)
    {
        m_form.setObjectName(QStringLiteral("F1OP"));
        m_form.setWindowTitle(QStringLiteral("Elenco Soggetti Obbligati"));
    }

    QWidget* form() override { return &m_form; }
    void Lista() override { esegui(QStringLiteral("Lista")); }
    void Conferma() override { esegui(QStringLiteral("Conferma")); }
    void Aggiungi() override { esegui(QStringLiteral("Aggiungi")); }
    void Elimina() override { esegui(QStringLiteral("Elimina")); }
    void Copia() override { esegui(QStringLiteral("Copia")); }
    void CreaComunicazione() override { esegui(QStringLiteral("CreaComunicazione")); }
    void STAMPA() override { esegui(QStringLiteral("STAMPA")); }

private:
    void esegui(const QString& nome)
    {
        const auto guasto = m_guasti.find(nome);
        switch (guasto == m_guasti.end() ? Guasto::Nessuno : guasto->second) {
        case Guasto::Errore:
            throw ErroreEsecuzione(nome + QStringLiteral(": riga non trovata"));
        case Guasto::Eccezione:
            throw std::runtime_error("disco pieno");
        case Guasto::Ignoto:
            throw 42;
        case Guasto::Nessuno:
            break;
        }
        m_chiamate << nome;
    }

    QWidget m_form;
    QStringList& m_chiamate;
    const std::map<QString, Guasto>& m_guasti;
};

class ShellTest : public ::testing::Test {
protected:
    ShellTest()
    {
        Release = QStringLiteral("Release 1.99 - 07 Dicembre 2020");
        VersioneProgramma = QStringLiteral("Versione 1.0 - Monoutente");
        FileIni = home.file(QStringLiteral("configurazione.ini"));
    }

    std::unique_ptr<F0> creaFinestra()
    {
        auto finestra = std::make_unique<F0>([this](F0&) -> std::unique_ptr<Registro> {
            ++registriCreati;
            if (registroGuasto) {
                throw ErroreEsecuzione(QStringLiteral("archivio non leggibile"));
            }
            return std::make_unique<RegistroFinto>(chiamate, guasti);
        });
        finestra->impostaUscita([this] { ++uscite; });
        return finestra;
    }

    // A window after "ENTRA": bars shown, register open.
    std::unique_ptr<F0> finestraAperta()
    {
        auto finestra = creaFinestra();
        finestra->show();
        finestra->apriRegistro();
        finestra->mostraBarre(true);
        return finestra;
    }

    static QAction* comando(const QWidget* barra, int id, const QString& caption)
    {
        for (QAction* azione : barra->actions()) {
            if (azione->objectName() == nomeComando(id, caption)) {
                return azione;
            }
        }
        ADD_FAILURE() << "no command " << id << " " << caption.toStdString();
        return nullptr;
    }

    static QMenu* popup(const F0& finestra, const QString& nome) { return finestra.menuBar()->findChild<QMenu*>(nome); }

    void scriviIni(const QByteArray& righe) { home.write(QStringLiteral("configurazione.ini"), "[opzioni]\n" + righe); }

    TempHome home;
    ScriptedPlatform desktop;
    PlatformScope scope{desktop};
    QStringList chiamate;
    std::map<QString, Guasto> guasti;
    bool registroGuasto = false;
    int registriCreati = 0;
    int uscite = 0;
};

} // namespace ondavia::test
