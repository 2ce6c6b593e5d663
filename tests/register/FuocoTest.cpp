// The focus colour follows the focus: after a field error on any kind of control the form wraps, the control in
// error wears it only while it keeps the focus, and the error's colours are gone once it is left corrected.

#include "RegistroProva.h"

#include "app/Dichiarazioni.h"
#include "platform/QtPlatform.h"
#include "ui/Controlli.h"

#include <QApplication>
#include <QButtonGroup>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace ondavia;
using ondavia::test::RegistroProva;

namespace {

class Fuoco : public RegistroProva {
protected:
    // The controls other than the one with the focus that wear the focus colour, by name; the parts of a combo box
    // (its editor, its list) count as the combo box.
    QString fuoriPosto() const
    {
        const auto controllo = [](const QWidget* w) {
            for (const QObject* o = w; o; o = o->parent()) {
                if (qobject_cast<const QComboBox*>(o)) {
                    return static_cast<const QWidget*>(o);
                }
            }
            return w;
        };
        const QWidget* fuoco = QApplication::focusWidget() ? controllo(QApplication::focusWidget()) : nullptr;
        QStringList nomi;
        for (const QWidget* w : form->findChildren<QWidget*>()) {
            const QWidget* c = controllo(w);
            if (c != fuoco && w->palette().color(QPalette::Active, QPalette::Base) == coloreQt(ColoreFuoco) &&
                !nomi.contains(c->objectName())) {
                nomi << c->objectName();
            }
        }
        return nomi.join(QLatin1Char(' '));
    }
    // Neither the focus colour nor the error's.
    static bool coloriNormali(const QWidget* w)
    {
        const QColor sfondo = w->palette().color(QPalette::Active, QPalette::Base);
        return sfondo != coloreQt(ColoreFuoco) && sfondo != QColor(255, 0, 0) &&
               w->palette().color(QPalette::Active, QPalette::Text) == QApplication::palette(w).color(QPalette::Text);
    }
};

struct Caso {
    const char* controllo;
    std::function<void(F1OP&)> guasto;
    std::function<void(F1OP&)> rimedio;
};

void nessunaScelta(QRadioButton* o)
{
    o->group()->setExclusive(false);
    o->setChecked(false);
    o->group()->setExclusive(true);
}

} // namespace

// The command bar's REGISTRA leaves the focus where it is: the same error twice before the control is left.
TEST_F(Fuoco, AControlInErrorWearsTheFocusColourOnlyWhileItHasTheFocus)
{
    const Caso casi[] = {
        {"CBrap", [](F1OP& f) { f.CBrap->setCurrentIndex(-1); }, [](F1OP& f) { f.CBrap->setCurrentIndex(0); }},
        {"MOC1", [](F1OP& f) { f.MOC1->setChecked(false); }, [](F1OP& f) { f.MOC3->setChecked(true); }},
        {"mc1",
         [](F1OP& f) {
             f.TC2->setChecked(true);
             f.vDTCANC->setText(QStringLiteral("31/12/2021"));
             nessunaScelta(f.mc1);
         },
         [](F1OP& f) { f.mc3->setChecked(true); }},
        {"vRETEL", [](F1OP& f) { f.vRETEL->clear(); }, [](F1OP& f) { f.vRETEL->setText(QStringLiteral("06123")); }},
    };
    apri();
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.controllo);
        compilaValido();
        caso.guasto(*form);
        form->Conferma();
        form->Conferma();
        ASSERT_EQ(righe(), 0) << messaggio().toStdString();
        QWidget* controllo = trova(caso.controllo);
        ASSERT_EQ(QApplication::focusWidget(), controllo);
        EXPECT_EQ(controllo->palette().color(QPalette::Base), coloreQt(ColoreFuoco));
        EXPECT_EQ(fuoriPosto().toStdString(), "");

        caso.rimedio(*form);
        QTest::keyClick(controllo, Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), controllo);
        EXPECT_EQ(fuoriPosto().toStdString(), "");
        EXPECT_TRUE(coloriNormali(controllo));
        form->Conferma();
        EXPECT_EQ(righe(), 1) << messaggio().toStdString();
        EXPECT_EQ(fuoriPosto().toStdString(), "");
        ASSERT_TRUE(Conn.Execute(QStringLiteral("DELETE FROM COPE")));
    }
}

// A stored subject's code box is locked: an error on it cannot give it the focus, and so leaves it no focus colour.
TEST_F(Fuoco, ALockedBoxInErrorDoesNotLookFocused)
{
    apri();
    compilaValido();
    form->Conferma();
    ASSERT_EQ(righe(), 1) << messaggio().toStdString();
    ASSERT_TRUE(Conn.Execute(QStringLiteral("UPDATE COPE SET OCOD='RSSMRA80A01H501A'")));
    form->Lista();
    ASSERT_FALSE(form->topiva->isEnabled());
    scripted.messages.clear();
    form->Conferma();
    ASSERT_EQ(messaggio().trimmed(), QStringLiteral("Codice Fiscale errato."));
    EXPECT_EQ(fuoriPosto().toStdString(), "");
    EXPECT_TRUE(coloriNormali(form->topiva));
}

// A question in a box of its own takes the activation from the form; what the answer moves the focus to gets it only
// when the window manager gives the form the activation back. The box typed in, or the list in error, before the
// question was never told it lost the focus.
TEST_F(Fuoco, NoControlLooksFocusedAfterAQuestionThatMovedTheFocus)
{
    apri();
    compilaValido();
    form->Conferma();
    ASSERT_EQ(righe(), 1) << messaggio().toStdString();
    QtPlatform reale;
    const PlatformScope scopeReale(reale);
    for (const char* prima : {"CBrap", "torag"}) {
        SCOPED_TRACE(prima);
        form->Lista();
        if (QByteArray(prima) == "torag") {
            form->torag->setFocus();
            QTest::keyClicks(form->torag, "X");
        } else {
            form->CBrap->setCurrentIndex(-1);
            const PlatformScope scopeFinto(scripted);
            form->Conferma(); // as the command bar's REGISTRA: the focus stays on the list in error
            ASSERT_EQ(QApplication::focusWidget(), form->CBrap);
        }
        ASSERT_EQ(fuoriPosto().toStdString(), "");
        // "No" to the question on the changes: the new subject's code box is given the focus.
        QTimer::singleShot(0, [] {
            auto* domanda = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(domanda, nullptr);
            domanda->button(QMessageBox::No)->click();
        });
        form->Aggiungi();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ASSERT_EQ(QApplication::focusWidget(), form->topiva);
        EXPECT_EQ(fuoriPosto().toStdString(), "");
    }
}
