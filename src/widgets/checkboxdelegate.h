#pragma once

#include <QStyledItemDelegate>

// Draws column 0 as a centred check box bound to the cell's bool value and
// toggles it on a left-button release on the box, or on Space / Select.
class CheckBoxDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CheckBoxDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model,
                     const QStyleOptionViewItem &option, const QModelIndex &index) override;

private:
    static QRect checkBoxRect(const QStyleOptionViewItem &option);
};
