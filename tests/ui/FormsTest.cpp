#include "ShellFixture.h"

#include "shell/FSezHelp.h"
#include "shell/FVer.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace ondavia;
using namespace ondavia::test;

TEST_F(ShellTest, TheVersionFormShowsTheReleaseOfTheTitleAndTheConfiguredAddresses)
{
    scriviIni("Mail_Commerciale = commerciale@ondavia.test\n");
    auto finestra = finestraAperta();
    bool visto = false;
    QTimer::singleShot(0, [&] {
        QWidget* versione = QApplication::activeModalWidget();
        if (!versione || versione->objectName() != "FVer") {
            ADD_FAILURE() << "the version form is not shown modally";
            return;
        }
        visto = true;
        EXPECT_EQ(versione->findChild<QLabel*>("Nrel")->text(), Release);
        EXPECT_EQ(versione->findChild<QLabel*>("Versione")->text(), VersioneProgramma);

        auto* commerciale = versione->findChild<QPushButton*>("PushButton1");
        auto* assistenza = versione->findChild<QPushButton*>("PushButton2");
        QTest::mouseClick(assistenza, Qt::LeftButton);
        QTest::mouseClick(commerciale, Qt::LeftButton);
        versione->findChild<QPushButton*>("command1")->click();
    });
    comando(finestra->barraBase(), 712, "Versione Programma")->trigger();
    EXPECT_TRUE(visto);
    // The address that is not configured is named by its key; the other one opens a message.
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.contains("Mail_Assistenza"));
    ASSERT_EQ(desktop.mails.size(), 1u);
    EXPECT_EQ(desktop.mails[0].to, "commerciale@ondavia.test");
}

TEST_F(ShellTest, TheSectionPictureExplainsTheSectionsAndAClickOpensTheQuestionsPage)
{
    FSezHelp aiuto;
    aiuto.show();
    auto* immagine = aiuto.findChild<QLabel*>("Picture1");

    QTest::mouseClick(immagine, Qt::LeftButton, {}, QPoint(immagine->width() - 5, immagine->height() - 5));
    QTest::mouseClick(immagine, Qt::RightButton);
    EXPECT_EQ(desktop.opened, std::vector<QString>{"https://www.agenziaentrate.gov.it/portale/web/guest/schede/"
                                                   "comunicazioni/registro-elettronico-degli-indirizzi-rei-/faq-rei"});
    EXPECT_TRUE(desktop.messages.empty());
}
