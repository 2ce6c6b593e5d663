#include "FCale.h"

#include "app/Dates.h"
#include "app/Dichiarazioni.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace ondavia {

namespace {

constexpr int kColonne = 7;
constexpr int kLarghezzaCella = 34;
constexpr int kAltezzaCella = 26;
// The month list is 2370 twips high.
constexpr int kAltezzaListaTwips = 2370;
constexpr double kTwipsPerPollice = 1440;

QToolButton* freccia(QWidget* genitore, const char* nome, Qt::ArrowType verso, const QString& suggerimento)
{
    auto* b = new QToolButton(genitore);
    b->setObjectName(QLatin1String(nome));
    b->setArrowType(verso);
    b->setToolTip(suggerimento);
    b->setAutoRaise(true);
    // The keys belong to the calendar panel.
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel* etichetta(QWidget* genitore, const QString& nome, const QString& testo = {})
{
    auto* e = new QLabel(testo, genitore);
    e->setObjectName(nome);
    e->setAlignment(Qt::AlignCenter);
    return e;
}

QFont grassetto(QFont carattere, int punti = 0)
{
    carattere.setBold(true);
    if (punti > 0) {
        carattere.setPointSize(punti);
    }
    return carattere;
}

} // namespace

FCale::FCale(QWidget* parent) : QDialog(parent)
{
    costruisci();
    Form_Load();
}

FCale::~FCale()
{
    DataCalendario.clear();
}

void FCale::costruisci()
{
    setObjectName(QStringLiteral("FCale"));
    setWindowTitle(QStringLiteral("Seleziona una data"));
    setModal(true);

    auto* pannello = new QFrame(this);
    pannello->setFrameShape(QFrame::StyledPanel);
    pctCAL = pannello;
    pctCAL->setObjectName(QStringLiteral("pctCAL"));
    pctCAL->setFocusPolicy(Qt::StrongFocus);

    Command2 = freccia(pctCAL, "Command2", Qt::LeftArrow, QStringLiteral("Decrementa Mesi "));
    Command3 = freccia(pctCAL, "Command3", Qt::RightArrow, QStringLiteral("Incrementa Mesi "));
    cmdMESI = freccia(pctCAL, "cmdMESI", Qt::DownArrow, QStringLiteral("Lista Mesi "));
    lblMESE = etichetta(pctCAL, QStringLiteral("lblMESE"));
    lblMESE->setFont(grassetto(font(), 10));
    lblMESE->setMinimumWidth(kLarghezzaCella * 3);
    lblMESE->setCursor(Qt::PointingHandCursor);
    lblANNO = etichetta(pctCAL, QStringLiteral("lblANNO"));
    lblANNO->setFont(grassetto(font(), 10));
    lblANNO->setToolTip(QStringLiteral("Riporta all'Anno Corrente"));
    lblANNO->setCursor(Qt::PointingHandCursor);
    // The bar runs from 2500 at its top to 1500 at its bottom, so its up arrow raises the year: it holds
    // the year with its sign changed.
    VScroll1 = new QScrollBar(Qt::Vertical, pctCAL);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setRange(-kUltimoAnno, -kPrimoAnno);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(10);
    VScroll1->setFixedHeight(kAltezzaCella * 2);
    VScroll1->setFocusPolicy(Qt::NoFocus);

    auto* testata = new QHBoxLayout;
    testata->addWidget(Command2);
    testata->addWidget(lblMESE, 1);
    testata->addWidget(cmdMESI);
    testata->addWidget(Command3);
    testata->addSpacing(12);
    testata->addWidget(lblANNO);
    testata->addWidget(VScroll1);

    auto* celle = new QWidget(pctCAL);
    celle->setObjectName(QStringLiteral("celle"));
    auto* griglia = new QGridLayout(celle);
    griglia->setSpacing(1);
    griglia->setContentsMargins(0, 0, 0, 0);
    const QString testate[kColonne] = {QStringLiteral("L"), QStringLiteral("M"), QStringLiteral("M"),
                                       QStringLiteral("G"), QStringLiteral("V"), QStringLiteral("S"),
                                       QStringLiteral("D")};
    for (int i = 0; i < kColonne; ++i) {
        GL[i] = etichetta(celle, QStringLiteral("GL_%1").arg(i), testate[i]);
        GL[i]->setFont(grassetto(font()));
        griglia->addWidget(GL[i], 0, i);
    }
    for (int i = 0; i < kCelle; ++i) {
        G[i] = etichetta(celle, QStringLiteral("G_%1").arg(i));
        G[i]->setFixedSize(kLarghezzaCella, kAltezzaCella);
        G[i]->setAutoFillBackground(true);
        G[i]->setBackgroundRole(QPalette::Base);
        G[i]->installEventFilter(this);
        griglia->addWidget(G[i], 1 + i / kColonne, i % kColonne);
    }
    Shape1 = new QFrame(celle);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setLineWidth(2);
    Shape1->setStyleSheet(QStringLiteral("QFrame#Shape1 { border: 2px solid #B00000; background: transparent; }"));
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label1 = etichetta(pctCAL, QStringLiteral("Label1"), QStringLiteral("Scegli con doppio click"));

    auto* colonnaPannello = new QVBoxLayout(pctCAL);
    colonnaPannello->addLayout(testata);
    colonnaPannello->addWidget(celle);
    colonnaPannello->addWidget(Label1);

    lstMESI = new QListWidget(pctCAL);
    lstMESI->setObjectName(QStringLiteral("lstMESI"));
    lstMESI->setFocusPolicy(Qt::NoFocus);
    lstMESI->hide();

    MyDate = etichetta(this, QStringLiteral("MyDate"));
    MyDate->setFont(grassetto(font(), 10));
    MyDate->setMinimumHeight(kAltezzaCella);
    MyDate->setCursor(Qt::PointingHandCursor);

    auto* colonna = new QVBoxLayout(this);
    colonna->addWidget(pctCAL);
    colonna->addWidget(MyDate);
    colonna->setSizeConstraint(QLayout::SetFixedSize);

    for (QLabel* cliccabile : {lblMESE, lblANNO, MyDate}) {
        cliccabile->installEventFilter(this);
    }
    connect(cmdMESI, &QToolButton::clicked, this, &FCale::alternaListaMesi);
    connect(Command2, &QToolButton::clicked, this, &FCale::Command2_Click);
    connect(Command3, &QToolButton::clicked, this, &FCale::Command3_Click);
    connect(lstMESI, &QListWidget::currentRowChanged, this, &FCale::lstMESI_Click);
    connect(lstMESI, &QListWidget::itemClicked, this, &FCale::lstMESI_Click);
    connect(VScroll1, &QScrollBar::valueChanged, this, &FCale::VScroll1_Change);
}

void FCale::Form_Load()
{
    DataLavoro = QDate::currentDate();
    const QLocale italiano(QLocale::Italian, QLocale::Italy);
    for (int m = 1; m <= 12; ++m) {
        QString nome = italiano.monthName(m, QLocale::LongFormat);
        if (!nome.isEmpty()) {
            nome[0] = nome[0].toUpper();
        }
        lstMESI->addItem(nome);
    }
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    lstMESI->setFixedHeight(qRound(kAltezzaListaTwips * dpi / kTwipsPerPollice));
    for (QLabel* cella : G) {
        cella->setFont(grassetto(cella->font(), 10));
    }
    InInizializzazione = true;
    ImpostaData();
    InInizializzazione = false;

    adjustSize();
    const QScreen* schermo = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (schermo) {
        const QRect area = schermo->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void FCale::ImpostaData()
{
    DataLavoro = QDate::currentDate();
    if (!DataCalendario.isEmpty()) {
        // A text the form would not take as a date, or a year the bar cannot show, opens on today.
        const std::optional<QDate> data = leggiData(DataCalendario);
        if (data && data->year() >= kPrimoAnno && data->year() <= kUltimoAnno) {
            DataLavoro = *data;
        }
    }
    impostaAnno(DataLavoro.year());
    lblANNO->setText(QString::number(anno()));
    lstMESI->setCurrentRow(DataLavoro.month() - 1);
    lblMESE->setText(lstMESI->currentItem()->text());
    lstMESI->hide();
    GiornoScelto = DataLavoro.day();
    DisegnaMese();
}

void FCale::DisegnaMese()
{
    MeseMostrato = lstMESI->currentRow() + 1;
    const QDate primo(anno(), MeseMostrato, 1);
    GiorniMeseMostrato = primo.daysInMonth();
    PrimaColonna = primo.dayOfWeek() - 1;
    for (QLabel* cella : G) {
        cella->clear();
        cella->setBackgroundRole(QPalette::Base);
        cella->unsetCursor();
    }
    for (int d = 1; d <= GiorniMeseMostrato; ++d) {
        QLabel* cella = G[PrimaColonna + d - 1];
        cella->setText(QString::number(d));
        cella->setCursor(Qt::PointingHandCursor);
    }
    segna(PrimaColonna + GiornoScelto - 1);
}

void FCale::segna(int indice)
{
    IndiceScelto = indice;
    if (indice < 0 || indice >= kCelle) {
        Shape1->hide();
        return;
    }
    // The cells have their places once the layout has run; showEvent marks again then.
    QLabel* cella = G[indice];
    Shape1->setGeometry(cella->geometry().adjusted(-2, -2, 2, 2));
    Shape1->show();
    Shape1->raise();
}

void FCale::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    segna(IndiceScelto);
    pctCAL->setFocus();
}

int FCale::anno() const
{
    return -VScroll1->value();
}

void FCale::impostaAnno(int anno)
{
    VScroll1->setValue(-anno);
}

void FCale::lstMESI_Click()
{
    if (!lstMESI->currentItem()) {
        return;
    }
    lblMESE->setText(lstMESI->currentItem()->text());
    lstMESI->hide();
    if (!InInizializzazione) {
        DisegnaMese();
    }
}

void FCale::alternaListaMesi()
{
    if (lstMESI->isVisible()) {
        lstMESI->hide();
        return;
    }
    // Drops down from the month's name over the days.
    const QRect nome = lblMESE->geometry();
    lstMESI->setGeometry(nome.x(), nome.bottom() + 1, cmdMESI->geometry().right() - nome.x() + 1, lstMESI->height());
    lstMESI->show();
    lstMESI->raise();
    lstMESI->scrollToItem(lstMESI->currentItem());
}

void FCale::VScroll1_Change()
{
    lblANNO->setText(QString::number(anno()));
    if (!InInizializzazione) {
        DisegnaMese();
    }
}

void FCale::Command2_Click()
{
    if (MeseMostrato > 1) {
        lstMESI->setCurrentRow(MeseMostrato - 2);
    } else if (anno() > kPrimoAnno) {
        impostaAnno(anno() - 1);
        lstMESI->setCurrentRow(11);
    }
}

void FCale::Command3_Click()
{
    if (MeseMostrato < 12) {
        lstMESI->setCurrentRow(MeseMostrato);
    } else if (anno() < kUltimoAnno) {
        impostaAnno(anno() + 1);
        lstMESI->setCurrentRow(0);
    }
}

QString FCale::dataCella(int indice) const
{
    return QDate(anno(), MeseMostrato, G[indice]->text().toInt()).toString(QStringLiteral("dd/MM/yyyy"));
}

void FCale::G_Click(int indice)
{
    if (G[indice]->text().isEmpty()) {
        return;
    }
    segna(indice);
    MyDate->setText(dataCella(indice));
}

void FCale::G_DblClick(int indice)
{
    if (G[indice]->text().isEmpty()) {
        return;
    }
    segna(indice);
    scegli(dataCella(indice));
}

void FCale::scegli(const QString& data)
{
    DataCalendario = data;
    done(Accepted);
}

void FCale::reject()
{
    DataCalendario.clear();
    QDialog::reject();
}

void FCale::MostraNascondiCalendario()
{
    pctCAL->setVisible(!pctCAL->isVisible());
}

void FCale::keyPressEvent(QKeyEvent* evento)
{
    switch (evento->key()) {
    case Qt::Key_Escape:
        reject();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        scegli(MyDate->text());
        return;
    default:
        QDialog::keyPressEvent(evento);
    }
}

bool FCale::eventFilter(QObject* oggetto, QEvent* evento)
{
    const bool clic = evento->type() == QEvent::MouseButtonPress;
    const bool doppio = evento->type() == QEvent::MouseButtonDblClick;
    if (!clic && !doppio) {
        return QDialog::eventFilter(oggetto, evento);
    }
    for (int i = 0; i < kCelle; ++i) {
        if (oggetto == G[i]) {
            if (clic) {
                G_Click(i);
            } else {
                G_DblClick(i);
            }
            return true;
        }
    }
    if (!clic) {
        return false;
    }
    if (oggetto == lblMESE) {
        alternaListaMesi();
    } else if (oggetto == lblANNO) {
        impostaAnno(QDate::currentDate().year());
    } else if (oggetto == MyDate) {
        MostraNascondiCalendario();
    }
    return false;
}

void ApriCalendario(QLineEdit* casella, Secolo secolo)
{
    const std::optional<QDate> data = leggiData(casella->text(), secolo);
    DataCalendario = data ? data->toString(QStringLiteral("dd/MM/yyyy")) : casella->text();
    QString scelta;
    {
        FCale calendario(casella->window());
        calendario.exec();
        scelta = DataCalendario;
    }
    if (!scelta.isEmpty()) {
        casella->setText(scelta);
    }
    // The form the picker was opened from is the active window again, with the box's focus.
    casella->activateWindow();
}

} // namespace ondavia
