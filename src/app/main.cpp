#include "app/mainwindow.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QFile>
#include <QFont>
#include <QResource>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    // Style sheet and logos come from the resource file in the working directory;
    // without it the program simply runs unstyled.
    QResource::registerResource(QStringLiteral("resource.dll"));
    QFile styleFile(QStringLiteral(":/resource/qss/writestyle.qss"));
    styleFile.open(QIODevice::ReadOnly);
    const QByteArray style = styleFile.readAll();
    const int nul = style.indexOf('\0');
    app.setStyleSheet(QString::fromUtf8(nul < 0 ? style : style.left(nul)));

    MainWindow window;
    const QWidget *desktop = QApplication::desktop();
    QApplication::setFont(QFont(QStringLiteral("微软雅黑")));
    window.show();
    window.move((desktop->width() - window.width()) / 2, (desktop->height() - window.height()) / 2);

    return app.exec();
}
