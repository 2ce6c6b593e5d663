#include "ui/Controlli.h"
#include "app/Dichiarazioni.h"
#include "platform/ScriptedPlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace ondavia;

namespace {

class ControlliTest : public ::testing::Test {
protected:
    void TearDown() override { resetDichiarazioni(); }

    ScriptedPlatform m_scripted;
    PlatformScope m_scope{m_scripted};
    QWidget m_form;
    QLineEdit* m_casella = new QLineEdit(&m_form);
};

} // namespace

TEST_F(ControlliTest, MostraErrore)
{
    QString messaggio = QStringLiteral("Data non valida");
    MostraErrore(m_casella, messaggio);
    // 15 characters: 30 - 7.5 = 22.5 blanks on each side, rounded to the even 22.
    EXPECT_EQ(m_scripted.messages.front().text, QString(22, u' ') + "Data non valida" + QString(22, u' '));
    EXPECT_EQ(messaggio, m_scripted.messages.front().text) << "the caller's message is padded too";

    for (const auto& [lunghezza, margine] : {std::pair{14, 23}, {29, 16}, {30, 0}}) {
        const QString x(lunghezza, u'x');
        QString breve = x;
        MostraErrore(m_casella, breve);
        EXPECT_EQ(m_scripted.messages.back().text, QString(margine, u' ') + x + QString(margine, u' ')) << lunghezza;
    }
}

TEST_F(ControlliTest, PulisciFormEAdattaColonne)
{
    auto* interna = new QLineEdit(QStringLiteral("RSSMRA"), new QGroupBox(&m_form));
    auto* modificabile = new QComboBox(&m_form);
    modificabile->setEditable(true);
    auto* elenco = new QComboBox(&m_form);
    for (QComboBox* c : {modificabile, elenco}) {
        c->addItems({QStringLiteral("13=OICR"), QStringLiteral("14=SGR")});
        c->setCurrentIndex(1);
    }
    auto* spunta = new QCheckBox(&m_form);
    spunta->setChecked(true);
    auto* note = new QPlainTextEdit(QStringLiteral("note"), &m_form);
    auto* numero = new QSpinBox(&m_form);
    numero->setValue(7);

    PulisciForm(&m_form);
    EXPECT_EQ(interna->text(), QString()) << "inside frames too";
    EXPECT_EQ(modificabile->currentText(), QString());
    EXPECT_EQ(elenco->currentText(), QString());
    EXPECT_FALSE(spunta->isChecked());
    EXPECT_EQ(note->toPlainText(), QString());
    EXPECT_EQ(numero->text(), QStringLiteral("7")) << "spin boxes are no text boxes";

    QTableWidget griglia(1, 2);
    const QString lungo = QStringLiteral("ROSSI MARIO E FIGLI SOCIETA IN ACCOMANDITA SEMPLICE");
    griglia.setItem(0, 0, new QTableWidgetItem(lungo));
    AdattaColonne(&griglia);
    EXPECT_GE(griglia.columnWidth(0), QFontMetrics(griglia.font()).horizontalAdvance(lungo));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
}

TEST_F(ControlliTest, ControllaDataCampoRiscriveOSegnala)
{
    const struct {
        const char *digitato, *dopo;
        bool errore;
    } casi[] = {
        {"05-03-1998", "05/03/1998", false},
        {"31/04/2020", "31/04/2020", true}, // shown as an error, left as typed
        {"00.00.00", "00.00.00", false},    // the empty date of the forms
    };
    for (const auto& caso : casi) {
        m_scripted.messages.clear();
        m_casella->setText(QString::fromUtf8(caso.digitato));
        ControllaDataCampo(m_casella);
        EXPECT_EQ(m_casella->text(), QString::fromUtf8(caso.dopo)) << caso.digitato;
        ASSERT_EQ(m_scripted.messages.size(), caso.errore ? 1u : 0u) << caso.digitato;
        if (caso.errore) {
            EXPECT_EQ(m_scripted.messages.front().text.trimmed(), QStringLiteral("Data non valida"));
        }
    }
}
