// Times the register's subject list with 10,000 subjects in COPE: filling the grid and loading the first
// subject (Lista), with and without the repaint that follows, the form's first load and a resize.
// Run: build/bench/register/lista_bench [repetitions]   (headless: QT_QPA_PLATFORM=offscreen)
#include "../Cronometro.h"
#include "BancoRegistro.h"
#include "app/Dichiarazioni.h"
#include "db/Connection.h"
#include "db/Statement.h"
#include "register/F1OP.h"
#include "register/GrigliaSoggetti.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

using namespace ondavia;
using namespace ondavia::bench;

namespace {

constexpr int kSoggetti = 10000;

// Subjects with every field the form shows filled, half companies and half natural persons.
bool riempiCope()
{
    db::Transaction transazione(Conn);
    db::Statement riga(
        Conn,
        QStringLiteral(
            "INSERT INTO COPE (OCOD, ONPROG, ODES, OSTP, orag, OSCOM, OSPRO, OCOG, ONOME, OSEX, ONDT, oncom, onpro, "
            "oTIPOSOG, OTIPOSOGD, ORECF, ORECOG, ORENOME, ORESEX, OREDTNAS, oRENCOM, oREnpro, OREEMAIL, ORETEL, "
            "OPEEMAIL, OPEDATAI, OPEGESTORE, OMOC1, OMOC2, OMOC3, OTIPOCOM1, OTIPOCOM2, oitt1, oitt2) "
            "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < kSoggetti; ++i) {
        const bool societa = i % 2 == 0;
        const QString n = QString::number(i).rightJustified(5, u'0');
        const QString nome = societa ? QStringLiteral("SOCIETA %1 SPA").arg(n) : QStringLiteral("ROSSI%1 MARIO").arg(n);
        if (!riga.run({QStringLiteral("123456%1").arg(n),
                       QStringLiteral("001"),
                       nome,
                       societa ? "1" : "0",
                       societa ? nome : QString(),
                       societa ? "ROMA" : "",
                       societa ? "RM" : "",
                       societa ? "" : QStringLiteral("ROSSI%1").arg(n),
                       societa ? "" : "MARIO",
                       societa ? "" : "M",
                       societa ? db::Value() : db::Value(QStringLiteral("01/01/1980")),
                       societa ? "" : "MILANO",
                       societa ? "" : "MI",
                       "13",
                       "13=OICR",
                       "RSSMRA80A01H501U",
                       "ROSSI",
                       "MARIO",
                       "M",
                       "01/01/1980",
                       "ROMA",
                       "RM",
                       "MARIO@ALFA.IT",
                       "06123456",
                       QStringLiteral("PEC%1@PEC.IT").arg(n),
                       "01/02/2020",
                       "ARUBA",
                       1,
                       0,
                       1,
                       "-1",
                       "0",
                       "-1",
                       "0"})) {
            std::fprintf(stderr, "lista_bench: %s\n", qPrintable(riga.lastError()));
            return false;
        }
    }
    return transazione.commit();
}

} // namespace

int main(int argc, char* argv[])
{
    int ripetizioni = 15;
    banco::BancoRegistro banco(argc, argv, ripetizioni);
    ScriptedPlatform& scripted = banco.scripted;
    if (!banco.pronto() || !riempiCope()) {
        std::fprintf(stderr, "lista_bench: cannot prepare the database\n");
        return 1;
    }

    std::vector<double> caricamenti;
    std::unique_ptr<F1OP> form;
    for (int i = 0; i < 3; ++i) {
        form = std::make_unique<F1OP>();
        const auto inizio = Clock::now();
        form->Form_Load();
        caricamenti.push_back(millisecondsSince(inizio));
    }
    form->show();
    QApplication::processEvents();

    std::vector<double> liste;
    std::vector<double> listeDisegnate;
    for (int i = 0; i < ripetizioni; ++i) {
        auto inizio = Clock::now();
        form->Lista();
        liste.push_back(millisecondsSince(inizio));

        inizio = Clock::now();
        form->Lista();
        form->repaint();
        QApplication::processEvents();
        listeDisegnate.push_back(millisecondsSince(inizio));
    }
    std::vector<double> ridimensionamenti;
    for (int i = 0; i < ripetizioni; ++i) {
        const auto inizio = Clock::now();
        form->resize(form->width() + (i % 2 == 0 ? 40 : -40), form->height());
        QApplication::processEvents();
        ridimensionamenti.push_back(millisecondsSince(inizio));
    }
    if (form->modelloGriglia()->rowCount() != kSoggetti || CodiceCorrente != QLatin1String("12345600001") ||
        !scripted.messages.empty()) {
        std::fprintf(stderr, "lista_bench: the list is not what it should be\n");
        return 1;
    }
    std::printf("subjects in COPE:                      %d\n", kSoggetti);
    std::printf("Lista (fill the grid, load the first): %.1f ms median of %d\n", median(liste), ripetizioni);
    std::printf("Lista and repaint:                     %.1f ms median of %d\n", median(listeDisegnate), ripetizioni);
    std::printf("first load of the form (Form_Load):    %.1f ms median of 3\n", median(caricamenti));
    std::printf("resize (fit and scale the columns):    %.1f ms median of %d\n", median(ridimensionamenti),
                ripetizioni);
    return 0;
}
