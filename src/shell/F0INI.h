#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ondavia {

class F0;

// The splash form: the program's picture, version and release, and the button "ENTRA" that shows
// the main window's command bars and opens the register. Modeless; shown once per run.
class F0INI : public QDialog {
public:
    explicit F0INI(F0& principale);

    void command1_Click();
    // Ends the program at once, without asking. Kept as part of the form: no control or command calls it.
    void Esci();

protected:
    // Escape does not dismiss the splash: without it the register could not be opened.
    void reject() override {}

private:
    void Form_Load();

    F0& m_principale;
    QLabel* m_versione;
    QLabel* m_release;
    QPushButton* m_entra;
};

} // namespace ondavia
