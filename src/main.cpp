#include "app/Launch.h"
#include "platform/QtPlatform.h"
#include "shell/F0.h"
#include "shell/GestoreProtetto.h"
#include "shell/ImmaginiOndavia.h"

#include <QApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

// Stands in the work area until the subject register form is part of the program: it says so, and
// every register command says that it is not yet available.
class RegistroProvvisorio : public ondavia::Registro {
public:
    RegistroProvvisorio()
    {
        m_form.setObjectName(QStringLiteral("F1OP"));
        m_form.setWindowTitle(QStringLiteral("Elenco Soggetti Obbligati"));
        m_form.setAlignment(Qt::AlignCenter);
        m_form.setText(QStringLiteral("Il registro dei soggetti obbligati non è ancora disponibile "
                                      "in questa versione di Ondavia."));
    }

    QWidget* form() override { return &m_form; }
    void Lista() override {}
    void Conferma() override { ondavia::FunzioneNonDisponibile(QStringLiteral("Registra")); }
    void Aggiungi() override { ondavia::FunzioneNonDisponibile(QStringLiteral("Aggiungi")); }
    void Elimina() override { ondavia::FunzioneNonDisponibile(QStringLiteral("Elimina")); }
    void Copia() override { ondavia::FunzioneNonDisponibile(QStringLiteral("Copia")); }
    void CreaComunicazione() override { ondavia::FunzioneNonDisponibile(QStringLiteral("Crea Comunicazione")); }
    void STAMPA() override { ondavia::FunzioneNonDisponibile(QStringLiteral("Stampa")); }

private:
    QLabel m_form;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ondavia"));
    QApplication::setWindowIcon(QIcon(ondavia::LogoOndavia(64)));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

    // Standard buttons and dialogs in Italian ("Sì", "No", "Annulla").
    QTranslator qtItalian;
    if (qtItalian.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtItalian);
    }

    ondavia::QtPlatform desktop;
    ondavia::setPlatform(&desktop);

    std::unique_ptr<ondavia::F0> finestra;
    if (!ondavia::Main([&] {
            finestra = std::make_unique<ondavia::F0>([](ondavia::F0&) -> std::unique_ptr<ondavia::Registro> {
                return std::make_unique<RegistroProvvisorio>();
            });
            finestra->show();
        })) {
        return 1;
    }
    return QApplication::exec();
}
