#include "../support/ServizioHttps.h"

#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

using namespace ondavia;
using namespace ondavia::test;

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
        {{"a@b.test", {}, {}}, "mailto:a@b.test"},
    };
    for (const auto& [mail, atteso] : casi) {
        SCOPED_TRACE(atteso.toStdString());
        const QByteArray indirizzo = mailtoAddress(mail);
        EXPECT_EQ(indirizzo, atteso);
        // What the desktop receives is the same address, not re-encoded on the way.
        EXPECT_EQ(QUrl::fromEncoded(indirizzo, QUrl::StrictMode).toEncoded(), atteso);
    }
}

TEST(QtPlatformDownload, TheProgressWindowShowsWhatIsDownloadedAndItsCancelStopsIt)
{
    ServizioHttps servizio;
    ASSERT_TRUE(servizio.errore().isEmpty()) << servizio.errore().toStdString();
    servizio.pubblica("/programma", QByteArray(200 * 1024, 'x'));
    QtPlatform desktop;
    desktop.downloader().addTrustedCertificates(servizio.certificati());
    QTemporaryDir dir;

    DownloadRequest r;
    r.address = servizio.indirizzo("/lento/programma");
    r.targetFile = dir.filePath("programma");
    r.maxBytes = 1 << 20;
    r.caption = "Scaricamento di programma in corso...";

    QString etichetta;
    QTimer controllo;
    QObject::connect(&controllo, &QTimer::timeout, [&] {
        for (QWidget* finestra : QApplication::topLevelWidgets()) {
            auto* progresso = qobject_cast<QProgressDialog*>(finestra);
            if (progresso && progresso->objectName() == "scaricamento" && progresso->isVisible()) {
                etichetta = progresso->labelText();
                progresso->findChild<QPushButton*>()->click();
                controllo.stop();
            }
        }
    });
    controllo.start(50);
    QString errore;
    EXPECT_EQ(desktop.download(r, &errore), DownloadOutcome::Cancelled) << errore.toStdString();
    EXPECT_EQ(etichetta, r.caption);
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

} // namespace
