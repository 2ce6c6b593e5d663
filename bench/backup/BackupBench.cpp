// Times the backup and the restore of the register through the form FSalva, shown with its progress bar
// (headless: QT_QPA_PLATFORM=offscreen), against the sqlite3 command-line tool importing the same rows
// as CSV into an empty copy of the same database. Rounds are interleaved (save, restore, import) so that
// the three see the same machine; each round gives a ratio to the import, and the median ratio is
// reported with the spread of the rounds, for 1,000, 10,000 and 100,000 subjects, and the growth of each
// from one size to the next beside that of the import.
//
// Run: build/bench/backup/backup_bench [rounds]       needs sqlite3 on the PATH (scripts/setup installs it)
//      build/bench/backup/backup_bench --screenshot FILE.png
//          restores 10,000 subjects once and saves a picture of the form half-way (docs/fsalva.png is one,
//          taken under Xvfb: xvfb-run -a env QT_QPA_PLATFORM=xcb build/bench/backup/backup_bench --screenshot ...)
//      build/bench/backup/backup_bench --once SUBJECTS
//          one round at one size, for a profiler: valgrind --tool=callgrind --collect-atstart=no
//          --toggle-collect='ondavia::FSalva::confermaRipristino()' build/bench/backup/backup_bench --once 10000
//
// What each side does. The save writes every subject to a backup file (dialog answered at once). The
// restore is the whole confirm, on the register as the save left it (the same subjects, already restored
// by the round before): the safety copy of the register (a full save), then the file's subjects in place
// of the register's own (each row added, each subject's earlier row deleted), in one transaction. The
// import is the sqlite3 process, from start to exit, adding the same rows from CSV in one transaction to
// an empty copy of the same database: the same table, the same indexes and collations. Both sides commit
// with the same journal mode and synchronous setting (checked at each size) and work with the same page
// cache (the one the restore sets). What stays different is the work itself: the restore also writes the
// safety copy, reads and checks a backup file rather than CSV, and replaces rows rather than adding them
// to an empty table.
// The growth from one size to the next is given for the times, as measured, and for the processor times
// alone, which leave out the waits (the syncs of the commits, a busy machine) that weigh most on the
// shortest runs.
#include "../Cronometro.h"
#include "app/Dichiarazioni.h"
#include "app/Launch.h"
#include "app/RipristinoBackup.h"
#include "app/ScrittoreBackup.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "platform/ScriptedPlatform.h"
#include "shell/FSalva.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace ondavia;
using namespace ondavia::bench;

namespace {

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "backup_bench: %s\n", qPrintable(what));
    std::exit(1);
}

// Subjects with every field the register fills: half companies, half natural persons, accented names.
// Birth dates run from 1930 to 1998 and begin again, so that every one is a date the form accepts.
void riempiCope(int soggetti)
{
    const QString sql = QStringLiteral(R"(
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < %1)
INSERT INTO COPE (OCOD, ONPROG, ODES, OSTP, orag, OSCOM, OSPRO, OCOG, ONOME, OSEX, ONDT, oncom, onpro,
                  oTIPOSOG, OTIPOSOGD, ORECF, ORECOG, ORENOME, ORESEX, OREDTNAS, oRENCOM, oREnpro, OREEMAIL,
                  ORETEL, OPEEMAIL, OPEDATAI, OPEGESTORE, OMC1, OMC2, OMC3, OMOC1, OMOC2, OMOC3, OTIPOCOM1,
                  OTIPOCOM2, oitt1, oitt2, OITTCF)
SELECT printf('123456%05d', i), '001',
       CASE i % 2 WHEN 0 THEN printf('SOCIETÀ %05d DELL''ACQUA SPA', i) ELSE printf('ROSSI%05d MARIO', i) END,
       CASE i % 2 WHEN 0 THEN '1' ELSE '0' END,
       CASE i % 2 WHEN 0 THEN printf('SOCIETÀ %05d DELL''ACQUA SPA', i) ELSE '' END,
       CASE i % 2 WHEN 0 THEN 'L''AQUILA' ELSE '' END, CASE i % 2 WHEN 0 THEN 'AQ' ELSE '' END,
       CASE i % 2 WHEN 0 THEN '' ELSE printf('ROSSI%05d', i) END, CASE i % 2 WHEN 0 THEN '' ELSE 'MARIO' END,
       CASE i % 2 WHEN 0 THEN '' ELSE 'M' END,
       CASE i % 2 WHEN 0 THEN NULL ELSE date('1930-01-01', printf('+%d days', i % 25000)) END,
       CASE i % 2 WHEN 0 THEN '' ELSE 'FORLÌ' END, CASE i % 2 WHEN 0 THEN '' ELSE 'FC' END,
       '13', '13=OICR', 'RSSMRA80A01H501U', 'ROSSI', 'MARIO', 'M', '01/01/1980', 'ROMA', 'RM', 'MARIO@ALFA.IT',
       '06 123456', printf('PEC%05d@PEC.IT', i), '01/02/2020', 'ARUBA €', '0', '0', '0', 1, 0, 1, '-1', '0',
       '0', '-1', 'VRDGPP75B02L219K'
FROM n;
)")
                            .arg(soggetti);
    db::Transaction transazione(Conn);
    if (!Conn.Execute(sql) || !transazione.commit()) {
        fail(Conn.lastError());
    }
}

