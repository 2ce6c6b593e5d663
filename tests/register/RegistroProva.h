#pragma once

// A register form on a fresh, upgraded database in a temporary program folder, with message boxes
// answered by a scripted platform.

#include "../support/TempHome.h"
#include "db/Value.h"
#include "platform/ScriptedPlatform.h"
#include "register/F1OP.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace ondavia::test {

class RegistroProva : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;

    // Shows the form (its first show loads it) and waits until it is active.
    void apri();

    template <class T = QWidget> T* trova(const char* nome) const
    {
        T* w = form->findChild<T*>(QLatin1String(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    QLineEdit* casella(const char* nome) const { return trova<QLineEdit>(nome); }
    QRadioButton* opzione(const char* nome) const { return trova<QRadioButton>(nome); }
    QCheckBox* spunta(const char* nome) const { return trova<QCheckBox>(nome); }
    void clic(const char* pulsante) const;
    // Leaves `casella` for `verso`, as a click or Tab would.
    static void lascia(QLineEdit* casella, QWidget* verso)
    {
        casella->setFocus();
        verso->setFocus(Qt::TabFocusReason);
    }

    // Types `testo` into `campo` key by key, as a keyboard does: each key pressed and released, accented
    // letters with their own key code and text (QTest's own typing knows only ASCII).
    static void tasti(QWidget* campo, const QString& testo);

    // Prints through the PDF writer linked in, dated 2 March 2026 9:30, onto a Desktop in the program folder.
    void preparaStampa();

    // Stores a row of COPE with these fields (the others Null).
    void inserisci(const std::map<QString, QString>& campi) const;
    int righe(const QString& condizione = QStringLiteral("1=1")) const;
    // The fields of the row of `codice` and `progressivo`, by column name.
    std::map<QString, db::Value> riga(const QString& codice, const QString& progressivo) const;

    // A non-natural person that passes every check, with "PRIMO INVIO o VARIAZIONE"; changes left on screen
    // are dropped.
    void compilaValido();
    // compilaValido saved through the form (Conferma): the stored row's fields that are not Null, by column.
    std::map<QString, QString> registraValido();
    // compilaValido as a natural person, born on 05/03/1962.
    void personaValida();

    // The records of a communication file, without their line ends; none when it cannot be read.
    static QList<QByteArray> recordsOf(const QString& path);
    // A field of a record; positions are 1-based, as in the record layouts.
    static QByteArray field(const QByteArray& record, int position, int length)
    {
        return record.mid(position - 1, length);
    }

    QString messaggio() const { return scripted.messages.empty() ? QString() : scripted.messages.back().text; }

    TempHome home;
    ScriptedPlatform scripted;
    PlatformScope scope{scripted};
    std::unique_ptr<F1OP> form;
};

} // namespace ondavia::test
