#pragma once

#include <QDialog>

namespace ondavia {

// The section-help form: one picture that explains the register's three sections; a click on it opens
// the agency's questions and answers on the register in the browser, and the form stays open.
// Shown modally; closed with the window's close box.
class FSezHelp : public QDialog {
public:
    explicit FSezHelp(QWidget* parent = nullptr);

    void Picture1_Click();
};

} // namespace ondavia
