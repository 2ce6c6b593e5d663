#pragma once

#include "app/Dates.h"

#include <QDate>
#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QScrollBar;
class QToolButton;

namespace ondavia {

// The date picker "Seleziona una data": a month of 37 day cells, Monday first, with the month list, the
// previous and next month and the year bar (1500-2500). The date comes in and goes out through
// DataCalendario as dd/mm/yyyy: a double click on a day chooses it; Enter or Space choose the day last
// clicked (shown under the calendar), Esc chooses nothing (""). A DataCalendario that is not a date of
// those years opens the picker on today. Destroying the form empties DataCalendario.
class FCale : public QDialog {
public:
    explicit FCale(QWidget* parent = nullptr);
    ~FCale() override;

    static constexpr int kCelle = 37;
    static constexpr int kPrimoAnno = 1500;
    static constexpr int kUltimoAnno = 2500;

    // The year the year bar shows.
    int anno() const;
    void impostaAnno(int anno);
    int meseMostrato() const { return MeseMostrato; }
    int indiceScelto() const { return IndiceScelto; }

    QWidget* pctCAL;
    QListWidget* lstMESI;
    QToolButton* cmdMESI;
    QLabel* lblMESE;
    QToolButton* Command2;
    QToolButton* Command3;
    QScrollBar* VScroll1;
    QLabel* lblANNO;
    QLabel* GL[7];
    QLabel* G[kCelle];
    QFrame* Shape1;
    QLabel* Label1;
    QLabel* MyDate;

public:
    // Closing without a choice (the window's close button, Esc) gives "".
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    void costruisci();
    void Form_Load();
    void ImpostaData();
    void DisegnaMese();
    void MostraNascondiCalendario();
    void lstMESI_Click();
    // cmdMESI and a click on lblMESE: shows the month list, or hides it.
    void alternaListaMesi();
    void VScroll1_Change();
    void Command2_Click();
    void Command3_Click();
    void G_Click(int indice);
    void G_DblClick(int indice);
    // Moves the frame Shape1 onto a cell.
    void segna(int indice);
    // The date of a cell of the shown month as dd/mm/yyyy.
    QString dataCella(int indice) const;
    void scegli(const QString& data);

    int GiornoScelto = 0;
    bool InInizializzazione = false;
    int MeseMostrato = 1;
    int GiorniMeseMostrato = 0;
    int PrimaColonna = 0;
    int IndiceScelto = 0;
    QDate DataLavoro;
};

// Opens the picker modally on the date in `casella`, a two-digit year read as the box reads it
// (`secolo`), and, when a date is chosen, puts it in the box; the box's window is then the active window
// again.
void ApriCalendario(QLineEdit* casella, Secolo secolo = Secolo::Corrente);

} // namespace ondavia
