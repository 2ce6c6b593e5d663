#include "app/widgets/Controlli.h"
#include "app/Dichiarazioni.h"
#include "platform/ScriptedPlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace ondavia;

namespace {

int argc = 1;
char nome[] = "ControlliTest";
char* argv[] = {nome, nullptr};

class ControlliTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance()) {
            new QApplication(argc, argv);
        }
    }

    void SetUp() override
    {
        ColoreFuoco = 0xC0FFFF;
        auto* layout = new QVBoxLayout(&m_form);
        m_casella = new QLineEdit(&m_form);
        m_altra = new QLineEdit(&m_form);
        layout->addWidget(m_casella);
        layout->addWidget(m_altra);
        m_form.show();
        m_form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
        m_altra->setFocus();
    }

    void TearDown() override { ResetDichiarazioni(); }

    static QColor sfondo(QWidget* w) { return w->palette().color(QPalette::Base); }
    static QColor testo(QWidget* w) { return w->palette().color(QPalette::Text); }

    ScriptedPlatform m_scripted;
    PlatformScope m_scope{m_scripted};
    QWidget m_form;
    QLineEdit* m_casella = nullptr;
    QLineEdit* m_altra = nullptr;
};

} // namespace

TEST(ColoriTest, DalFormatoDeiModuliAQt)
{
    EXPECT_EQ(coloreQt(0xC0FFFF), QColor(0xFF, 0xFF, 0xC0));
    EXPECT_EQ(coloreQt(0x8080FF), QColor(0xFF, 0x80, 0x80));
    EXPECT_EQ(coloreQt(0x0000FF), QColor(Qt::red));
    EXPECT_EQ(coloreForm(QColor(0x12, 0x34, 0x56)), 0x563412u);
}

TEST_F(ControlliTest, MostraErroreSegnaIlCampoEPoiLoRestituisce)
{
    QColor sfondoDurante;
    QColor testoDurante;
    QWidget* fuocoDurante = nullptr;
    m_scripted.onMessage = [&](const MessageRequest&) -> std::optional<MsgResult> {
        sfondoDurante = sfondo(m_casella);
        testoDurante = testo(m_casella);
        fuocoDurante = QApplication::focusWidget();
        return MsgResult::Ok;
    };
    QString messaggio = QStringLiteral("Data non valida");
    MostraErrore(m_casella, messaggio);

    EXPECT_EQ(sfondoDurante, QColor(Qt::red));
    EXPECT_EQ(testoDurante, QColor(Qt::white));
    EXPECT_EQ(fuocoDurante, m_casella);

    EXPECT_EQ(sfondo(m_casella), QColor(0xFF, 0xFF, 0xC0)) << "the focus colour";
    EXPECT_EQ(testo(m_casella), QApplication::palette(m_casella).color(QPalette::Text));
    EXPECT_EQ(QApplication::focusWidget(), m_casella);

    ASSERT_EQ(m_scripted.messages.size(), 1u);
    const MessageRequest& box = m_scripted.messages.front();
    EXPECT_EQ(box.title, QStringLiteral("Errore"));
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    // 15 characters: 30 - 7.5 = 22.5 blanks, rounded to the even 22.
    const QString margine(22, QLatin1Char(' '));
    EXPECT_EQ(box.text, margine + QStringLiteral("Data non valida") + margine);
    EXPECT_EQ(messaggio, box.text) << "the caller's message is padded too";
}

TEST_F(ControlliTest, MostraErroreCentraSoloIMessaggiBrevi)
{
    const auto mostrato = [this](const QString& testo) {
        QString m = testo;
        MostraErrore(m_casella, m);
        return m_scripted.messages.back().text;
    };
    EXPECT_EQ(mostrato(QString(13, QLatin1Char('x'))), QString(24, ' ') + QString(13, 'x') + QString(24, ' '))
        << "23.5 rounds to 24";
    EXPECT_EQ(mostrato(QString(14, QLatin1Char('x'))), QString(23, ' ') + QString(14, 'x') + QString(23, ' '));
    EXPECT_EQ(mostrato(QString(1, QLatin1Char('x'))), QString(30, ' ') + QStringLiteral("x") + QString(30, ' '))
        << "29.5 rounds to 30";
    EXPECT_EQ(mostrato(QString(29, QLatin1Char('x'))), QString(16, ' ') + QString(29, 'x') + QString(16, ' '));
    const QString lungo = QStringLiteral("Codice Fiscale errato. Correggere");
    EXPECT_EQ(mostrato(lungo), lungo);
    EXPECT_EQ(mostrato(QString(30, QLatin1Char('x'))), QString(30, QLatin1Char('x')));
}

