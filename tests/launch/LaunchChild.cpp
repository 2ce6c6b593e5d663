// A program the launch tests start in a process of its own: it runs the launch on the program folder
// named by ONDAVIA_HOME and writes on standard output, one line each, what it showed:
//   MESSAGGIO <icon number> <text, with line breaks as \n>
//   FINESTRA            the main window would be shown
//   PRONTO              (with --resta) launched, holding the register until standard input closes
// Options:
//   --utente UID        when run as root, becomes that user (and group) before anything else
//   --scrive CARTELLA   only tries to create a file in the folder: exit 0 when it could
// Exit: 0 launched, 1 the launch ended, 77 the user could not be changed.
#include "app/Launch.h"
#include "platform/ScriptedPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <iostream>
#include <string>

#include <grp.h>
#include <sys/prctl.h>
#include <unistd.h>

using namespace ondavia;

namespace {

void riga(const QString& testo)
{
    std::fputs((testo + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

bool diventa(uid_t utente)
{
    if (::geteuid() != 0) {
        return true; // permissions already hold for this user
    }
    if (::setgroups(0, nullptr) != 0 || ::setgid(utente) != 0 || ::setuid(utente) != 0 || ::getuid() != utente) {
        return false;
    }
    // A process that changed user is not dumpable; the leak checker of sanitized builds needs it to be.
    ::prctl(PR_SET_DUMPABLE, 1);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    bool resta = false;
    QString scrive;
    const QStringList argomenti = QCoreApplication::arguments();
    for (qsizetype i = 1; i < argomenti.size(); ++i) {
        if (argomenti[i] == QLatin1String("--resta")) {
            resta = true;
        } else if (argomenti[i] == QLatin1String("--utente") && i + 1 < argomenti.size()) {
            if (!diventa(static_cast<uid_t>(argomenti[++i].toUInt()))) {
                riga(QStringLiteral("UTENTE non cambiato"));
                return 77;
            }
        } else if (argomenti[i] == QLatin1String("--scrive") && i + 1 < argomenti.size()) {
            scrive = argomenti[++i];
        }
    }
    if (!scrive.isEmpty()) {
        QFile prova(QDir(scrive).filePath(QStringLiteral("prova-di-scrittura")));
        if (!prova.open(QIODevice::WriteOnly)) {
            return 1;
        }
        prova.remove();
        return 0;
    }

    ScriptedPlatform desktop;
    setPlatform(&desktop);
    desktop.onMessage = [](const MessageRequest& messaggio) -> std::optional<MsgResult> {
        QString testo = messaggio.text;
        riga(QStringLiteral("MESSAGGIO %1 %2")
                 .arg(static_cast<int>(messaggio.icon))
                 .arg(testo.replace(QLatin1Char('\n'), QLatin1String("\\n"))));
        return std::nullopt;
    };
    if (!Main([] { riga(QStringLiteral("FINESTRA")); })) {
        return 1;
    }
    if (resta) {
        riga(QStringLiteral("PRONTO"));
        std::string scarto;
        while (std::getline(std::cin, scarto)) {
        }
    }
    return 0;
}
