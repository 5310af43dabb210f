#include "widgets/channelgrid.h"

#include "widgets/checkboxwithmenu.h"
#include "widgets/elidedtext.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScrollArea>

namespace {

enum GridSize : int {
    ChannelsPerColumn = 8,
    GroupMinimumHeight = 212,
    GroupTopMargin = 10,
    // Tight rows so that eight of them, and the sideways scroll bar that 64
    // channels bring, fit the group's minimum height.
    TileRowSpacing = 2,
    TileColumnSpacing = 6
};
// Tiles are as wide as a default name needs, whatever name they show, so that
// 64 channels scroll sideways and a long name widens no column.
const QString TileSample = QStringLiteral("Matrix Out 64");

} // namespace

ChannelGrid::ChannelGrid(const char *title, const QStringList &names,
                         std::function<bool()> exclusive, QWidget *parent)
    : m_title(title)
    , m_exclusive(std::move(exclusive))
    // Made inside its window: a finished group moved in later would have all its
    // tiles styled again.
    , m_box(new QGroupBox(parent))
{
    setParent(m_box);
    m_box->setMinimumHeight(GroupMinimumHeight);
    auto *groupLayout = new QHBoxLayout(m_box);
    groupLayout->setContentsMargins(0, GroupTopMargin, 0, 0);
    auto *scrollArea = new QScrollArea;
    scrollArea->setContentsMargins(0, 0, 0, 0);
    scrollArea->setWidgetResizable(true);
    auto *gridFrame = new QFrame;
    auto *grid = new QGridLayout(gridFrame);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(TileRowSpacing);
    grid->setHorizontalSpacing(TileColumnSpacing);
    scrollArea->setWidget(gridFrame);
    groupLayout->addWidget(scrollArea);

    for (int i = 0; i < names.size(); ++i) {
        auto *tile = new CheckBoxWithMenu(nullptr);
        new ElidedText(tile, TileSample);
        ElidedText::setName(tile, names.at(i));
        m_tiles.append(tile);
        grid->addWidget(tile, i % ChannelsPerColumn, i / ChannelsPerColumn);
        connect(tile, &CheckBoxWithMenu::clicked, this, [this, i] { click(i); });
        connect(tile, &CheckBoxWithMenu::trigger, this, [this, i] { emit renameRequested(i); });
    }
    retranslate();
}

// Only the operator's click comes here: unticking the others is no click.
void ChannelGrid::click(int index)
{
    if (m_exclusive()) {
        for (int k = 0; k < m_tiles.size(); ++k) {
            if (k != index)
                m_tiles.at(k)->setChecked(false);
        }
    }
    emit selectionChanged(index);
}

QList<int> ChannelGrid::selectedChannels() const
{
    QList<int> channels;
    for (int k = 0; k < m_tiles.size(); ++k) {
        if (m_tiles.at(k)->isChecked())
            channels.append(k + 1);
    }
    return channels;
}

void ChannelGrid::clearTicks()
{
    for (CheckBoxWithMenu *tile : qAsConst(m_tiles))
        tile->setChecked(false);
}

void ChannelGrid::setName(int index, const QString &name)
{
    ElidedText::setName(m_tiles.at(index), name);
}

// The group hands its language change on to its children, this one included.
bool ChannelGrid::event(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    return QObject::event(event);
}

void ChannelGrid::retranslate()
{
    m_box->setTitle(tr(m_title));
    for (CheckBoxWithMenu *tile : qAsConst(m_tiles))
        tile->setActionText(tr("Rename"));
}
