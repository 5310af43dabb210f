#include "widgets/checkboxdelegate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

CheckBoxDelegate::CheckBoxDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

void CheckBoxDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    const bool checked = index.data(Qt::DisplayRole).toBool();
    if (index.column() != 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionButton buttonOption;
    buttonOption.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    buttonOption.rect = checkBoxRect(option);
    QApplication::style()->drawControl(QStyle::CE_CheckBox, &buttonOption, painter);
}

bool CheckBoxDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                   const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (index.column() != 0)
        return QStyledItemDelegate::editorEvent(event, model, option, index);

    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        const auto *mouseEvent = static_cast<QMouseEvent *>(event);
        if (mouseEvent->button() != Qt::LeftButton)
            return true;
        // A double click is swallowed: the releases around it do the toggling.
        if (!checkBoxRect(option).contains(mouseEvent->pos())
            || event->type() == QEvent::MouseButtonDblClick) {
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        break;
    }
    default:
        return false;
    }

    const bool value = index.data(Qt::DisplayRole).toBool();
    return model->setData(index, QVariant(!value), Qt::EditRole);
}

QRect CheckBoxDelegate::checkBoxRect(const QStyleOptionViewItem &option)
{
    const QStyleOptionButton defaultButtonOption;
    const QRect indicator = QApplication::style()->subElementRect(QStyle::SE_CheckBoxIndicator,
                                                                  &defaultButtonOption);
    const int w = indicator.width();
    const int h = indicator.height();
    return QRect(option.rect.x() + option.rect.width() / 2 - w / 2,
                 option.rect.y() + option.rect.height() / 2 - h / 2, w, h);
}
