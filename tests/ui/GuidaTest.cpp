// The program's own help document on the communication file: written at its first need by the program's
// PDF writer, read back by the system's PDF tools, never written over an office's own copy.
#include "ShellFixture.h"

#include "../pdf/PdfTestSupport.h"

#include <QDir>
#include <QFile>

using namespace ondavia;
using namespace ondavia::test;

TEST_F(ShellTest, TheFileCheckDocumentIsTheProgramsOwnWrittenWhenMissing)
{
    auto finestra = finestraAperta();
    QAction* controllo = comando(popup(*finestra, "Aiuto"), 7061, "Controllo con Entratel/Fisconline");
    const QString guida = QDir::toNativeSeparators(home.file("Help/ONDAVIA_CONTROLLOFILE.pdf"));

    // A file where the help folder should be: told, with the folder, and nothing opens.
    home.write("Help", "non una cartella");
    controllo->trigger();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.contains(QDir::toNativeSeparators(home.file("Help"))))
        << desktop.messages[0].text.toStdString();
    EXPECT_FALSE(desktop.messages[0].text.startsWith("ERR COMMANDBARS"));
    EXPECT_TRUE(desktop.opened.empty());
    ASSERT_TRUE(QFile::remove(home.file("Help")));

    desktop.messages.clear();
    controllo->trigger();
    EXPECT_TRUE(desktop.messages.empty()) << desktop.messageTexts().join('\n').toStdString();
    EXPECT_EQ(desktop.opened, std::vector<QString>{guida});

    const auto lettori = folian::test::readWithReaders(guida.toStdString());
    EXPECT_TRUE(lettori.qpdfClean) << lettori.qpdfOutput;
    EXPECT_EQ(lettori.pdfinfoStderr, "");
    EXPECT_EQ(lettori.field("Title"), "Ondavia - Il file di comunicazione al REI");
    EXPECT_GE(std::stoi(lettori.field("Pages")), 2);
    const QString testo =
        QString::fromUtf8(folian::test::runCommand("pdftotext -enc UTF-8 '" + guida.toStdString() + "' -").c_str())
            .simplified();
    // What the file holds, where it goes, what is refused, how it is checked and sent: in Italian, whole.
    for (const char* atteso :
         {"4 righe, dette record, ognuna lunga 1798 caratteri", "Record \"0\", il soggetto e il tipo di comunicazione",
          "Record \"1\", il responsabile", "Record \"2\", il tipo di soggetto e la cancellazione",
          "Record \"9\", la chiusura", "OVIA_ROSSIMARIO_001.TXT", "si apre sul Desktop", "Che cosa controlla Ondavia",
          "un carattere che la codifica del file non ha", "Comunicazione Creata",
          "CONTROLLO COMUNICAZIONE AL REGISTRO REI", "con Desktop Telematico - Entratel o Fisconline",
          "perdita dei requisiti soggettivi", "società incorporante"}) {
        EXPECT_TRUE(testo.contains(QString::fromUtf8(atteso))) << atteso;
    }
    EXPECT_FALSE(testo.contains(QChar(0xFFFD)));
    // Every word on its page, inside the margins.
    const auto parole = folian::test::placedWords(guida.toStdString());
    EXPECT_GT(parole.size(), 400u);
    for (const auto& parola : parole) {
        EXPECT_GE(parola.xMin, 50) << parola.text;
        EXPECT_LE(parola.xMax, 596 - 50) << parola.text;
        EXPECT_LE(parola.yMax, 842 - 20) << parola.text;
    }

    // An office's own document in its place is opened as it is, never written over.
    home.write("Help/ONDAVIA_CONTROLLOFILE.pdf", "%PDF-1.4\n% guida dello studio\n");
    desktop.opened.clear();
    controllo->trigger();
    EXPECT_EQ(home.read("Help/ONDAVIA_CONTROLLOFILE.pdf"), "%PDF-1.4\n% guida dello studio\n");
    EXPECT_EQ(desktop.opened, std::vector<QString>{guida});
    EXPECT_TRUE(desktop.messages.empty());
}
