// A bare Qt window, the yardstick of start-up: what any Qt program of this
// machine pays before its window is mapped.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("bare"));
    w.resize(1000, 700);
    w.show();
    return app.exec();
}
