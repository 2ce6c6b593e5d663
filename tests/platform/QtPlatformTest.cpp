#include "platform/Platform.h"

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

} // namespace