// Dialogs and messages answered at once, window events run for real: the progress is drawn on screen.
class PiattaformaBench : public ScriptedPlatform {
public:
    void processEvents() override { QApplication::processEvents(); }
};

// Processor time (user and system) of this process, or of its children that have ended, in milliseconds.
double processore(int chi)
{
    rusage uso{};
    getrusage(chi, &uso);
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1000 + t.tv_usec / 1000.0; };
    return ms(uso.ru_utime) + ms(uso.ru_stime);
}

struct Misure {
    std::vector<double> salva, ripristina, importa, avvio;
    // The processor time of each: what the waits for the disk and for a processor leave out.
    std::vector<double> cpuSalva, cpuRipristina, cpuImporta;
};

class Banco {
public:
    explicit Banco(int soggetti) : m_soggetti(soggetti)
    {
        qputenv("ONDAVIA_HOME", m_casa.path().toUtf8());
        resetDichiarazioni();
        if (!Main([] {})) {
            fail(QStringLiteral("cannot prepare the database"));
        }
        riempiCope(soggetti);
        // The peer's input: the same rows as CSV, and an empty copy of the same database to import into.
        const QString archivio = percorsoArchivio();
        m_csv = m_casa.filePath(QStringLiteral("cope.csv"));
        m_vuoto = m_casa.filePath(QStringLiteral("vuoto.db"));
        if (!sqlite3({archivio, QStringLiteral(".mode csv"), QStringLiteral(".once ") + m_csv,
                      QStringLiteral("SELECT * FROM COPE")}) ||
            !QFile::copy(archivio, m_vuoto) ||
            !sqlite3({m_vuoto, QStringLiteral("DELETE FROM COPE"), QStringLiteral("VACUUM")})) {
            fail(QStringLiteral("cannot prepare the import"));
        }
        // The durability settings of both commits.
        const QString programma =
            pragma(QStringLiteral("journal_mode")) + QLatin1Char('/') + pragma(QStringLiteral("synchronous"));
        QString peer;
        if (!sqlite3({m_vuoto, QStringLiteral("PRAGMA journal_mode"), QStringLiteral("PRAGMA synchronous")}, &peer) ||
            peer.trimmed().replace(QLatin1Char('\n'), QLatin1Char('/')) != programma) {
            fail(QStringLiteral("the program commits with %1, sqlite3 with %2").arg(programma, peer.simplified()));
        }
        m_impostazioni = programma;
    }

    const QString& impostazioni() const { return m_impostazioni; }

    void round(Misure& m)
    {
        m_desktop.messages.clear();
        const QString backup = m_casa.filePath(QStringLiteral("SAVE.REI"));
        QFile::remove(backup);
        m_desktop.saveAnswers = {backup};
        double cpu = 0;
        m.salva.push_back(conferma(QStringLiteral("S"), &cpu));
        m.cpuSalva.push_back(cpu);
        m_desktop.openAnswers = {backup};
        m.ripristina.push_back(conferma(QStringLiteral("R"), &cpu));
        m.cpuRipristina.push_back(cpu);
        for (const QString& copia : QDir(m_casa.path()).entryList({QStringLiteral("BFRR_*")}, QDir::Files)) {
            QFile::remove(m_casa.filePath(copia));
        }
        const QStringList attesi{QStringLiteral("Creazione file di BackUP terminata"),
                                 QStringLiteral("Ripristino terminato")};
        if (m_desktop.messageTexts() != attesi || contaSoggetti() != m_soggetti) {
            fail(QStringLiteral("the form did not save and restore: %1").arg(m_desktop.messageTexts().join(" / ")));
        }

        const QString bersaglio = m_casa.filePath(QStringLiteral("import.db"));
        QFile::remove(bersaglio);
        QFile::copy(m_vuoto, bersaglio);
        const double cpuPrima = processore(RUSAGE_CHILDREN);
        const auto inizio = Clock::now();
        if (!sqlite3({bersaglio, QStringLiteral("PRAGMA cache_size = -%1").arg(RipristinoBackup::CacheKiB),
                      QStringLiteral(".mode csv"), QStringLiteral(".import ") + m_csv + " COPE"})) {
            fail(QStringLiteral("sqlite3 did not import"));
        }
        m.importa.push_back(millisecondsSince(inizio));
        m.cpuImporta.push_back(processore(RUSAGE_CHILDREN) - cpuPrima);
        // The part of the import that does not grow with the rows: starting sqlite3 on the same file.
        const auto partenza = Clock::now();
        if (!sqlite3({bersaglio, QStringLiteral("SELECT 1")})) {
            fail(QStringLiteral("sqlite3 did not start"));
        }
        m.avvio.push_back(millisecondsSince(partenza));
    }

