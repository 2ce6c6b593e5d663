#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace ondavia {

// The backup and restore form "Salvataggio/Ripristino", shown modally by the commands "Salva" (ModoSalva
// "S") and "Ripristina" ("R"). Saving writes every subject of the register to one backup file, or, when
// SalvaTutti is set, each subject to a file of its own in a chosen folder; restoring checks the chosen file,
// writes a safety copy of the register into the program's folder and then puts the file's rows back.
// Every failure is told in a plain message; none leaves a half-written file or a half-restored register.
class FSalva : public QDialog {
public:
    explicit FSalva(QWidget* parent = nullptr);

    // Prepares the form for ModoSalva and SalvaTutti. In restore mode it asks for the file and checks it:
    // false when there is nothing to confirm (the dialog was cancelled, or the file is no backup, which the
    // user has been told), and the form is then not shown.
    bool Form_Load();
    // Form_Load, then the form, modally, until it closes.
    void esegui();

    // Whether a restore changed the register, so that the subject list must be read again.
    bool ripristinoEseguito() const { return m_ripristinato; }

    void bconferma_Click();
    void bannulla_Click();
    void saveALL_Click();

    // Writes the register, or only the subject `codice` when `soloSoggetto`, to `percorso`.
    bool SalvaArchivio(const QString& percorso, const QString& codice, bool soloSoggetto, QString* errore);
    // One progress step: the bar goes from 1 to 999 and again from 1, PERC counts every row.
    void AvanzaProgresso();
    // Asks the folder of a save-all into CartellaTutti (empty when the user cancels).
    void ChiediCartella();
    // Checks NomeFileBackup and takes CodiceBackup from its first line; false when it is no backup.
    bool ControllaFileBackup();
    // The safety copy, then the restore; false when nothing was restored (the user has been told why).
    bool RipristinaArchivio();

    const QString& CodiceBackup() const { return m_codiceBackup; }
    int ContaRighe() const { return m_contaRighe; }

    // Escape and the window's close button act as "Annulla", and do nothing while the form is at work.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    void confermaSalvataggio();
    void confermaRipristino();
    // Shows the counter and the bar for a new piece of work, from 0; the commands wait until it ends.
    void iniziaLavoro(bool azzera);
    void abilitaComandi(bool abilita);
    void fineLavoro();
    // The counter and the bar hidden and at 0, as the form shows them when it opens.
    void azzeraProgresso();
    // SalvaArchivio with the counter and the bar on screen; a failure is told.
    bool salvaAlLavoro(const QString& codice, bool soloSoggetto, bool azzera);
    void mostraProgresso();
    QString copiaDiSicurezza() const;
    void avvisoRipristino(const QString& testo);
    void centra();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label16;
    QLineEdit* PERC;
    QProgressBar* PBar1;
    QCheckBox* Crip;
    QPushButton* bconferma;
    QPushButton* bannulla;
    QPushButton* saveALL;

    QString m_nomeFileBackup;
    QString m_cartellaTutti;
    QString m_codiceBackup;
    int m_contaRighe = 0;
    int m_valoreBarra = 0;
    bool m_alLavoro = false;
    bool m_ripristinato = false;
    int m_avvisiMostrati = 0;
    int m_avvisiNonMostrati = 0;
    QElapsedTimer m_ultimoAggiornamento;
};

} // namespace ondavia
