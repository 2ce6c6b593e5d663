#include "Verifiche.h"

#include "../pdf/PdfTestSupport.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace ondavia::test {

namespace {

QString eseguiPdftotext(const QStringList& argomenti)
{
    QProcess processo;
    processo.start(QStringLiteral("pdftotext"), argomenti);
    processo.waitForFinished(20000);
    return QString::fromUtf8(processo.readAllStandardOutput());
}

QString senzaEntita(QString testo)
{
    testo.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    testo.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    testo.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    testo.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    testo.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    testo.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return testo;
}

} // namespace

std::vector<Parola> paroleDi(const QString& pdf)
{
    static const QRegularExpression parola(QStringLiteral(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re"));
    const QString xml = eseguiPdftotext({QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    std::vector<Parola> parole;
    for (auto it = parola.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        const float x0 = m.captured(1).toFloat() / scheda::kPuntiPerCm;
        const float y0 = m.captured(2).toFloat() / scheda::kPuntiPerCm;
        const float x1 = m.captured(3).toFloat() / scheda::kPuntiPerCm;
        const float y1 = m.captured(4).toFloat() / scheda::kPuntiPerCm;
        parole.push_back({{x0, y0, x1 - x0, y1 - y0}, senzaEntita(m.captured(5))});
    }
    return parole;
}

QString testoDi(const QString& pdf)
{
    return eseguiPdftotext({pdf, QStringLiteral("-")});
}

void verificaCaratteri(const QString& pdf)
{
    const auto caratteri = folian::test::listedFonts(pdf.toStdString());
    EXPECT_FALSE(caratteri.empty());
    for (const auto& riga : caratteri) {
        // The writer names Helvetica and Helvetica-Bold by their standard aliases; readers never want them embedded.
        const std::vector<std::string> regolare{"Arial", "Type", "1", "WinAnsi", "no"};
        const std::vector<std::string> grassetto{"Arial,Bold", "Type", "1", "WinAnsi", "no"};
        EXPECT_TRUE(riga == regolare || riga == grassetto) << (riga.empty() ? std::string() : riga[0]);
    }
}

} // namespace ondavia::test
