// notavera: the score editor's main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Notavera");
    QMainWindow window;
    window.setWindowTitle("Notavera");
    window.resize(1000, 800);
    window.show();
    return QApplication::exec();
}
