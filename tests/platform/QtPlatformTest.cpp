#include "platform/QtPlatform.h"
#include "platform/Platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

using namespace ondavia;

namespace {

TEST(Mailto, RecipientsSubjectAndBodyArriveExactlyAsWritten)
{
    const std::vector<std::pair<MailRequest, QByteArray>> casi{
        {{"assistenza@ondavia.test", "RICHIESTA Utente Ondavia: ", {}},
         "mailto:assistenza@ondavia.test?subject=RICHIESTA%20Utente%20Ondavia%3A%20"},
        // "+" would read as a blank in some mail programs, "&", "#" and "?" would end the field.
        {{"rei+uffici@ondavia.test,commerciale@ondavia.test", "Più & meno? #1 al 100%", "riga 1\nriga=2"},
         "mailto:rei%2Buffici@ondavia.test,commerciale@ondavia.test"
         "?subject=Pi%C3%B9%20%26%20meno%3F%20%231%20al%20100%25&body=riga%201%0Ariga%3D2"},
        // No recipient: the user writes one in.
        {{{}, "Utente TAMISO - Comunicazione Rapporti Continuativi", {}},
         "mailto:?subject=Utente%20TAMISO%20-%20Comunicazione%20Rapporti%20Continuativi"},
    };
    for (const auto& [mail, atteso] : casi) {
        SCOPED_TRACE(atteso.toStdString());
        const QByteArray indirizzo = mailtoAddress(mail);
        EXPECT_EQ(indirizzo, atteso);
        // What the desktop receives is the same address, not re-encoded on the way.
        EXPECT_EQ(QUrl::fromEncoded(indirizzo, QUrl::StrictMode).toEncoded(), atteso);
    }
}

// Every box shows its whole title, with room beside it for a title bar's icon and three buttons (24 pixels
// each, and the frame), and its whole text, however long a path in it.
TEST(QtMessageBox, ShowsItsWholeTitleAndText)
{
    const QString percorso = "/home/operatore/Scrivania/" + QString(40, 'X') + "/OVIA_DANGELOMARIA_20261205.pdf";
    const std::vector<MessageRequest> casi{
        {"Il documento \r\n \r\n/tmp/a.pdf\r\n \r\nesiste già. Vuoi sostituirlo?  ", "Controllo Documento",
         MsgIcon::Information, MsgButtons::YesNo, 1},
        {"Errore Creazione Email: \r\nnessun programma", "Programma di posta NON disponibile", MsgIcon::Critical,
         MsgButtons::Ok, 1},
        {"Errore stampa documento\r\n \r\n" + percorso + "\r\n \r\nIl disco è pieno.", "", MsgIcon::None,
         MsgButtons::Ok, 1},
        {"Sì?", "Richiesta Conferma", MsgIcon::Question, MsgButtons::YesNo, 2},
    };
    QtPlatform piattaforma;
    for (const MessageRequest& richiesta : casi) {
        SCOPED_TRACE(richiesta.title.toStdString());
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            visto = true;
            QFont carattere = QApplication::font("QMdiSubWindowTitleBar");
            carattere.setBold(true);
            const int titolo = QFontMetrics(carattere).horizontalAdvance(box->windowTitle());
            EXPECT_GE(box->width(), titolo + 4 * 24 + 16) << box->windowTitle().toStdString();
            EXPECT_LE(box->width(), box->screen()->availableGeometry().width());
            const auto* testo = box->findChild<QLabel*>("qt_msgbox_label");
            ASSERT_NE(testo, nullptr);
            EXPECT_EQ(testo->text(), richiesta.text);
            EXPECT_LE(testo->geometry().right(), box->width());
            EXPECT_GE(testo->height(), testo->heightForWidth(testo->width()));
            box->buttons().front()->click();
        });
        piattaforma.messageBox(richiesta);
        EXPECT_TRUE(visto);
    }
}

} // namespace
