// The print-out and the backup read the stored subjects: with changes on screen not yet saved they ask first,
// through the main window as the operator drives it. Neither puts another subject on screen, so the changes the
// operator keeps unsaved stay where he typed them.

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"
#include "core/Hooks.h"
#include "register/CreaRegistro.h"
#include "shell/F0.h"
#include "shell/FSalva.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

const QString kDomanda = QStringLiteral("Il soggetto ALFA SPA progressivo 001 è stato modificato. Registrare le "
                                        "modifiche?");
const QString kACodice = QStringLiteral("12345678901");
const QString kVideo = QStringLiteral("CAMBIATO A VIDEO");

enum class Risposta { Si, SiRifiutato, No, Annulla };

class StampaBackup : public RegistroProva {
protected:
    void SetUp() override
    {
        RegistroProva::SetUp();
        preparaStampa();
        // ALFA SPA as the form saves it.
        apri();
        compilaValido();
        form->Conferma();
        form.reset();
    }

    void TearDown() override
    {
        finestra.reset();
        folian::SetDefaultHooks({});
    }

    // The main window on the stored ALFA SPA, whose name the operator has just typed over; the question, when
    // asked, gets `risposta`.
    void videoCambiato(Risposta risposta)
    {
        finestra.reset();
        ASSERT_TRUE(Conn.Execute(QStringLiteral("UPDATE COPE SET orag='ALFA SPA', ODES='ALFA SPA'")));
        finestra = std::make_unique<F0>(creaRegistro);
        finestra->show();
        registro = dynamic_cast<F1OP*>(&finestra->apriRegistro());
        ASSERT_NE(registro, nullptr);
        QApplication::processEvents();
        ASSERT_EQ(registro->torag->text(), QStringLiteral("ALFA SPA"));
        registro->torag->setFocus();
        registro->torag->selectAll();
        QTest::keyClicks(registro->torag, kVideo);
        if (risposta == Risposta::SiRifiutato) {
            registro->SSTab1->setCurrentIndex(1);
            registro->vRETEL->setFocus();
            registro->vRETEL->clear();
        }
        scripted.messages.clear();
        scripted.saveRequests.clear();
        scripted.answers = {risposta == Risposta::No        ? MsgResult::No
                            : risposta == Risposta::Annulla ? MsgResult::Cancel
                                                            : MsgResult::Yes};
    }

    QString nomeRegistrato() const { return riga(kACodice, QStringLiteral("001"))["orag"].toText(); }

    // After the action: the question was asked first, the register holds what Sì saved, and the screen keeps
    // what was typed unless it was saved.
    void dopo(Risposta risposta)
    {
        ASSERT_FALSE(scripted.messages.empty());
        EXPECT_EQ(scripted.messages[0].text.toStdString(), kDomanda.toStdString());
        EXPECT_EQ(scripted.messages[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(nomeRegistrato().toStdString(), risposta == Risposta::Si ? "CAMBIATO A VIDEO" : "ALFA SPA");
        EXPECT_EQ(registro->torag->text().toStdString(), "CAMBIATO A VIDEO") << "what was typed stays on screen";
        EXPECT_EQ(registro->modificato(), risposta != Risposta::Si);
    }

    QString desktop(const QString& nome) const { return QDir(scripted.desktop).filePath(nome); }

    std::unique_ptr<F0> finestra;
    F1OP* registro = nullptr;
};

} // namespace

// Sì saves and prints the saved subject; No prints the stored one; Annulla and a refused save print nothing and
// ask for no file.
TEST_F(StampaBackup, StampaAsksAboutChangesOnScreen)
{
    for (const Risposta risposta : {Risposta::Si, Risposta::SiRifiutato, Risposta::No, Risposta::Annulla}) {
        SCOPED_TRACE(static_cast<int>(risposta));
        videoCambiato(risposta);
        const QString pdf = desktop(QStringLiteral("scheda%1.pdf").arg(static_cast<int>(risposta)));
        scripted.saveAnswers = {pdf};
        finestra->CommandBars_Execute(ComandoStampa, QStringLiteral("Stampa"));
        dopo(risposta);
        if (risposta == Risposta::Si || risposta == Risposta::No) {
            ASSERT_EQ(scripted.saveRequests.size(), 1u) << messaggio().toStdString();
            // The proposed name is the printed subject's.
            EXPECT_EQ(scripted.saveRequests[0].fileName.toStdString(),
                      risposta == Risposta::Si ? "OVIA_CAMBIATOAVIDEO_20260302.pdf" : "OVIA_ALFASPA_20260302.pdf");
            EXPECT_TRUE(QFile::exists(pdf));
        } else {
            EXPECT_TRUE(scripted.saveRequests.empty());
            EXPECT_FALSE(QFile::exists(pdf));
        }
    }
}

// Sì saves and the backup holds the saved subject; No makes the backup of the stored one; Annulla and a refused
// save open no backup form and write no file.
TEST_F(StampaBackup, BackupAsksAboutChangesOnScreen)
{
    for (const Risposta risposta : {Risposta::Si, Risposta::SiRifiutato, Risposta::No, Risposta::Annulla}) {
        SCOPED_TRACE(static_cast<int>(risposta));
        videoCambiato(risposta);
        const QString backup = desktop(QStringLiteral("backup%1.REI").arg(static_cast<int>(risposta)));
        scripted.saveAnswers = {backup};
        int aperto = 0;
        QTimer::singleShot(0, [&aperto] {
            if (auto* archivio = dynamic_cast<FSalva*>(QApplication::activeModalWidget())) {
                ++aperto;
                archivio->findChild<QPushButton*>(QStringLiteral("bconferma"))->click();
            }
        });
        finestra->CommandBars_Execute(ComandoSalva, QStringLiteral("Salva Dati (Backup)"));
        QApplication::processEvents();
        dopo(risposta);
        const bool fatto = risposta == Risposta::Si || risposta == Risposta::No;
        EXPECT_EQ(aperto, fatto ? 1 : 0);
        QFile file(backup);
        ASSERT_EQ(file.open(QIODevice::ReadOnly), fatto);
        if (fatto) {
            const QByteArray contenuto = file.readAll();
            EXPECT_EQ(contenuto.contains(kVideo.toLatin1()), risposta == Risposta::Si);
            EXPECT_EQ(contenuto.contains("ALFA SPA"), risposta == Risposta::No);
        }
    }
}
