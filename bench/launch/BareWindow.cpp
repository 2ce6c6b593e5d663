// The peer of the process launch benchmark: a bare Qt main window with a menu bar and a label
// ("--no-text": the window alone, no menu bar, no label).
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

#include <cstring>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    if (!(argc > 1 && std::strcmp(argv[1], "--no-text") == 0)) {
        window.menuBar()->addMenu(QStringLiteral("Funzioni"));
        window.menuBar()->addMenu(QStringLiteral("Aiuto"));
        window.setCentralWidget(new QLabel(QStringLiteral("Ondavia")));
    }
    window.resize(1200, 820);
    window.show();
    return QApplication::exec();
}
