// A restore run in a process of its own, so that a test can kill it half-way.
//
//     ripristino_interrotto DATABASE BACKUP [STEP]
//
// Prints "pronto" once the database is open and the restore is about to begin. With a STEP above 0, the
// process kills itself with SIGKILL when the restore adds its STEP-th row; otherwise it runs to the end.
#include "app/RipristinoBackup.h"
#include "db/Connection.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DATABASE BACKUP [STEP]\n", argv[0]);
        return 2;
    }
    ondavia::db::Connection connessione;
    if (!connessione.Open(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "%s\n", qPrintable(connessione.lastError()));
        return 2;
    }
    const int ultimo = argc > 3 ? std::atoi(argv[3]) : 0;
    int passi = 0;
    ondavia::RipristinoBackup ripristino(connessione, {false, {}, [&] {
                                                           if (++passi == ultimo) {
                                                               std::raise(SIGKILL);
                                                           }
                                                       }});
    std::printf("pronto\n");
    std::fflush(stdout);
    QString errore;
    if (!ripristino.RipristinaArchivio(QString::fromLocal8Bit(argv[2]), &errore)) {
        std::fprintf(stderr, "%s\n", qPrintable(errore));
        return 1;
    }
    return 0;
}
