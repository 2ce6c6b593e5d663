// The program's parts together, as the operator drives them from the main window: the register form,
// the print-out, the backup and restore form. Dialogs and boxes are answered by the scripted platform.

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"
#include "app/Testi.h"
#include "core/Hooks.h"
#include "printout/CollegamentoPdf.h"
#include "register/CreaRegistro.h"
#include "shell/F0.h"
#include "shell/FSalva.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

class Insieme : public RegistroProva {
protected:
    void SetUp() override
    {
        RegistroProva::SetUp();
        CollegaScrittorePdf();
        folian::Hooks hooks = folian::DefaultHooks();
        hooks.now = [] { return folian::LocalDateTime{2026, 3, 2, 9, 30, 0}; };
        folian::SetDefaultHooks(std::move(hooks));
        scripted.desktop = home.file(QStringLiteral("Desktop"));
        QDir().mkpath(scripted.desktop);
        finestra = std::make_unique<F0>(CreaRegistro);
        finestra->show();
        registro = dynamic_cast<F1OP*>(&finestra->apriRegistro());
        ASSERT_NE(registro, nullptr);
    }

    void TearDown() override
    {
        finestra.reset();
        folian::SetDefaultHooks({});
    }

    static std::map<QString, QString> societa(const QString& codice, const QString& progressivo, const QString& nome)
    {
        return {{"OCOD", codice}, {"ONPROG", progressivo}, {"OSTP", "1"},       {"orag", nome},
                {"ODES", nome},   {"oTIPOSOG", "01"},      {"OTIPOSOGD", "01=BANCHE"}, {"OMOC1", "1"}};
    }

    void comando(int id, const QString& caption) { finestra->CommandBars_Execute(id, caption); }

    // Clicks the row of `codice` and `progressivo` in the subject list.
    void scegli(const QString& codice, const QString& progressivo)
    {
        QAbstractItemModel* modello = registro->IGOpe->model();
        for (int r = 0; r < modello->rowCount(); ++r) {
            if (modello->index(r, 0).data().toString() == codice &&
                modello->index(r, 1).data().toString() == progressivo) {
                const QModelIndex cella = modello->index(r, 0);
                registro->IGOpe->scrollTo(cella);
                QTest::mouseClick(registro->IGOpe->viewport(), Qt::LeftButton, {},
                                  registro->IGOpe->visualRect(cella).center());
                ASSERT_EQ(registro->topiva->text().toStdString(), codice.toStdString());
                return;
            }
        }
        FAIL() << "no row " << codice.toStdString() << "/" << progressivo.toStdString();
    }

    QString desktop(const QString& nome) const { return QDir(scripted.desktop).filePath(nome); }

    std::unique_ptr<F0> finestra;
    F1OP* registro = nullptr;
};

} // namespace

// The card is of the subject the operator sees. A new subject on screen has none yet: the shared code and
// the progressive box would name another stored subject.
TEST_F(Insieme, LaStampaNonEMaiDiUnAltroSoggetto)
{
    inserisci(societa(QStringLiteral("01234567897"), QStringLiteral("001"), QStringLiteral("PRIMA SEDE SPA")));
    inserisci(societa(QStringLiteral("01234567897"), QStringLiteral("002"), QStringLiteral("SECONDA SEDE SPA")));
    registro->Lista();
    scegli(QStringLiteral("01234567897"), QStringLiteral("002"));

    comando(ComandoAggiungi, QStringLiteral("Aggiungi"));
    scripted.messages.clear();
    scripted.saveAnswers = {desktop(QStringLiteral("nuovo.pdf"))};
    comando(ComandoStampa, QStringLiteral("Stampa"));
    EXPECT_TRUE(scripted.saveRequests.empty()) << scripted.saveRequests[0].fileName.toStdString();
    EXPECT_TRUE(messaggio().contains(QStringLiteral("Nessun soggetto selezionato"))) << messaggio().toStdString();

    scegli(QStringLiteral("01234567897"), QStringLiteral("001"));
    comando(ComandoStampa, QStringLiteral("Stampa"));
    ASSERT_EQ(scripted.saveRequests.size(), 1u);
    EXPECT_EQ(scripted.saveRequests[0].fileName, QStringLiteral("OVIA_PRIMASEDESPA_20260302.pdf"));
    EXPECT_TRUE(QFile::exists(desktop(QStringLiteral("nuovo.pdf"))));
}

