// The communication file from the register form: the form's own button (save and validate first) and
// the main window's command (the form's texts as they stand).

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"
#include "register/CreaRegistro.h"
#include "register/GrigliaSoggetti.h"
#include "shell/F0.h"

#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTest>

namespace ondavia::test {

namespace {

QList<QByteArray> recordsOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// Positions are 1-based, as in the record layouts.
QByteArray field(const QByteArray& record, int position, int length)
{
    return record.mid(position - 1, length);
}

} // namespace

class ComunicazioneForm : public RegistroProva {
protected:
    QString target(const QString& name) const { return QDir(home.path()).filePath(name); }

    // The main window, its register opened by the command "Aggiungi": a new subject on screen.
    F1OP* nuovoSoggetto(F0& finestra)
    {
        finestra.show();
        finestra.CommandBars_Execute(ComandoAggiungi, QStringLiteral("Aggiungi"));
        scripted.messages.clear(); // that first command found no child window open yet, and said so
        return dynamic_cast<F1OP*>(finestra.registro());
    }

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
    const QString path = target(QStringLiteral("alfa.txt"));
    scripted.saveAnswers.push_back(path);

    clic("CREACOM");

    ASSERT_EQ(scripted.saveRequests.size(), 1u);
    EXPECT_EQ(scripted.saveRequests[0].title, "Indica dove salvare il file di COMUNICAZIONE REI");
    EXPECT_EQ(scripted.saveRequests[0].fileName, "OVIA_ALFASPA_001.TXT");
    EXPECT_EQ(righe(QStringLiteral("OCOD='12345678901'")), 1);

    const auto records = recordsOf(path);
    ASSERT_EQ(records.size(), 4);
    for (const QByteArray& r : records) {
        EXPECT_EQ(r.size(), 1799); // 1798 and the CR
        EXPECT_TRUE(r.endsWith("A\r"));
    }
    EXPECT_EQ(field(records[0], 8, 16), "12345678901     ");
    EXPECT_EQ(field(records[0], 126, 60), QByteArray("ALFA SPA").leftJustified(60, ' '));
    EXPECT_EQ(field(records[1], 404, 3), "100");
    EXPECT_EQ(form->torag->text(), "ALFA SPA");

    ASSERT_FALSE(scripted.messages.empty());
    const MessageRequest& done = scripted.messages.back();
    EXPECT_EQ(done.title, "Comunicazione Creata");
    EXPECT_EQ(done.icon, MsgIcon::Information);
    EXPECT_TRUE(done.text.contains(path));

