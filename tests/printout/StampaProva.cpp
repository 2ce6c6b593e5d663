#include "StampaProva.h"

#include "app/Dichiarazioni.h"
#include "core/Hooks.h"
#include "printout/CollegamentoPdf.h"
#include "register/CreaRegistro.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include <algorithm>
#include <cstdlib>

namespace ondavia::test {

QString confrontaImmagine(const QString& pdf, const QString& riferimento)
{
    const QString radice = QDir::temp().filePath(QFileInfo(riferimento).completeBaseName() + QStringLiteral("-ottenuta"));
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                       pdf, radice});
    const QString disegnata = radice + QStringLiteral(".png");
    const QImage ottenuta = QImage(disegnata).convertToFormat(QImage::Format_RGB32);
    const QImage attesa = QImage(riferimento).convertToFormat(QImage::Format_RGB32);
    if (ottenuta.isNull() || attesa.isNull() || ottenuta.size() != attesa.size()) {
        return QStringLiteral("pictures of different sizes, or missing: ") + disegnata;
    }
    qint64 diversi = 0;
    for (int y = 0; y < attesa.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(attesa.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(ottenuta.constScanLine(y));
        for (int x = 0; x < attesa.width(); ++x) {
            const int d = std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                                    std::abs(qBlue(a[x]) - qBlue(b[x]))});
            diversi += d > 16 ? 1 : 0;
        }
    }
    const qint64 ammessi = qint64(attesa.width()) * attesa.height() / 1000;
    if (diversi > ammessi) {
        return QStringLiteral("%1 pixels differ (at most %2): %3").arg(diversi).arg(ammessi).arg(disegnata);
    }
    QFile::remove(disegnata);
    return {};
}

void StampaProva::SetUp()
{
    RegistroProva::SetUp();
    CollegaScrittorePdf();
    folian::Hooks hooks = folian::DefaultHooks();
    hooks.now = [] { return folian::LocalDateTime{2026, 12, 5, 14, 3, 9}; };
    folian::SetDefaultHooks(std::move(hooks));
    scripted.desktop = home.file(QStringLiteral("Desktop"));
    QDir().mkpath(scripted.desktop);
    finestra = std::make_unique<F0>(CreaRegistro);
    finestra->show();
}

void StampaProva::TearDown()
{
    finestra.reset();
    folian::SetDefaultHooks({});
    RegistroProva::TearDown();
}

std::map<QString, QString> StampaProva::personaFisica()
{
    return {
        {"OCOD", "DNGMRA70C45H501Z"}, {"ONPROG", "001"}, {"OSTP", "0"}, {"ODES", "D'ANGELO MARIA"},
        {"oTIPOSOG", "13"}, {"OTIPOSOGD", "13=SOCIETÀ DI GESTIONE DEL RISPARMIO"}, {"OCOG", "D'ANGELO"},
        {"ONOME", "MARIA"}, {"OSEX", "F"}, {"ONDT", "05/03/1970"}, {"oncom", "SANT'ANGELO DI PIOVE DI SACCO"},
        {"onpro", "PD"}, {"ORECF", "BNCLGU80A01F205X"}, {"ORECOG", "BIANCHI"}, {"ORENOME", "LUIGI"}, {"ORESEX", "M"},
        {"OREDTNAS", "01/01/1980"}, {"oRENCOM", "MILANO"}, {"oREnpro", "MI"},
        {"OREEMAIL", "luigi.bianchi@esempio.it"}, {"ORETEL", "02 1234567"},
        {"OPEEMAIL", "dangelo.maria@pec.esempio.it"}, {"OPEDATAI", "01/02/2021"}, {"OPEDATAF", "31/12/2025"},
        {"OPEGESTORE", "ARUBA PEC S.P.A."}, {"odtcanc", ""}, {"OMC1", "0"}, {"OMC2", "0"}, {"OMC3", "0"},
        {"OMOC1", "1"}, {"OMOC2", "0"}, {"OMOC3", "1"}, {"OSICF", ""}, {"OSIRAG", ""}, {"OSICOM", ""}, {"OSIPRO", ""},
        {"OITTCF", "VRDGPP75B02L219K"}, {"oitt1", "0"}, {"oitt2", "-1"}, {"OTIPOCOM1", "-1"}, {"OTIPOCOM2", "0"},
        {"orag", ""}, {"OSCOM", ""}, {"OSPRO", ""},
    };
}

std::map<QString, QString> StampaProva::personaNonFisica()
{
    const QString ragione =
        QStringLiteral("CAFFÈ & CIOCCOLATO DELL'ADRIATICO SOCIETÀ COOPERATIVA A R.L. - FILIALE");
    return {
        {"OCOD", "01234567897"}, {"ONPROG", "002"}, {"OSTP", "1"}, {"ODES", ragione}, {"oTIPOSOG", "02"},
        {"OTIPOSOGD", "02=BANCHE"}, {"orag", ragione}, {"OSCOM", "SAN BENEDETTO DEL TRONTO"}, {"OSPRO", "AP"},
        {"OCOG", ""}, {"ONOME", ""}, {"OSEX", ""}, {"oncom", ""}, {"onpro", ""}, {"ORECF", "RSSMRA70C05H501U"},
        {"ORECOG", "ROSSI"}, {"ORENOME", "MARIO"}, {"ORESEX", "M"}, {"OREDTNAS", "05/03/1970"}, {"oRENCOM", "ROMA"},
        {"oREnpro", "RM"}, {"OREEMAIL", "mario.rossi@caffe-adriatico.it"}, {"ORETEL", "+39 0735 123456"},
        {"OPEEMAIL", "amministrazione.generale.caffe-cioccolato-adriatico@legalmail.it"}, {"OPEDATAI", "15/09/2019"},
        {"OPEDATAF", "30/06/2024"}, {"OPEGESTORE", "PEC € SERVIZI S.R.L."}, {"odtcanc", "30/06/2024"}, {"OMC1", "0"},
        {"OMC2", "-1"}, {"OMC3", "0"}, {"OMOC1", "1"}, {"OMOC2", "1"}, {"OMOC3", "0"}, {"OSICF", "09876543210"},
        {"OSIRAG", "VIA DELL'INDUSTRIA 12, SCALA B, PRESSO STUDIO ASSOCIATO"}, {"OSICOM", "REGGIO NELL'EMILIA"},
        {"OSIPRO", "RE"}, {"OITTCF", "VRDGPP75B02L219K"}, {"oitt1", "-1"}, {"oitt2", "0"}, {"OTIPOCOM1", "0"},
        {"OTIPOCOM2", "-1"},
    };
}

void StampaProva::stampa(const QString& codice, const QString& progressivo)
{
    auto* registro = dynamic_cast<F1OP*>(&finestra->apriRegistro());
    ASSERT_NE(registro, nullptr);
    CodiceCorrente = codice;
    registro->vONPROG->setText(progressivo);
    registro->Dettaglio();
    finestra->CommandBars_Execute(ComandoStampa, QStringLiteral("Stampa"));
}

QString StampaProva::desktop(const QString& nome) const
{
    return QDir(scripted.desktop).filePath(nome);
}

} // namespace ondavia::test