    // One restore, with a picture of the form taken once it has gone past half the rows.
    void fotografa(const QString& png)
    {
        const QString backup = m_casa.filePath(QStringLiteral("SAVE.REI"));
        Misure m;
        round(m);
        ScrittoreBackup scrittore(Conn);
        QString errore;
        if (!scrittore.ScriviTabella(backup, QStringLiteral("COPE"), {}, &errore)) {
            fail(errore);
        }
        ModoSalva = QStringLiteral("R");
        m_desktop.openAnswers = {backup};
        FSalva form;
        mostra(form);
        QTimer orologio;
        bool fatta = false;
        // The form lets window events run while it works, so the timer fires in the middle of the restore.
        QObject::connect(&orologio, &QTimer::timeout, [&] {
            if (!fatta && form.ContaRighe() > m_soggetti * 3 / 2) {
                fatta = form.grab().save(png);
            }
        });
        orologio.start(5);
        form.bconferma_Click();
        if (!fatta) {
            fail(QStringLiteral("no picture taken"));
        }
    }

private:
    // Loads the form for ModoSalva and shows it, as the command does.
    static void mostra(FSalva& form)
    {
        form.Form_Load();
        form.show();
        QApplication::processEvents();
    }

    // The form in one mode, shown; the time of its confirm button, in milliseconds, and its processor time.
    static double conferma(const QString& modo, double* cpu)
    {
        ModoSalva = modo;
        FSalva form;
        mostra(form);
        const double cpuPrima = processore(RUSAGE_SELF);
        const auto inizio = Clock::now();
        form.bconferma_Click();
        const double tempo = millisecondsSince(inizio);
        *cpu = processore(RUSAGE_SELF) - cpuPrima;
        return tempo;
    }

    // Runs sqlite3 with a database and dot-commands or statements given one by one; what it prints goes to
    // *uscita when given.
    static bool sqlite3(const QStringList& argomenti, QString* uscita = nullptr)
    {
        QStringList comandi{argomenti.front()};
        for (qsizetype i = 1; i < argomenti.size(); ++i) {
            comandi << QStringLiteral("-cmd") << argomenti[i];
        }
        comandi << QStringLiteral(".quit");
        QProcess processo;
        processo.start(QStringLiteral("sqlite3"), comandi);
        const bool finito = processo.waitForFinished(60000) && processo.exitStatus() == QProcess::NormalExit &&
                            processo.exitCode() == 0 && processo.readAllStandardError().isEmpty();
        if (uscita) {
            *uscita = QString::fromUtf8(processo.readAllStandardOutput());
        }
        return finito;
    }

    static QString pragma(const QString& nome)
    {
        db::Recordset valore;
        if (!valore.Open(QStringLiteral("PRAGMA ") + nome, Conn) || valore.RecordCount() != 1) {
            fail(QStringLiteral("cannot read PRAGMA %1").arg(nome));
        }
        return valore.Fields(0).Value().toText();
    }

    static int contaSoggetti()
    {
        db::Recordset conta;
        conta.Open(QStringLiteral("SELECT Count(*) AS N FROM COPE"), Conn);
        return static_cast<int>(conta.Fields(0).Value().toInteger());
    }