    // The subject saved is in the list and is its chosen row, so that choosing the subject that was
    // chosen before loads that one.
    ASSERT_EQ(form->modelloGriglia()->rowCount(), 2);
    EXPECT_EQ(form->IGOpe->currentIndex().row(), 0);
    form->IGOpe->setCurrentIndex(form->modelloGriglia()->index(1, 0));
    EXPECT_EQ(form->topiva->text(), QStringLiteral("99999999999"));
    EXPECT_EQ(form->torag->text(), QStringLiteral("ZETA SPA"));
}

TEST_F(ComunicazioneForm, TheButtonWritesNothingWhenTheFormDoesNotValidate)
{
    apri();
    compilaValido();
    form->topiva->clear();
    scripted.saveAnswers.push_back(target(QStringLiteral("x.txt")));

    clic("CREACOM");

    EXPECT_TRUE(scripted.saveRequests.empty());
    EXPECT_FALSE(QFile::exists(target(QStringLiteral("x.txt"))));
    EXPECT_FALSE(shown(QStringLiteral("Comunicazione Creata")));
}

TEST_F(ComunicazioneForm, ACancelledDialogEndsQuietlyAndAFailedWriteIsNoSuccess)
{
    apri();
    compilaValido();
    clic("CREACOM"); // the dialog is cancelled: no answer queued
    EXPECT_EQ(scripted.saveRequests.size(), 1u);
    EXPECT_FALSE(shown(QStringLiteral("Comunicazione Creata")));
    const auto quietCount = scripted.messages.size();

    const QString unreachable = target(QStringLiteral("missing/folder/alfa.txt"));
    scripted.saveAnswers.push_back(unreachable);
    clic("CREACOM");
    EXPECT_FALSE(QFile::exists(unreachable));
    EXPECT_FALSE(shown(QStringLiteral("Comunicazione Creata")));
    ASSERT_GT(scripted.messages.size(), quietCount);
    EXPECT_FALSE(scripted.messages.back().text.isEmpty());
}

TEST_F(ComunicazioneForm, TheCommandWritesTheFormAsItStandsWithoutSaving)
{
    F0 finestra(CreaRegistro);
    F1OP* registro = nuovoSoggetto(finestra);
    ASSERT_NE(registro, nullptr);
    NomeCorrente = QStringLiteral("ALTRO SOGGETTO"); // left by the subject loaded before
    registro->topiva->setText(QStringLiteral("  12345678901 "));
    registro->o2->setChecked(true);
    registro->vOCOG->setText(QStringLiteral("ROSSI"));
    registro->vONOME->setText(QStringLiteral(" MARIO"));
    registro->vONDT->setText(QStringLiteral("01/01/1980"));
    registro->vPEEMAIL->setText(QStringLiteral("NOT SAVED@PEC.IT"));
    const QString path = target(QStringLiteral("rossi.txt"));
    scripted.saveAnswers.push_back(path);

    finestra.CommandBars_Execute(ComandoCreaComunicazione, QStringLiteral("Crea Comunicazione"));

    EXPECT_EQ(righe(), 0); // nothing saved, nothing validated
    ASSERT_EQ(scripted.saveRequests.size(), 1u);
    EXPECT_EQ(scripted.saveRequests[0].fileName, "OVIA_ROSSIMARIO_001.TXT");
    const auto records = recordsOf(path);
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(field(records[0], 8, 16), "12345678901     ");
    EXPECT_EQ(field(records[0], 24, 26), QByteArray("ROSSI").leftJustified(26, ' '));
    EXPECT_EQ(field(records[0], 76, 8), "01011980");
    EXPECT_EQ(field(records[1], 238, 100), QByteArray("NOT SAVED@PEC.IT").leftJustified(100, ' '));
    EXPECT_TRUE(shown(QStringLiteral("Comunicazione Creata")));

    // A date box that holds no date stops the command with the dispatch's report, and no file.
    registro->vONDT->setText(QStringLiteral("31/31/1980"));
    const QString second = target(QStringLiteral("rossi2.txt"));
    scripted.saveAnswers.push_back(second);
    finestra.CommandBars_Execute(ComandoCreaComunicazione, QStringLiteral("Crea Comunicazione"));
    EXPECT_FALSE(QFile::exists(second));
    ASSERT_FALSE(scripted.messages.empty());
    EXPECT_TRUE(scripted.messages.back().text.startsWith("ERR COMMANDBARS EXECUTE: "))
        << scripted.messages.back().text.toStdString();
}

// A subject type typed or pasted with blanks before it carries in the file the code the register stores,
// not blanks in its place.
TEST_F(ComunicazioneForm, ASubjectTypeWithBlanksBeforeItGivesItsCode)
{
    apri();
    compilaValido();
    form->CBrap->setEditText(QStringLiteral("  ") + form->CBrap->itemText(0));
    const QString path = target(QStringLiteral("alfa.txt"));
    scripted.saveAnswers.push_back(path);
    clic("CREACOM");
    EXPECT_EQ(riga(QStringLiteral("12345678901"), QStringLiteral("001"))["oTIPOSOG"].toText(), QStringLiteral("13"));
    const auto records = recordsOf(path);
    ASSERT_EQ(records.size(), 4) << messaggio().toStdString();
    EXPECT_EQ(field(records[2], 2, 2), "13");
}

// A date the validation passes is a date the file can write: no text is validated and then refused.
TEST_F(ComunicazioneForm, TheValidationAndTheFileReadDatesAlike)
{
    apri();
    for (const char* quasiData : {"01/01/201", "01/2/X", "01/01/0099"}) {
        SCOPED_TRACE(quasiData);
        compilaValido();
        form->vPEDATAI->setText(QLatin1String(quasiData));
        scripted.messages.clear();
        clic("CREACOM");
        EXPECT_EQ(righe(), 0);
        EXPECT_TRUE(scripted.saveRequests.empty());
        EXPECT_EQ(messaggio().trimmed(), QStringLiteral("DATA DECORRENZA non valida"));
        EXPECT_EQ(form->vPEDATAI->text(), QLatin1String(quasiData)) << "left as typed";
    }

    compilaValido();
    form->vPEDATAI->setText(QStringLiteral("010220"));
    const QString path = target(QStringLiteral("alfa.txt"));
    scripted.saveAnswers.push_back(path);
    clic("CREACOM");
    EXPECT_EQ(form->vPEDATAI->text(), QStringLiteral("01/02/2020"));
    const auto records = recordsOf(path);
    ASSERT_EQ(records.size(), 4) << messaggio().toStdString();
    EXPECT_EQ(field(records[1], 388, 8), "01022020");
}

// The command writes the form unvalidated, but a date it cannot write as ddmmyyyy is refused, naming
// the field, instead of being written as garbage.
TEST_F(ComunicazioneForm, TheCommandRefusesADateOfOneDigitParts)
{
    F0 finestra(CreaRegistro);
    F1OP* registro = nuovoSoggetto(finestra);
    ASSERT_NE(registro, nullptr);
    registro->topiva->setText(QStringLiteral("12345678901"));
    registro->o2->setChecked(true);
    registro->vOCOG->setText(QStringLiteral("ROSSI"));
    registro->vONDT->setText(QStringLiteral("1/2/1980"));
    const QString path = target(QStringLiteral("rossi.txt"));
    scripted.saveAnswers.push_back(path);

    finestra.CommandBars_Execute(ComandoCreaComunicazione, QStringLiteral("Crea Comunicazione"));

    EXPECT_FALSE(QFile::exists(path)) << recordsOf(path).value(0).mid(75, 8).toStdString();
    EXPECT_TRUE(scripted.saveRequests.empty()) << "refused before the operator is asked where to write";
    EXPECT_FALSE(shown(QStringLiteral("Comunicazione Creata")));
    ASSERT_FALSE(scripted.messages.empty());
    EXPECT_TRUE(messaggio().contains(QStringLiteral("\"Data di nascita\" (scheda SOGGETTO)")))
        << messaggio().toStdString();
    EXPECT_TRUE(messaggio().contains(QStringLiteral("1/2/1980"))) << messaggio().toStdString();
}

// On an empty register the command has no subject to write: it says so, asks for no file, writes none.
TEST_F(ComunicazioneForm, TheCommandWithNoFiscalCodeOnScreenWritesNothing)
{
    F0 finestra(CreaRegistro);
    F1OP* registro = nuovoSoggetto(finestra);
    ASSERT_NE(registro, nullptr);
    ASSERT_EQ(registro->topiva->text(), QString());
    registro->topiva->setText(QStringLiteral("   ")); // blanks only: trimmed away
    scripted.saveAnswers.push_back(target(QStringLiteral("vuoto.txt")));

    finestra.CommandBars_Execute(ComandoCreaComunicazione, QStringLiteral("Crea Comunicazione"));

    EXPECT_TRUE(scripted.saveRequests.empty());
    EXPECT_FALSE(QFile::exists(target(QStringLiteral("vuoto.txt"))));
    EXPECT_FALSE(shown(QStringLiteral("Comunicazione Creata")));
    ASSERT_EQ(scripted.messages.size(), 1u) << scripted.messageTexts().join("|").toStdString();
    EXPECT_EQ(messaggio(), QStringLiteral("Codice Fiscale non indicato: la comunicazione non è stata creata."));
    EXPECT_EQ(scripted.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(registro->SSTab1->currentIndex(), 0);
}

} // namespace ondavia::test