// "Salva TUTTI" names each subject in turn while it writes its file; the register still shows the subject it
// showed, and the commands that follow act on that one.
TEST_F(Insieme, DopoSalvaTuttiIComandiAgisconoSulSoggettoMostrato)
{
    inserisci(societa(QStringLiteral("01234567897"), QStringLiteral("001"), QStringLiteral("ALFA SPA")));
    inserisci(societa(QStringLiteral("99999999999"), QStringLiteral("001"), QStringLiteral("ZETA SPA")));
    registro->Lista();
    scegli(QStringLiteral("01234567897"), QStringLiteral("001"));

    QDir().mkpath(home.file(QStringLiteral("tutti")));
    scripted.folderAnswers = {home.file(QStringLiteral("tutti"))};
    QTimer::singleShot(0, [] {
        auto* form = dynamic_cast<FSalva*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        form->findChild<QPushButton*>(QStringLiteral("saveALL"))->click();
    });
    comando(ComandoSalva, QStringLiteral("Salva TUTTI"));
    ASSERT_EQ(QDir(home.file(QStringLiteral("tutti"))).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(registro->topiva->text(), QStringLiteral("01234567897"));

    comando(ComandoStampa, QStringLiteral("Stampa"));
    ASSERT_EQ(scripted.saveRequests.size(), 1u) << messaggio().toStdString();
    EXPECT_EQ(scripted.saveRequests[0].fileName, QStringLiteral("OVIA_ALFASPA_20260302.pdf"));

    scripted.answers = {MsgResult::Yes};
    comando(ComandoElimina, QStringLiteral("Elimina"));
    EXPECT_EQ(righe(QStringLiteral("OCOD='01234567897'")), 0) << messaggio().toStdString();
    EXPECT_EQ(righe(QStringLiteral("OCOD='99999999999'")), 1);
}

// A subject restored without a type shows none, and a save asks for one instead of taking the type of the
// subject shown before it.
TEST_F(Insieme, UnSoggettoSenzaTipoNonPrendeQuelloDelPrecedente)
{
    inserisci(societa(QStringLiteral("01234567897"), QStringLiteral("001"), QStringLiteral("ALFA SPA")));
    auto senzaTipo = societa(QStringLiteral("12345678901"), QStringLiteral("001"), QStringLiteral("BETA SPA"));
    senzaTipo.erase(QStringLiteral("oTIPOSOG"));
    senzaTipo.erase(QStringLiteral("OTIPOSOGD"));
    inserisci(senzaTipo);
    registro->Lista();
    scegli(QStringLiteral("01234567897"), QStringLiteral("001"));
    ASSERT_EQ(registro->CBrap->currentText(), QStringLiteral("01=BANCHE"));

    scegli(QStringLiteral("12345678901"), QStringLiteral("001"));
    EXPECT_EQ(registro->CBrap->currentText(), QString());
    scripted.messages.clear();
    comando(ComandoRegistra, QStringLiteral("Registra"));
    const auto beta = riga(QStringLiteral("12345678901"), QStringLiteral("001"));
    EXPECT_TRUE(NoNull(beta.at("oTIPOSOG")).isEmpty()) << NoNull(beta.at("oTIPOSOG")).toStdString();
    EXPECT_TRUE(NoNull(beta.at("OTIPOSOGD")).isEmpty());
    EXPECT_EQ(messaggio().trimmed(), QStringLiteral("Indicare il tipo di soggetto"));
}

// Progressives are numbers: one typed by hand as "1", or brought by another installation's backup, beside
// "002" gives "003" next, never a second "002"; one that is no number at all ("A") stops nothing.
TEST_F(Insieme, IlProgressivoSuccessivoENumerico)
{
    inserisci(societa(QStringLiteral("01234567897"), QStringLiteral("1"), QStringLiteral("ALFA SPA")));
    inserisci(societa(QStringLiteral("01234567897"), QStringLiteral("002"), QStringLiteral("ALFA SPA")));
    inserisci(societa(QStringLiteral("01234567897"), QStringLiteral("A"), QStringLiteral("ALFA SPA")));
    registro->Lista();
    scegli(QStringLiteral("01234567897"), QStringLiteral("002"));

    scripted.answers = {MsgResult::Yes};
    comando(ComandoCopia, QStringLiteral("Copia"));
    EXPECT_EQ(righe(QStringLiteral("OCOD='01234567897' AND ONPROG='002'")), 1);
    EXPECT_EQ(righe(QStringLiteral("OCOD='01234567897' AND ONPROG='003'")), 1) << messaggio().toStdString();
}

// After "Aggiungi" the list has no chosen row: choosing the subject that was on screen before brings it back,
// instead of leaving the new subject's boxes under a list that seems to show it chosen.
TEST_F(Insieme, DopoAggiungiLaRigaDiPrimaRiportaIlSuoSoggetto)
{
    inserisci(societa(QStringLiteral("01234567897"), QStringLiteral("001"), QStringLiteral("ALFA SPA")));
    inserisci(societa(QStringLiteral("99999999999"), QStringLiteral("001"), QStringLiteral("ZETA SPA")));
    registro->Lista();
    scegli(QStringLiteral("01234567897"), QStringLiteral("001"));

    comando(ComandoAggiungi, QStringLiteral("Aggiungi"));
    EXPECT_FALSE(registro->IGOpe->currentIndex().isValid());
    QTest::keyClicks(registro->topiva, QStringLiteral("12345678901"));
    scegli(QStringLiteral("01234567897"), QStringLiteral("001"));
    EXPECT_EQ(registro->torag->text(), QStringLiteral("ALFA SPA"));
    EXPECT_EQ(CodiceCorrente, QStringLiteral("01234567897"));
}
