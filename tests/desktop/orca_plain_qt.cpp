// Two things Orca 43 says of a plain Qt 6.4 program, as it says them of Varnek: "Metin seçimi
// kaldırıldı." as Tab leaves a box that Tab selected (Qt takes the selection away on leaving), and
// the window's name twice once a message box over it closes (the window manager hands the keyboard
// to the main window, and the window takes it back, as Varnek's windows do).
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow main;
    main.setWindowTitle(QStringLiteral("Ana pencere"));
    main.setCentralWidget(new QLineEdit(QStringLiteral("1000")));
    main.resize(300, 200);
    main.show();

    QDialog dialog(&main, Qt::Tool);
    dialog.setWindowTitle(QStringLiteral("Hesap"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *first = new QLineEdit(QStringLiteral("7"));
    auto *second = new QLineEdit(QStringLiteral("38,5"));
    auto *divide = new QPushButton(QStringLiteral("Böl"));
    for (QWidget *control : {static_cast<QWidget *>(first), static_cast<QWidget *>(second),
                             static_cast<QWidget *>(divide)})
        layout->addWidget(control);
    QObject::connect(divide, &QPushButton::clicked, &dialog, [&] {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Hata"), QStringLiteral("Sıfıra bölme"),
                        QMessageBox::Ok, &dialog);
        box.exec();
        dialog.activateWindow();
    });
    dialog.show();
    dialog.activateWindow();
    first->setFocus();
    return app.exec();
}
