// The communication file from the register form: the form's own button (save and validate first) and
// the main window's command (the form's texts as they stand).

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"
#include "register/CreaRegistro.h"
#include "register/GrigliaSoggetti.h"
#include "shell/F0.h"

#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QTest>

namespace ondavia::test {

class ComunicazioneForm : public RegistroProva {
protected:
    bool shown(const QString& title) const
    {
        for (const auto& m : scripted.messages) {
            if (m.title == title) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(ComunicazioneForm, TheButtonSavesValidatesAndWritesTheTrimmedForm)
{
    inserisci({{"OCOD", "99999999999"}, {"ONPROG", "001"}, {"ODES", "ZETA SPA"}, {"OSTP", "1"}, {"orag", "ZETA SPA"}});
    apri();
    compilaValido();
    form->torag->setText(QStringLiteral("   ALFA SPA  "));
    // A subject type typed with blanks before it still gives its code.
    form->CBrap->setEditText(QStringLiteral("  ") + form->CBrap->itemText(0));
    const QString path = home.file(QStringLiteral("alfa.txt"));
    scripted.saveAnswers.push_back(path);

    clic("CREACOM");

    ASSERT_EQ(scripted.saveRequests.size(), 1u);
    EXPECT_EQ(scripted.saveRequests[0].fileName, "OVIA_ALFASPA_001.TXT");
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["oTIPOSOG"].toText(), QStringLiteral("13"));

    const auto records = recordsOf(path);
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(field(records[0], 8, 16), "12345678901     ");
    EXPECT_EQ(field(records[0], 126, 60), QByteArray("ALFA SPA").leftJustified(60, ' '));
    EXPECT_EQ(field(records[1], 404, 3), "100");
    EXPECT_EQ(field(records[2], 2, 2), "13");
    EXPECT_EQ(form->torag->text(), "ALFA SPA");

    ASSERT_TRUE(shown(QStringLiteral("Comunicazione Creata")));
    EXPECT_TRUE(messaggio().contains(path));

    // The subject saved is in the list and is its chosen row, so that choosing the subject that was
    // chosen before loads that one.
    ASSERT_EQ(form->modelloGriglia()->rowCount(), 2);
    EXPECT_EQ(form->IGOpe->currentIndex().row(), 0);
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(1, 0));
    EXPECT_EQ(form->torag->text(), QStringLiteral("ZETA SPA"));

    // No success is told for a cancelled dialog or a file that cannot be written.
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(0, 0));
    scripted.messages.clear();
    clic("CREACOM"); // the dialog is cancelled: no answer queued
    EXPECT_EQ(scripted.saveRequests.size(), 2u);
    EXPECT_TRUE(scripted.messages.empty()) << messaggio().toStdString();

    const QString unreachable = home.file(QStringLiteral("missing/folder/alfa.txt"));
    scripted.saveAnswers.push_back(unreachable);
    clic("CREACOM");
    EXPECT_FALSE(QFile::exists(unreachable));
    EXPECT_FALSE(shown(QStringLiteral("Comunicazione Creata")));
    ASSERT_FALSE(scripted.messages.empty());
    EXPECT_FALSE(messaggio().isEmpty());
}

// A subject type the list does not hold is typed as its code of two letters or digits, alone or with "=" and a
// description: any other text would give the register and record 2 a code nobody typed.
TEST_F(ComunicazioneForm, ATypedSubjectTypeIsACodeOfTwoLettersOrDigits)
{
    apri();
    const struct {
        const char* tipo;
        const char* codice; // nullptr: refused
    } casi[] = {
        {"XYZ", nullptr},       {"Banca", nullptr}, {" ", nullptr},
        {"   ", nullptr},       {"9", nullptr},     {"9-=ALTRO", nullptr},
        {"99 =ALTRO", nullptr}, {"99", "99"},       {" A1=ALTRO SOGGETTO ", "A1"},
        {"b2=", "b2"},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.tipo);
        compilaValido();
        form->CBrap->setEditText(QString::fromUtf8(caso.tipo));
        const QString path = home.file(QStringLiteral("tipo.txt"));
        QFile::remove(path);
        scripted.saveAnswers = {path};
        scripted.messages.clear();
        clic("CREACOM");
        if (caso.codice) {
            EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["oTIPOSOG"].toText(),
                      QLatin1String(caso.codice));
            const auto records = recordsOf(path);
            ASSERT_EQ(records.size(), 4) << messaggio().toStdString();
            EXPECT_EQ(field(records[2], 2, 2), QByteArray(caso.codice));
            ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE")));
        } else {
            EXPECT_EQ(righe(), 0);
            EXPECT_FALSE(QFile::exists(path));
            ASSERT_EQ(scripted.messages.size(), 1u);
            EXPECT_TRUE(messaggio().contains(QStringLiteral("13=Descrizione"))) << messaggio().toStdString();
            const QWidget* fuoco = QApplication::focusWidget();
            EXPECT_TRUE(fuoco && (fuoco == form->CBrap || form->CBrap->isAncestorOf(fuoco)));
        }
    }
    // REGISTRA refuses it alike.
    compilaValido();
    form->CBrap->setEditText(QStringLiteral("XYZ"));
    scripted.messages.clear();
    clic("bregistra_0");
    EXPECT_EQ(righe(), 0);
    EXPECT_TRUE(messaggio().contains(QStringLiteral("13=Descrizione"))) << messaggio().toStdString();
}

