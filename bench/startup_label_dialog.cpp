// A minimal Qt Widgets program that shows text: one dialog with one label and one button in
// the system font, so that, like the editor, it loads the font configuration before its first
// paint. The start-up row measures it side by side with the editor.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Target path:"), &dialog));
    layout->addWidget(new QPushButton(QStringLiteral("OK"), &dialog));
    dialog.show();
    return QApplication::exec();
}
