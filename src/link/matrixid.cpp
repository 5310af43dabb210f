#include "link/matrixid.h"

#include <QRegularExpression>

bool MatrixId::read(const QString &text, int *id)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    if (!digits.match(text).hasMatch())
        return false;
    *id = text.toInt();
    return true;
}