// The command writes the form unvalidated and unsaved; but with no code on screen, or a date it cannot write
// as ddmmyyyy, it writes nothing and asks for no file.
TEST_F(ComunicazioneForm, TheCommandWritesTheFormAsItStandsWithoutSaving)
{
    F0 finestra(creaRegistro);
    finestra.show();
    finestra.CommandBars_Execute(ComandoAggiungi, QStringLiteral("Aggiungi"));
    auto* registro = dynamic_cast<F1OP*>(finestra.registro());
    ASSERT_NE(registro, nullptr);
    const auto crea = [&] {
        scripted.messages.clear();
        finestra.CommandBars_Execute(ComandoCreaComunicazione, QStringLiteral("Crea Comunicazione"));
    };
    const QString path = home.file(QStringLiteral("rossi.txt"));
    scripted.saveAnswers.push_back(path);

    registro->topiva->setText(QStringLiteral("   ")); // blanks only: trimmed away
    crea();
    EXPECT_TRUE(scripted.saveRequests.empty());
    ASSERT_EQ(scripted.messages.size(), 1u) << scripted.messageTexts().join("|").toStdString();
    EXPECT_EQ(messaggio(), QStringLiteral("Codice Fiscale non indicato: la comunicazione non è stata creata."));

    // Record 2's code is the subject type's first two characters: a type that gives no code is refused on its list.
    registro->topiva->setText(QStringLiteral("12345678901"));
    for (const auto& [tipo, motivo] : {std::pair{"", "Indicare il tipo di soggetto"}, {"XYZ", "(13=Descrizione)"}}) {
        registro->CBrap->setEditText(QLatin1String(tipo));
        crea();
        EXPECT_TRUE(scripted.saveRequests.empty()) << tipo;
        EXPECT_TRUE(messaggio().contains(QLatin1String(motivo))) << messaggio().toStdString();
    }
    registro->CBrap->setCurrentIndex(0);

    NomeCorrente = QStringLiteral("ALTRO SOGGETTO"); // left by the subject loaded before
    registro->topiva->setText(QStringLiteral("  12345678901 "));
    registro->o2->setChecked(true);
    registro->vOCOG->setText(QStringLiteral("ROSSI"));
    registro->vONOME->setText(QStringLiteral(" MARIO"));
    registro->vONDT->setText(QStringLiteral("1/2/1980"));
    crea();
    EXPECT_TRUE(scripted.saveRequests.empty()) << "refused before the operator is asked where to write";
    EXPECT_TRUE(messaggio().startsWith("ERR COMMANDBARS EXECUTE: ")) << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(QStringLiteral("\"Data di nascita\" (scheda SOGGETTO)")));

    registro->vONDT->setText(QStringLiteral("01/01/1980"));
    registro->vPEEMAIL->setText(QStringLiteral("NOT SAVED@PEC.IT"));
    crea();
    EXPECT_EQ(righe(), 0); // nothing saved, nothing validated
    ASSERT_EQ(scripted.saveRequests.size(), 1u);
    EXPECT_EQ(scripted.saveRequests[0].fileName, "OVIA_ROSSIMARIO_001.TXT");
    const auto records = recordsOf(path);
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(field(records[0], 8, 16), "12345678901     ");
    EXPECT_EQ(field(records[0], 76, 8), "01011980");
    EXPECT_EQ(field(records[1], 238, 100), QByteArray("NOT SAVED@PEC.IT").leftJustified(100, ' '));
    EXPECT_TRUE(shown(QStringLiteral("Comunicazione Creata")));
}

} // namespace ondavia::test
