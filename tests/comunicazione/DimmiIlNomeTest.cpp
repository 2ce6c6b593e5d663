#include "app/DimmiIlNome.h"
#include "app/Dichiarazioni.h"
#include "platform/ScriptedPlatform.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ondavia;

TEST(DimmiIlNomeTest, NomiProposti)
{
    const struct {
        const char *tipo, *nome, *suffisso, *proposto, *nomeDopo;
    } casi[] = {
        {"C", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "002", "OVIA_ABCDEFGHIJKLMNO_002.TXT", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {"S", "abcdefghijklmnopqrstuvwxyz", "20210109", "SAVE_ABCDEFGHIJKLMNOPQRST20210109.REI",
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    };
    for (const auto& caso : casi) {
        ScriptedPlatform scripted;
        scripted.desktop = QStringLiteral("/home/op/Scrivania");
        PlatformScope scope(scripted);
        QString nome = QString::fromUtf8(caso.nome);
        NomeFileScelto = QStringLiteral("di prima");
        DimmiIlNome(QString::fromLatin1(caso.tipo), nome, QString::fromLatin1(caso.suffisso)); // cancelled
        EXPECT_EQ(NomeFileScelto, QString()) << caso.proposto;
        EXPECT_EQ(nome, QString::fromUtf8(caso.nomeDopo)) << caso.proposto;
        ASSERT_EQ(scripted.saveRequests.size(), 1u) << caso.proposto;
        const FileRequest& r = scripted.saveRequests[0];
        const bool c = caso.tipo[0] == 'C';
        EXPECT_EQ(r.fileName, QString::fromLatin1(caso.proposto));
        EXPECT_EQ(r.initialFolder, QStringLiteral("/home/op/Scrivania"));
        EXPECT_EQ(r.filter, c ? QStringLiteral("Testo (*.TXT)|*.TXT") : QStringLiteral("BackUp REI (*.REI)|*.REI"));
    }
}

TEST(DimmiIlNomeTest, RifiutiAnnullamentoERipristino)
{
    QTemporaryDir cartella;
    const QString primo = cartella.filePath(QStringLiteral("A.TXT"));
    const QString secondo = cartella.filePath(QStringLiteral("B.TXT"));
    for (const QString& esistente : {primo, secondo}) {
        QFile f(esistente);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString nuovo = cartella.filePath(QStringLiteral("NUOVO.TXT"));
    const struct {
        const char* nome;
        std::vector<std::optional<QString>> scelte;
        std::vector<MsgResult> risposte; // to "replace it?"
        QString scelto;
    } casi[] = {
        {"refuse twice, then a new file", {primo, secondo, nuovo}, {MsgResult::No, MsgResult::No}, nuovo},
        {"refuse, then replace", {primo, primo}, {MsgResult::No, MsgResult::Yes}, primo},
        {"cancel after refusals", {primo, secondo, std::nullopt}, {MsgResult::No, MsgResult::No}, QString()},
    };
    for (const auto& caso : casi) {
        ScriptedPlatform scripted;
        PlatformScope scope(scripted);
        scripted.saveAnswers.assign(caso.scelte.begin(), caso.scelte.end());
        scripted.answers.assign(caso.risposte.begin(), caso.risposte.end());
        QString nome = QStringLiteral("rossi");
        DimmiIlNome(QStringLiteral("C"), nome, QStringLiteral("001"));
        EXPECT_EQ(NomeFileScelto, caso.scelto) << caso.nome;
        EXPECT_EQ(scripted.messages.size(), caso.risposte.size()) << caso.nome;
        ASSERT_EQ(scripted.saveRequests.size(), caso.scelte.size()) << caso.nome;
        // Each round opens on the path chosen in the round before.
        for (std::size_t i = 1; i < caso.scelte.size(); ++i) {
            EXPECT_EQ(scripted.saveRequests[i].fileName, *caso.scelte[i - 1]) << caso.nome << i;
        }
    }

    // A backup to restore: the open dialog, nothing proposed, no question, the name left as it was. Any other
    // kind opens no dialog and chooses nothing.
    for (const char* tipo : {"R", "c"}) {
        ScriptedPlatform scripted;
        scripted.desktop = cartella.path();
        PlatformScope scope(scripted);
        scripted.openAnswers = {primo};
        scripted.saveAnswers = {primo};
        QString nome = QStringLiteral(" rossi ");
        NomeFileScelto = secondo;
        DimmiIlNome(QLatin1String(tipo), nome, QStringLiteral("001"));
        const bool ripristino = *tipo == 'R';
        EXPECT_EQ(NomeFileScelto, ripristino ? primo : QString()) << tipo;
        EXPECT_EQ(nome, QStringLiteral(" rossi "));
        EXPECT_TRUE(scripted.messages.empty() && scripted.saveRequests.empty()) << tipo;
        ASSERT_EQ(scripted.openRequests.size(), ripristino ? 1u : 0u) << tipo;
        if (ripristino) {
            const FileRequest& r = scripted.openRequests[0];
            EXPECT_EQ(r.filter, QStringLiteral("BackUp REI (*.REI)|*.REI"));
            EXPECT_TRUE(r.initialFolder.isEmpty() && r.fileName.isEmpty());
        }
    }
    resetDichiarazioni();
}
