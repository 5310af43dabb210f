#include "app/applicationlook.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QFont>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplicationLook(app);

    MainWindow window;
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    QApplication::setFont(QFont(QStringLiteral("微软雅黑")));
    window.show();
    window.move(desktop.x() + (desktop.width() - window.width()) / 2,
                desktop.y() + (desktop.height() - window.height()) / 2);

    return app.exec();
}
