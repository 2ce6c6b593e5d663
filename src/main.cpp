#include "app/Launch.h"
#include "platform/QtPlatform.h"
#include "printout/CollegamentoPdf.h"
#include "register/CreaRegistro.h"
#include "shell/F0.h"
#include "shell/ImmaginiOndavia.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ondavia"));
    QApplication::setWindowIcon(ondavia::iconaOndavia());
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

    // Standard buttons and dialogs in Italian ("Sì", "No", "Annulla").
    QTranslator qtItalian;
    if (qtItalian.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtItalian);
    }

    ondavia::QtPlatform desktop;
    ondavia::setPlatform(&desktop);
    ondavia::collegaScrittorePdf();

    std::unique_ptr<ondavia::F0> finestra;
    if (!ondavia::Main([&] {
            finestra = std::make_unique<ondavia::F0>(ondavia::creaRegistro);
            finestra->show();
        })) {
        return 1;
    }
    return QApplication::exec();
}
