#include "Verifiche.h"

#include <QProcess>
#include <QRegularExpression>

namespace ondavia::test {

namespace {

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

bool contiene(const scheda::Rettangolo& esterno, const scheda::Rettangolo& interno, float tolleranza)
{
    return interno.x >= esterno.x - tolleranza && interno.y >= esterno.y - tolleranza &&
           interno.destra() <= esterno.destra() + tolleranza && interno.basso() <= esterno.basso() + tolleranza;
}

bool interseca(const scheda::Rettangolo& a, const scheda::Rettangolo& b)
{
    return b.x < a.destra() && a.x < b.destra() && b.y < a.basso() && a.y < b.basso();
}

std::vector<Parola> paroleDi(const QString& pdf)
{
    static const QRegularExpression parola(QStringLiteral(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re"));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    pdftotext.waitForFinished(20000);
    const QString xml = QString::fromUtf8(pdftotext.readAllStandardOutput());
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

} // namespace ondavia::test