    int m_soggetti;
    QTemporaryDir m_casa;
    QString m_csv;
    QString m_vuoto;
    QString m_impostazioni;
    PiattaformaBench m_desktop;
    PlatformScope m_scope{m_desktop};
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--screenshot") {
        Banco banco(10000);
        banco.fotografa(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    if (argc > 2 && QByteArray(argv[1]) == "--once") {
        Banco banco(std::max(1, std::atoi(argv[2])));
        Misure m;
        banco.round(m);
        std::printf("save %.1f ms, restore %.1f ms, sqlite3 %.1f ms\n", m.salva[0], m.ripristina[0], m.importa[0]);
        return 0;
    }
    const int giri = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    // Each size: the medians of the round-by-round ratios to the import, with their spread (lowest and
    // highest ratio of the rounds), and the medians of the times, from which the growth is worked out.
    struct Riga {
        int soggetti;
        double salva, ripristina, importa, avvio;
        double cpuSalva = 0, cpuRipristina = 0, cpuImporta = 0;
    };
    std::vector<Riga> righe;
    QString impostazioni;
    // The rounds at one size, after a warm-up round (first touches of the files and of the form).
    const auto misura = [giri, &impostazioni](int soggetti) {
        Banco banco(soggetti);
        Misure m;
        Misure scarto;
        banco.round(scarto);
        for (int g = 0; g < giri; ++g) {
            banco.round(m);
        }
        impostazioni = banco.impostazioni();
        resetDichiarazioni();
        return m;
    };
    std::printf("%-9s %10s %11s %11s %22s %22s\n", "subjects", "save ms", "restore ms", "sqlite3 ms",
                "save/import [spread]", "restore/import [spread]");
    for (const int soggetti : {1000, 10000, 100000}) {
        const Misure m = misura(soggetti);
        std::vector<double> rapportiSalva, rapportiRipristina;
        for (std::size_t g = 0; g < m.importa.size(); ++g) {
            rapportiSalva.push_back(m.salva[g] / m.importa[g]);
            rapportiRipristina.push_back(m.ripristina[g] / m.importa[g]);
        }
        const auto [minS, maxS] = std::minmax_element(rapportiSalva.begin(), rapportiSalva.end());
        const auto [minR, maxR] = std::minmax_element(rapportiRipristina.begin(), rapportiRipristina.end());
        righe.push_back({soggetti, median(m.salva), median(m.ripristina), median(m.importa), median(m.avvio),
                         median(m.cpuSalva), median(m.cpuRipristina), median(m.cpuImporta)});
        std::printf("%-9d %10.1f %11.1f %11.1f %8.2f [%4.2f-%4.2f] %8.2f [%4.2f-%4.2f]\n", soggetti, righe.back().salva,
                    righe.back().ripristina, righe.back().importa, median(rapportiSalva), *minS, *maxS,
                    median(rapportiRipristina), *minR, *maxR);
    }
    for (std::size_t i = 1; i < righe.size(); ++i) {
        const Riga& da = righe[i - 1];
        const Riga& a = righe[i];
        const double importa = a.importa / da.importa;
        std::printf("growth %d -> %d subjects: save %.2fx, restore %.2fx, sqlite3 %.2fx "
                    "(save/sqlite3 %.2f, restore/sqlite3 %.2f)\n",
                    da.soggetti, a.soggetti, a.salva / da.salva, a.ripristina / da.ripristina, importa,
                    a.salva / da.salva / importa, a.ripristina / da.ripristina / importa);
        // sqlite3's start costs the same at every size, which flattens its growth: without it, the growth of
        // the import's own work.
        const double lavoro = (a.importa - a.avvio) / (da.importa - da.avvio);
        std::printf("  without sqlite3's start (%.1f ms): sqlite3 %.2fx (save/sqlite3 %.2f, restore/sqlite3 %.2f)\n",
                    a.avvio, lavoro, a.salva / da.salva / lavoro, a.ripristina / da.ripristina / lavoro);
        // The processor time leaves out the waits for the disk's syncs and for a processor, which weigh most in
        // the shortest runs and so flatten the growth of the short import most: the growth of the work itself.
        const double cpuSqlite = a.cpuImporta / da.cpuImporta;
        std::printf("  processor time (%.0f, %.0f, %.0f ms): save %.2fx, restore %.2fx, sqlite3 %.2fx (save/sqlite3 "
                    "%.2f, restore/sqlite3 %.2f)\n",
                    a.cpuSalva, a.cpuRipristina, a.cpuImporta, a.cpuSalva / da.cpuSalva,
                    a.cpuRipristina / da.cpuRipristina, cpuSqlite, a.cpuSalva / da.cpuSalva / cpuSqlite,
                    a.cpuRipristina / da.cpuRipristina / cpuSqlite);
    }
    std::printf("medians of %d interleaved rounds (save, restore, import) at each size; both sides commit with "
                "journal_mode/synchronous %s\n",
                giri, qPrintable(impostazioni));
    return 0;
}
