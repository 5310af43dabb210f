#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

class CheckBoxWithMenu;
class QGroupBox;

// One side of the matrix as a titled group of toggle tiles, one per channel, in
// columns of eight that scroll sideways. The ticks live in the tiles alone.
// A QObject owned by its group rather than a group of its own kind, so that the
// window's widget tree holds plain group boxes.
class ChannelGrid : public QObject
{
    Q_OBJECT

public:
    // title is translated in this class; exclusive is asked at each click whether
    // a tick clears every other tile.
    ChannelGrid(const char *title, const QStringList &names, std::function<bool()> exclusive,
                QWidget *parent);

    QGroupBox *box() const { return m_box; }
    // The ticked channels as the operator counts them, from 1, ascending.
    QList<int> selectedChannels() const;
    void clearTicks();
    void setName(int index, const QString &name);

    bool event(QEvent *event) override;

signals:
    // Tile index was clicked; the ticks shown are the new selection.
    void selectionChanged(int index);
    void renameRequested(int index);

private:
    void click(int index);
    void retranslate();

    const char *m_title;
    std::function<bool()> m_exclusive;
    QGroupBox *m_box;
    QList<CheckBoxWithMenu *> m_tiles;
};
