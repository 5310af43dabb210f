#include "app/applicationlook.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QResource>

namespace {

// The texts ask for Windows' Chinese interface font. Where it is absent, the Noto
// CJK face draws Latin and Chinese alike: otherwise fontconfig searches its
// fallbacks on every start and mixes a Latin face with a Chinese one. Qt tries
// a family before its substitutes, so an installed Windows font still wins.
const char *const WindowsFamilies[] = {"微软雅黑", "Microsoft YaHei"};
const char *const StandInFamily = "Noto Sans CJK SC";

} // namespace

void setUpApplicationLook(QApplication &app)
{
    // Without the resource file the program simply runs unstyled.
    QResource::registerResource(QStringLiteral("resource.dll"));
    QFile styleFile(QStringLiteral(":/resource/qss/writestyle.qss"));
    styleFile.open(QIODevice::ReadOnly);
    const QByteArray style = styleFile.readAll();
    const int nul = style.indexOf('\0');
    app.setStyleSheet(QString::fromUtf8(nul < 0 ? style : style.left(nul)));

    for (const char *family : WindowsFamilies)
        QFont::insertSubstitution(QString::fromUtf8(family), QString::fromLatin1(StandInFamily));
}
