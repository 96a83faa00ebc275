// The smallest Qt Widgets program that shows a window: one empty dialog. The start-up row
// measures it side by side with the editor.
#include <QApplication>
#include <QDialog>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.show();
    return QApplication::exec();
}