TEST_F(ControlliTest, ControllaDataCampo)
{
    m_casella->setText(QStringLiteral("050321"));
    ControllaDataCampo(m_casella);
    EXPECT_EQ(m_casella->text(), QStringLiteral("05/03/2021"));
    EXPECT_TRUE(m_scripted.messages.empty());

    m_casella->setText(QStringLiteral("00.00.00"));
    ControllaDataCampo(m_casella);
    EXPECT_EQ(m_casella->text(), QStringLiteral("00.00.00"));
    EXPECT_TRUE(m_scripted.messages.empty());

    m_casella->setText(QStringLiteral("29/02/2021"));
    ControllaDataCampo(m_casella);
    EXPECT_EQ(m_casella->text(), QStringLiteral("29/02/2021")) << "left as typed";
    ASSERT_EQ(m_scripted.messages.size(), 1u);
    EXPECT_EQ(m_scripted.messages[0].text.trimmed(), QStringLiteral("Data non valida"));
    EXPECT_EQ(DataFormattata, QString());
    EXPECT_EQ(QApplication::focusWidget(), m_casella);
}

TEST_F(ControlliTest, PulisciForm)
{
    auto* gruppo = new QGroupBox(&m_form);
    auto* interna = new QLineEdit(QStringLiteral("RSSMRA"), gruppo);
    auto* modificabile = new QComboBox(gruppo);
    modificabile->setEditable(true);
    modificabile->addItems({QStringLiteral("13=OICR"), QStringLiteral("14=SGR")});
    modificabile->setCurrentIndex(1);
    auto* elenco = new QComboBox(&m_form);
    elenco->addItems({QStringLiteral("A"), QStringLiteral("B")});
    elenco->setCurrentIndex(1);
    auto* spunta = new QCheckBox(&m_form);
    spunta->setChecked(true);
    auto* note = new QPlainTextEdit(QStringLiteral("note"), &m_form);
    auto* aggiuntivo = new QComboBox(&m_form);
    aggiuntivo->addItems({QStringLiteral("A"), QStringLiteral("B")});
    aggiuntivo->setCurrentIndex(1);
    segnaAggiuntivo(aggiuntivo);
    auto* pulsante = new QPushButton(QStringLiteral("REGISTRA"), &m_form);
    auto* opzione = new QRadioButton(&m_form);
    opzione->setChecked(true);
    m_casella->setText(QStringLiteral("x"));

    PulisciForm(&m_form);

    EXPECT_EQ(m_casella->text(), QString());
    EXPECT_EQ(interna->text(), QString()) << "controls inside frames too";
    EXPECT_EQ(modificabile->currentText(), QString());
    EXPECT_EQ(modificabile->count(), 2) << "the list keeps its entries";
    EXPECT_EQ(elenco->currentIndex(), -1);
    EXPECT_EQ(elenco->currentText(), QString());
    EXPECT_FALSE(spunta->isChecked());
    EXPECT_EQ(note->toPlainText(), QString());
    EXPECT_EQ(aggiuntivo->currentIndex(), 1) << "marked controls are left alone";
    EXPECT_EQ(pulsante->text(), QStringLiteral("REGISTRA"));
    EXPECT_TRUE(opzione->isChecked());
}

TEST_F(ControlliTest, AdattaColonne)
{
    QTableWidget griglia(2, 3);
    griglia.setItem(0, 0, new QTableWidgetItem(QStringLiteral("RSSMRA85T10A562S")));
    griglia.setItem(1, 1, new QTableWidgetItem(QStringLiteral("ROSSI MARIO E FIGLI SOCIETA IN ACCOMANDITA SEMPLICE")));
    griglia.setHorizontalHeaderLabels({QStringLiteral("Codice"), QStringLiteral("Nome"), QString()});
    griglia.horizontalHeader()->setMinimumSectionSize(1);
    for (int c = 0; c < 3; ++c) {
        griglia.setColumnWidth(c, 5);
    }
    griglia.show();

    AdattaColonne(&griglia);

    const QFontMetrics metriche(griglia.font());
    EXPECT_GE(griglia.columnWidth(0), metriche.horizontalAdvance(QStringLiteral("RSSMRA85T10A562S")));
    EXPECT_GE(griglia.columnWidth(1),
              metriche.horizontalAdvance(QStringLiteral("ROSSI MARIO E FIGLI SOCIETA IN ACCOMANDITA SEMPLICE")));
    EXPECT_GE(griglia.columnWidth(2), 20) << "an empty column keeps a usable width";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
    EXPECT_TRUE(griglia.updatesEnabled());
}
