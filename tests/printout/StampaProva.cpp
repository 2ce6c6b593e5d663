#include "StampaProva.h"

#include "../support/FixedHooks.h"
#include "../support/SocietaCompleta.h"
#include "app/Dichiarazioni.h"
#include "printout/CollegamentoPdf.h"
#include "register/CreaRegistro.h"

#include <QDir>

namespace ondavia::test {

void StampaProva::SetUp()
{
    RegistroProva::SetUp();
    collegaScrittorePdf();
    folian::Hooks hooks = folian::DefaultHooks();
    hooks.now = folian::test::fixedHooks().now;
    // The reader linked in: a test program has no module beside it.
    hooks.openPdf = folian::test::fixedHooks().openPdf;
    folian::SetDefaultHooks(std::move(hooks));
    scripted.desktop = home.file(QStringLiteral("Desktop"));
    QDir().mkpath(scripted.desktop);
    finestra = std::make_unique<F0>(creaRegistro);
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
        {"OCOD", "DNGMRA70C45H501Z"},
        {"ONPROG", "001"},
        {"OSTP", "0"},
        {"ODES", "D'ANGELO MARIA"},
        {"oTIPOSOG", "13"},
        {"OTIPOSOGD", "13=SOCIETÀ DI GESTIONE DEL RISPARMIO"},
        {"OCOG", "D'ANGELO"},
        {"ONOME", "MARIA"},
        {"OSEX", "F"},
        {"ONDT", "05/03/1970"},
        {"oncom", "SANT'ANGELO DI PIOVE DI SACCO"},
        {"onpro", "PD"},
        {"ORECF", "BNCLGU80A01F205X"},
        {"ORECOG", "BIANCHI"},
        {"ORENOME", "LUIGI"},
        {"ORESEX", "M"},
        {"OREDTNAS", "01/01/1980"},
        {"oRENCOM", "MILANO"},
        {"oREnpro", "MI"},
        {"OREEMAIL", "luigi.bianchi@esempio.it"},
        {"ORETEL", "02 1234567"},
        {"OPEEMAIL", "dangelo.maria@pec.esempio.it"},
        {"OPEDATAI", "01/02/2021"},
        {"OPEDATAF", "31/12/2025"},
        {"OPEGESTORE", "ARUBA PEC S.P.A."},
        {"odtcanc", ""},
        {"OMC1", "0"},
        {"OMC2", "0"},
        {"OMC3", "0"},
        {"OMOC1", "1"},
        {"OMOC2", "0"},
        {"OMOC3", "1"},
        {"OSICF", ""},
        {"OSIRAG", ""},
        {"OSICOM", ""},
        {"OSIPRO", ""},
        {"OITTCF", "VRDGPP75B02L219K"},
        {"oitt1", "0"},
        {"oitt2", "-1"},
        {"OTIPOCOM1", "-1"},
        {"OTIPOCOM2", "0"},
        {"orag", ""},
        {"OSCOM", ""},
        {"OSPRO", ""},
    };
}

std::map<QString, QString> StampaProva::personaNonFisica()
{
    return societaCompleta(QStringLiteral("002"));
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
