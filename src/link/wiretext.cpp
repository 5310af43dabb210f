#include "link/wiretext.h"

QByteArray WireText::bytes(const QString &text)
{
    return text.toLocal8Bit();
}
