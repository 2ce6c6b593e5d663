// The program's parts together, as the operator drives them from the main window: the register form,
// the print-out, the backup and restore form. Dialogs and boxes are answered by the scripted platform.

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
        preparaStampa();
        finestra = std::make_unique<F0>(creaRegistro);
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
        return {{"OCOD", codice},   {"ONPROG", progressivo},    {"OSTP", "1"}, {"orag", nome}, {"ODES", nome},
                {"oTIPOSOG", "01"}, {"OTIPOSOGD", "01=BANCHE"}, {"OMOC1", "1"}};
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

// The commands act on the subject the operator sees. A new subject on screen has no card yet: the shared code
// and the progressive box would name another stored subject. "Salva TUTTI" names each subject in turn while it
// writes its file; the register still shows the subject it showed, and the commands that follow act on that one.
TEST_F(Insieme, IComandiAgisconoSulSoggettoMostrato)
{
    inserisci(societa(QStringLiteral("01234567897"), QStringLiteral("001"), QStringLiteral("PRIMA SEDE SPA")));
    inserisci(societa(QStringLiteral("01234567897"), QStringLiteral("002"), QStringLiteral("SECONDA SEDE SPA")));
    inserisci(societa(QStringLiteral("99999999999"), QStringLiteral("001"), QStringLiteral("ZETA SPA")));
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
    ASSERT_EQ(scripted.saveRequests.size(), 2u) << messaggio().toStdString();
    EXPECT_EQ(scripted.saveRequests[1].fileName, QStringLiteral("OVIA_PRIMASEDESPA_20260302.pdf"));

    scripted.answers = {MsgResult::Yes};
    comando(ComandoElimina, QStringLiteral("Elimina"));
    EXPECT_EQ(righe(QStringLiteral("OCOD='01234567897' AND ONPROG='001'")), 0) << messaggio().toStdString();
    EXPECT_EQ(righe(), 2);
}
