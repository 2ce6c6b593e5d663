// The register form's dates: a two-digit birth year read as the year of someone of age, alike in the form, the
// communication file and the print-out; no date saved that a backup could not bring back, nor a birth to come.

#include "RegistroProva.h"

#include "app/Dates.h"
#include "app/Dichiarazioni.h"
#include "printout/DatiScheda.h"
#include "ui/Controlli.h"

#include <QApplication>
#include <QTabWidget>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

class Date : public RegistroProva {};

} // namespace

// Two-digit years around the birthday of those who turn 16 today: of this century once 16 years are gone.
TEST_F(Date, TwoDigitBirthYearsAreOfSomeoneOfAge)
{
    const QDate sedici = QDate::currentDate().addYears(-16);
    ASSERT_GE(sedici.year(), 2000);
    const std::pair<QDate, int> casi[] = {
        // the date written, and the century it is read in
        {sedici, 2000},              // 16 today
        {sedici.addDays(1), 1900},   // 16 tomorrow
        {sedici.addYears(-1), 2000}, // 17
        {sedici.addYears(1), 1900},  // 15
        {QDate(1997, 4, 7), 1900},
    };
    apri();
    for (const auto& [data, secolo] : casi) {
        const QDate attesa(secolo + data.year() % 100, data.month(), data.day());
        SCOPED_TRACE(attesa.toString(Qt::ISODate).toStdString());
        const QString corta = data.toString(QStringLiteral("dd/MM/yy"));
        const QString lunga = attesa.toString(QStringLiteral("dd/MM/yyyy"));

        // Typed in both birth-date boxes and left.
        personaValida();
        for (const auto& [casella, scheda] : {std::pair{form->vONDT, 0}, {form->vREDTNAS, 1}}) {
            form->SSTab1->setCurrentIndex(scheda);
            casella->setText(QString(corta).remove(u'/'));
            lascia(casella, form->vRETEL->isVisible() ? static_cast<QWidget*>(form->vRETEL) : form->vONCOM);
            EXPECT_EQ(casella->text(), lunga) << casella->objectName().toStdString();
        }

        // Kept with two digits by an older register: the file and the print-out read the same year.
        clic("bregistra_0");
        ASSERT_EQ(righe(), 1) << messaggio().toStdString();
        ASSERT_TRUE(Conn.Execute(QStringLiteral("UPDATE COPE SET ONDT='%1', OREDTNAS='%1'").arg(corta)));
        form->Lista();
        ASSERT_EQ(form->vREDTNAS->text(), corta);
        const QString file = home.file(QStringLiteral("rossi.txt"));
        scripted.saveAnswers = {file};
        form->CreaComunicazione();
        const auto records = recordsOf(file);
        ASSERT_EQ(records.size(), 4) << messaggio().toStdString();
        const QByteArray ggmmaaaa = attesa.toString(QStringLiteral("ddMMyyyy")).toLatin1();
        EXPECT_EQ(field(records[0], 76, 8), ggmmaaaa);
        EXPECT_EQ(field(records[1], 70, 8), ggmmaaaa);
        QString errore;
        const auto scheda = DatiScheda::leggi(QStringLiteral("12345678901"), QStringLiteral("001"), &errore);
        ASSERT_TRUE(scheda) << errore.toStdString();
        EXPECT_EQ(scheda->valore("ONDT"), lunga);
        EXPECT_EQ(scheda->valore("OREDTNAS"), lunga);
        ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE")));
        QFile::remove(file);
    }
}

// A date the backup could not bring back is refused on its box, with the range in the message; so is a birth
// to come, but not one of today. The edges are those the restore reads.
TEST_F(Date, OnlyDatesABackupRestoresAreSaved)
{
    const QString oggi = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    const QString domani = QDate::currentDate().addDays(1).toString(QStringLiteral("dd/MM/yyyy"));
    const struct {
        const char* casella;
        QString testo;
        const char* rifiuto; // nullptr: accepted
    } casi[] = {
        {"vONDT", QStringLiteral("31/12/1899"), "dal 01/01/1900 al 31/12/2099"},
        {"vONDT", QStringLiteral("01/01/1900"), nullptr},
        {"vONDT", oggi, nullptr}, // born today: not yet in the future
        {"vONDT", domani, "nel futuro"},
        {"vREDTNAS", QStringLiteral("01/01/1850"), "dal 01/01/1900 al 31/12/2099"},
        {"vREDTNAS", oggi, nullptr},
        {"vREDTNAS", domani, "nel futuro"},
        {"vPEDATAI", QStringLiteral("01/01/1899"), "dal 01/01/1900 al 31/12/2099"},
        {"vPEDATAF", QStringLiteral("01/01/2100"), "dal 01/01/1900 al 31/12/2099"},
        {"vPEDATAF", QStringLiteral("31/12/2099"), nullptr},
        {"vDTCANC", QStringLiteral("01/01/2100"), "dal 01/01/1900 al 31/12/2099"},
    };
    apri();
    for (const auto& caso : casi) {
        SCOPED_TRACE(std::string(caso.casella) + " " + caso.testo.toStdString());
        personaValida();
        if (QByteArray(caso.casella) == "vDTCANC") {
            form->TC2->setChecked(true);
        }
        casella(caso.casella)->setText(caso.testo);
        scripted.messages.clear();
        form->Conferma();
        if (caso.rifiuto) {
            EXPECT_EQ(righe(), 0);
            EXPECT_TRUE(messaggio().contains(QLatin1String(caso.rifiuto))) << messaggio().toStdString();
            EXPECT_EQ(QApplication::focusWidget(), casella(caso.casella));
        } else {
            EXPECT_EQ(righe(), 1) << messaggio().toStdString();
            ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE")));
        }
        // What the form refuses for its range, a restore could not read back; what it keeps, a restore reads.
        if (!caso.rifiuto || QByteArray(caso.rifiuto).startsWith("dal")) {
            QString letto = caso.testo;
            EXPECT_EQ(TestoInData(letto), caso.rifiuto ? std::optional(db::zeroDate())
                                                       : std::optional(QDate::fromString(caso.testo, "dd/MM/yyyy")));
        }
    }
}

// The box in error is readable while its message is open: red with white text, not white on the focus colour;
// afterwards dark text on the focus colour.
TEST_F(Date, TheBoxInErrorCanBeRead)
{
    apri();
    std::vector<std::pair<QColor, QColor>> durante;
    scripted.onMessage = [&](const MessageRequest&) -> std::optional<MsgResult> {
        const QWidget* fuoco = QApplication::focusWidget();
        durante.emplace_back(fuoco->palette().color(QPalette::Base), fuoco->palette().color(QPalette::Text));
        return std::nullopt;
    };
    personaValida();
    form->vRETEL->clear();
    form->Conferma();
    form->SSTab1->setCurrentIndex(0);
    form->vONDT->setText(QStringLiteral("32/01/1980"));
    lascia(form->vONDT, form->vONCOM);
    ASSERT_EQ(durante.size(), 2u);
    for (const auto& [sfondo, testo] : durante) {
        EXPECT_EQ(sfondo, QColor(255, 0, 0));
        EXPECT_EQ(testo, QColor(255, 255, 255));
    }
    const QPalette dopo = form->vONDT->palette();
    EXPECT_EQ(dopo.color(QPalette::Base), coloreQt(ColoreFuoco));
    EXPECT_EQ(dopo.color(QPalette::Text), QApplication::palette(form->vONDT).color(QPalette::Text));
}
