// The yardstick: a bare Qt program that only shows an input box, as the game
// does first.
#include <QApplication>
#include <QInputDialog>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QInputDialog dialog;
    dialog.setWindowTitle("Quimbra");
    dialog.setLabelText("Come ti chiami?");
    dialog.exec();
    return 0;
}
