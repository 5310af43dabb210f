#include "widgets/elidedtext.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QStyle>
#include <QStyleOptionButton>

ElidedText::ElidedText(QAbstractButton *button, const QString &sample)
    : QObject(button)
    , m_button(button)
    , m_sample(sample)
    , m_name(button->text())
{
    QSizePolicy policy = button->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    button->setSizePolicy(policy);
    // The width follows at the button's polish, when its font and style are known.
    button->installEventFilter(this);
}

void ElidedText::setName(QAbstractButton *button, const QString &name)
{
    if (ElidedText *text = button->findChild<ElidedText *>(QString(), Qt::FindDirectChildrenOnly)) {
        text->m_name = name;
        button->setToolTip(name);
        text->elide();
    }
}

// Font and style sheet may come after the button is made, and both change the
// room a text needs.
bool ElidedText::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_button) {
        switch (event->type()) {
        case QEvent::Polish:
        case QEvent::FontChange:
        case QEvent::StyleChange:
            fitWidth();
            elide();
            break;
        case QEvent::Resize:
            elide();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ElidedText::fitWidth()
{
    const bool checkBox = qobject_cast<QCheckBox *>(m_button) != nullptr;
    QStyleOptionButton option;
    option.initFrom(m_button);
    option.text = m_sample;
    const QFontMetrics metrics = m_button->fontMetrics();
    const QSize text(metrics.horizontalAdvance(m_sample), metrics.height());
    const QSize needed = m_button->style()->sizeFromContents(
        checkBox ? QStyle::CT_CheckBox : QStyle::CT_PushButton, &option, text, m_button);
    m_button->setMinimumWidth(needed.width());
}

// Measured in the room the style leaves for the text, so that a short name is
// centred whole and a long one loses its end, never both ends.
void ElidedText::elide()
{
    const bool checkBox = qobject_cast<QCheckBox *>(m_button) != nullptr;
    QStyleOptionButton option;
    option.initFrom(m_button);
    option.text = m_name;
    const QRect room = m_button->style()->subElementRect(
        checkBox ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, m_button);
    m_button->setText(m_button->fontMetrics().elidedText(m_name, Qt::ElideRight, room.width()));
    m_button->setToolTip(m_name);
}
