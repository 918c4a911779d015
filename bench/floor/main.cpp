// The yardstick for start-up time and memory: the least a Qt Widgets program can show.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(u"floor"_s);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(u"Qt"_s));
    layout->addWidget(new QPushButton(u"OK"_s));
    // The same size as the splash, so both servers draw the same area.
    window.resize(360, 288);
    window.show();
    return QApplication::exec();
}
