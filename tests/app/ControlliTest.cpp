#include "app/widgets/Controlli.h"
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
    void TearDown() override { ResetDichiarazioni(); }

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
        MostraErrore(m_casella, QString(x));
        EXPECT_EQ(m_scripted.messages.back().text, QString(margine, u' ') + x + QString(margine, u' ')) << lunghezza;
    }
}

TEST_F(ControlliTest, PulisciFormEAdattaColonne)
{
    auto* interna = new QLineEdit(QStringLiteral("RSSMRA"), new QGroupBox(&m_form));
    auto* modificabile = new QComboBox(&m_form);
    modificabile->setEditable(true);
    auto* elenco = new QComboBox(&m_form);
    auto* aggiuntivo = new QComboBox(&m_form);
    for (QComboBox* c : {modificabile, elenco, aggiuntivo}) {
        c->addItems({QStringLiteral("13=OICR"), QStringLiteral("14=SGR")});
        c->setCurrentIndex(1);
    }
    segnaAggiuntivo(aggiuntivo);
    auto* spunta = new QCheckBox(&m_form);
    spunta->setChecked(true);
    auto* note = new QPlainTextEdit(QStringLiteral("note"), &m_form);
    auto* numero = new QSpinBox(&m_form);
    numero->setValue(7);

    PulisciForm(&m_form);
    EXPECT_EQ(interna->text(), QString()) << "inside frames too";
    EXPECT_EQ(modificabile->currentText(), QString());
    EXPECT_EQ(elenco->currentText(), QString());
    EXPECT_EQ(aggiuntivo->currentIndex(), 1) << "marked controls are left alone";
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
