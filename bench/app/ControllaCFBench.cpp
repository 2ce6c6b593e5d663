// The fiscal-code check as the register's validation runs it: 100,000 valid codes against the seeded
// cadastral table, looked up with the recordset's search from its first row.

#include "app/Archivio.h"
#include "app/CodiceFiscale.h"
#include "app/Dichiarazioni.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <random>

using namespace ondavia;

namespace {

constexpr int kCodici = 100000;

struct Archivio {
    QTemporaryDir cartella;
    QStringList catastali;
    QStringList validi;    // cadastral code as stored
    QStringList omocodici; // the last digit of the cadastral code written as its omocode letter

    Archivio()
    {
        QString errore;
        const QString file = cartella.filePath(QStringLiteral("OVIA.db"));
        if (!creaArchivio(file, QString(), &errore) || !Conn.Open(file) || !CaricaComuni(&errore)) {
            std::cerr << "archivio: " << errore.toStdString() << '\n';
            std::exit(1);
        }
        for (rsComuniCF.MoveFirst(); !rsComuniCF.Eof(); rsComuniCF.MoveNext()) {
            catastali << rsComuniCF.Fields(QStringLiteral("KEY_TAB")).Value().toText();
        }
        std::mt19937 caso(16);
        validi = genera(caso, false);
        omocodici = genera(caso, true);
    }

    QStringList genera(std::mt19937& caso, bool omocodia)
    {
        static const QString lettere = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        static const QString mesi = QStringLiteral("ABCDEHLMPRST");
        static const QString omocodiche = QStringLiteral("LMNPQRSTUV");
        std::uniform_int_distribution<int> lettera(0, 25);
        std::uniform_int_distribution<int> anno(0, 99);
        std::uniform_int_distribution<int> mese(0, 11);
        std::uniform_int_distribution<int> giorno(1, 71);
        std::uniform_int_distribution<int> luogo(0, static_cast<int>(catastali.size()) - 1);
        QStringList codici;
        codici.reserve(kCodici);
        while (codici.size() < kCodici) {
            QString c;
            for (int i = 0; i < 6; ++i) {
                c += lettere[lettera(caso)];
            }
            c += QStringLiteral("%1").arg(anno(caso), 2, 10, QLatin1Char('0')) + mesi[mese(caso)] +
                 QStringLiteral("%1").arg(giorno(caso), 2, 10, QLatin1Char('0'));
            QString catastale = catastali[luogo(caso)];
            if (omocodia) {
                const QChar ultima = catastale[3];
                if (!ultima.isDigit()) {
                    continue;
                }
                catastale[3] = omocodiche[ultima.digitValue()];
            }
            c += catastale;
            // The check answers with the character the code should end with.
            const std::int16_t atteso = ControllaCF(c + QLatin1Char('?'));
            c += QChar(atteso);
            if (ControllaCF(c) != 0) {
                std::cerr << "codice non valido: " << c.toStdString() << '\n';
                std::exit(1);
            }
            codici << c;
        }
        return codici;
    }
};

Archivio& archivio()
{
    static Archivio a;
    return a;
}

void controlla(benchmark::State& stato, const QStringList& codici)
{
    std::int64_t nonValidi = 0;
    for (auto _ : stato) {
        for (const QString& c : codici) {
            nonValidi += ControllaCF(c) != 0;
        }
    }
    if (nonValidi != 0) {
        stato.SkipWithError("a valid code was refused");
    }
    stato.SetItemsProcessed(stato.iterations() * codici.size());
    stato.counters["us_per_code"] =
        benchmark::Counter(static_cast<double>(stato.iterations() * codici.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

void BM_ControllaCF_100000Validi(benchmark::State& stato)
{
    controlla(stato, archivio().validi);
}
BENCHMARK(BM_ControllaCF_100000Validi)->Unit(benchmark::kMillisecond);

void BM_ControllaCF_100000Omocodici(benchmark::State& stato)
{
    controlla(stato, archivio().omocodici);
}
BENCHMARK(BM_ControllaCF_100000Omocodici)->Unit(benchmark::kMillisecond);

// The first search after loading the table builds the recordset's index of KEY_TAB.
void BM_CaricamentoEPrimaRicerca(benchmark::State& stato)
{
    const QString codice = archivio().validi.front();
    for (auto _ : stato) {
        rsComuniCF.Open(QStringLiteral("SELECT * From T_COMUNICF ORDER BY DESCRIZION"), Conn);
        benchmark::DoNotOptimize(ControllaCF(codice));
    }
}
BENCHMARK(BM_CaricamentoEPrimaRicerca)->Unit(benchmark::kMillisecond);

// For comparison: the same search by a criterion that the index does not serve, row after row.
void BM_RicercaLineare(benchmark::State& stato)
{
    const QStringList& catastali = archivio().catastali;
    std::mt19937 caso(3);
    std::uniform_int_distribution<int> luogo(0, static_cast<int>(catastali.size()) - 1);
    for (auto _ : stato) {
        rsComuniCF.MoveFirst();
        rsComuniCF.Find(QStringLiteral("KEY_TAB LIKE '") + catastali[luogo(caso)] + QLatin1Char('\''));
        benchmark::DoNotOptimize(rsComuniCF.Eof());
    }
}
BENCHMARK(BM_RicercaLineare)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
