#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ondavia {

// The version and contacts form: version and release of the program and the e-mail addresses of the
// sales and support offices, as the installation configures them. Shown modally, centred on the screen.
class FVer : public QDialog {
public:
    explicit FVer(QWidget* parent = nullptr);

    void command1_Click();
    void PushButton1_Click();
    void PushButton2_Click();

    // Kept as part of the form, though no control reaches them: a message to the sales office, and one to
    // the support office with the subject of the TAMISO users, which opens or not without any message.
    void MailCommerciale();
    void MailAssistenzaTAMISO();

private:
    void Form_Load();

    QLabel* m_versione;
    QLabel* m_release;
    QPushButton* m_commerciale;
    QPushButton* m_assistenza;
    QString m_mailCommerciale;
    QString m_mailAssistenza;
};

} // namespace ondavia
