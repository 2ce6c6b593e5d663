// The text-box wrappers and the log routine.

#include "ui/CForm.h"
#include "app/Dichiarazioni.h"
#include "ui/ScriviLog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ondavia;

namespace {

int argc = 1;
char nome[] = "CFormTest";
char* argv[] = {nome, nullptr};

class Involucri : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!qApp) {
            new QApplication(argc, argv);
        }
    }
    void SetUp() override
    {
        for (QLineEdit* c : {m_uno, m_due, m_gemello}) {
            c->setObjectName(c == m_due ? QStringLiteral("due") : QStringLiteral("uno"));
        }
        m_lista->setObjectName(QStringLiteral("lista"));
        m_lista->setEditable(true);
    }
    void TearDown() override
    {
        resetDichiarazioni();
        LogAttivo.clear();
        FileLog.clear();
    }

    QWidget m_form;
    QLineEdit* m_uno = new QLineEdit(&m_form);
    QLineEdit* m_due = new QLineEdit(&m_form);
    QLineEdit* m_gemello = new QLineEdit(&m_form); // same name as m_uno
    QComboBox* m_lista = new QComboBox(&m_form);
    QCheckBox* m_spunta = new QCheckBox(&m_form);
    QLabel* m_etichetta = new QLabel(&m_form);
};

} // namespace

TEST_F(Involucri, WrapsOnlyTextBoxesOncePerName)
{
    auto cform = std::make_unique<CForm>();
    cform->SetVbForm(&m_form);
    EXPECT_EQ(cform->count(), 2);
    EXPECT_EQ(cform->item(QStringLiteral("uno"))->casella(), m_uno) << "the first of two boxes with one name";
    EXPECT_EQ(cform->item(QStringLiteral("lista")), nullptr) << "the combo box's own editor is not a text box";
    cform->SetVbForm(&m_form);
    EXPECT_EQ(cform->count(), 2);
    EXPECT_EQ(cform->item(QStringLiteral("uno"))->casella(), m_uno);

    m_form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    m_uno->setFocus();
    m_uno->setText(QStringLiteral(" roma (rm);"));
    m_gemello->setText(QStringLiteral(" roma (rm);"));
    m_due->setFocus();
    EXPECT_EQ(m_uno->text(), QStringLiteral("ROMA  RM  "));
    // Another window taking the activation is no leaving of the box.
    m_due->setText(QStringLiteral("roma"));
    QWidget altra;
    altra.show();
    altra.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&altra));
    EXPECT_EQ(m_due->text(), QStringLiteral("roma"));
    altra.hide();
    m_form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));

    m_gemello->setFocus();
    m_due->setFocus();
    EXPECT_EQ(m_gemello->text(), QStringLiteral(" roma (rm);")) << "the unwrapped twin is left alone";

    // Unwrapped boxes no longer react.
    cform.reset();
    m_uno->setFocus();
    m_uno->setText(QStringLiteral("milano"));
    m_due->setFocus();
    EXPECT_EQ(m_uno->text(), QStringLiteral("milano"));
}

TEST_F(Involucri, LogWritesOnlyWhenSwitchedOn)
{
    QTemporaryDir cartella;
    FileLog = cartella.filePath(QStringLiteral("ondavia.log"));
    EXPECT_TRUE(ScriviLog(QStringLiteral("F1OP")));
    EXPECT_FALSE(QFile::exists(FileLog));

    LogAttivo = QStringLiteral("1");
    EXPECT_TRUE(ScriviLog(QStringLiteral("F1OP")));
    EXPECT_TRUE(ScriviLog(QStringLiteral("perché")));
    QFile log(FileLog);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("F1OP\r\nperch\xE9\r\n"));

    FileLog = cartella.filePath(QStringLiteral("manca/ondavia.log"));
    EXPECT_FALSE(ScriviLog(QStringLiteral("F1OP")));
}
