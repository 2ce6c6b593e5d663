#include "RegistroProva.h"

#include "app/Archivio.h"
#include "app/CodiceFiscale.h"
#include "app/Dichiarazioni.h"
#include "app/Launch.h"
#include "core/Hooks.h"
#include "db/Recordset.h"
#include "printout/CollegamentoPdf.h"
#include "streams/QpdfSource.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

namespace ondavia::test {

namespace {
int argc = 1;
char nome[] = "RegistroTest";
char* argv[] = {nome, nullptr};
} // namespace

void RegistroProva::SetUpTestSuite()
{
    if (!qApp) {
        new QApplication(argc, argv);
    }
}

void RegistroProva::SetUp()
{
    ASSERT_TRUE(Main([] {}));
    form = std::make_unique<F1OP>();
}

void RegistroProva::preparaStampa()
{
    collegaScrittorePdf();
    folian::Hooks hooks = folian::DefaultHooks();
    hooks.now = [] { return folian::LocalDateTime{2026, 3, 2, 9, 30, 0}; };
    // The reader linked in: a test program has no module beside it.
    hooks.openPdf = folian::OpenWithQpdf;
    folian::SetDefaultHooks(std::move(hooks));
    scripted.desktop = home.file(QStringLiteral("Desktop"));
    QDir().mkpath(scripted.desktop);
}

void RegistroProva::apri()
{
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_TRUE(form->caricato());
}

void RegistroProva::clic(const char* pulsante) const
{
    auto* p = trova<QPushButton>(pulsante);
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p, Qt::LeftButton);
}

void RegistroProva::tasti(QWidget* campo, const QString& testo)
{
    for (const QChar c : testo) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(campo, c.toLatin1());
        } else {
            // Qt's key codes of the Latin-1 letters are the codes of their capitals.
            const auto tasto = static_cast<Qt::Key>(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Press, campo, tasto, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, campo, tasto, QString(c), Qt::NoModifier);
        }
    }
}

std::map<QString, QString> RegistroProva::registraValido()
{
    compilaValido();
    form->Conferma();
    std::map<QString, QString> salvata;
    for (const auto& [campo, valore] : riga(QStringLiteral("12345678901"), QStringLiteral("001"))) {
        if (!valore.isNull()) {
            salvata[campo] = valore.toText();
        }
    }
    return salvata;
}

void RegistroProva::inserisci(const std::map<QString, QString>& campi) const
{
    db::Recordset rs;
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM COPE WHERE 1=0"), Conn)) << rs.lastError().toStdString();
    ASSERT_TRUE(rs.AddNew());
    for (const auto& [campo, valore] : campi) {
        ASSERT_TRUE(rs.Fields(campo).setValue(valore)) << campo.toStdString() << rs.lastError().toStdString();
    }
    ASSERT_TRUE(rs.Update()) << rs.lastError().toStdString();
}

int RegistroProva::righe(const QString& condizione) const
{
    db::Recordset rs;
    EXPECT_TRUE(rs.Open(QStringLiteral("SELECT * FROM COPE WHERE ") + condizione, Conn));
    return rs.RecordCount();
}

std::map<QString, db::Value> RegistroProva::riga(const QString& codice, const QString& progressivo) const
{
    db::Recordset rs;
    std::map<QString, db::Value> campi;
    EXPECT_TRUE(
        rs.Open(QStringLiteral("SELECT * FROM COPE WHERE OCOD='%1' AND ONPROG='%2'").arg(codice, progressivo), Conn));
    EXPECT_EQ(rs.RecordCount(), 1) << codice.toStdString() << "/" << progressivo.toStdString();
    for (int i = 0; i < rs.FieldCount() && !rs.Eof(); ++i) {
        campi[rs.Fields(i).name()] = rs.Fields(i).Value();
    }
    return campi;
}

QList<QByteArray> RegistroProva::recordsOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

void RegistroProva::compilaValido()
{
    if (!ComuniCaricati) {
        EXPECT_TRUE(CaricaComuni());
    }
    const QString responsabile = QStringLiteral("RSSMRA80A01H501");
    if (form->modificato()) {
        scripted.answers.push_front(MsgResult::No);
    }
    form->Aggiungi();
    form->CBrap->setCurrentIndex(0);
    const std::pair<QLineEdit*, QString> testi[] = {
        {form->topiva, QStringLiteral("12345678901")},
        {form->torag, QStringLiteral("ALFA SPA")},
        {form->vOSCOM, QStringLiteral("ROMA")},
        {form->vOSPRO, QStringLiteral("RM")},
        {form->vRECF, responsabile + QChar(ControllaCF(responsabile + QLatin1Char('?')))},
        {form->vRECOG, QStringLiteral("ROSSI")},
        {form->vRENOME, QStringLiteral("MARIO")},
        {form->vRESEX, QStringLiteral("M")},
        {form->vREDTNAS, QStringLiteral("01/01/1980")},
        {form->vRENCOM, QStringLiteral("ROMA")},
        {form->vRENPRO, QStringLiteral("RM")},
        {form->vREEMAIL, QStringLiteral("MARIO@ALFA.IT")},
        {form->vRETEL, QStringLiteral("06123456")},
        {form->vPEEMAIL, QStringLiteral("ALFA@PEC.IT")},
        {form->vPEDATAI, QStringLiteral("01/02/2020")},
        {form->vPEGESTORE, QStringLiteral("ARUBA")},
    };
    for (const auto& [c, testo] : testi) {
        c->setText(testo);
    }
    form->MOC1->setChecked(true);
}

void RegistroProva::personaValida()
{
    compilaValido();
    form->o2->setChecked(true);
    for (const auto& [casella, testo] : {std::pair{form->vOCOG, "ROSSI"},
                                         {form->vONOME, "ANNA"},
                                         {form->vOSEX, "F"},
                                         {form->vONDT, "05/03/1962"},
                                         {form->vONCOM, "ROMA"},
                                         {form->vONPRO, "RM"}}) {
        casella->setText(QLatin1String(testo));
    }
}

} // namespace ondavia::test
