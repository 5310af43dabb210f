#include "panels/csceneframe.h"

#include "config/scenestore.h"
#include "link/protocoladapter.h"
#include "setup/caliassetting.h"
#include "widgets/buttonwithmenu.h"
#include "widgets/elidedtext.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalMapper>
#include <QVBoxLayout>

namespace {

// A tile is as wide as the longest scene number needs; names fit in what is left.
const QString TileSample = QStringLiteral("16");

} // namespace

CSceneFrame::CSceneFrame(QWidget *parent)
    : QFrame(parent)
    , m_sceneStore(new SceneStore)
{
    initLayout();
    initConnections();
}

CSceneFrame::~CSceneFrame() = default;

void CSceneFrame::initLayout()
{
    auto *mainLayout = new QVBoxLayout;
    auto *buzzRow = new QHBoxLayout;

    m_buzzOnButton = new QPushButton(tr("Buzz On"));
    m_buzzOffButton = new QPushButton(tr("Buzz OFF"));
    m_vgaAutoButton = new QPushButton(tr("VGA Auto"));
    buzzRow->addWidget(m_buzzOnButton);
    buzzRow->addWidget(m_buzzOffButton);
    buzzRow->addWidget(m_vgaAutoButton);

    auto *groupsRow = new QHBoxLayout;
    m_saveGroup = new QGroupBox(tr("Scene Save"));
    m_loadGroup = new QGroupBox(tr("Scene Load"));
    groupsRow->addWidget(m_saveGroup);
    groupsRow->addWidget(m_loadGroup);

    mainLayout->addLayout(buzzRow);
    mainLayout->addLayout(groupsRow);
    mainLayout->setContentsMargins(PanelMargin, PanelMargin, PanelMargin, PanelMargin);
    setLayout(mainLayout);

    initSceneButtons();
}

void CSceneFrame::initSceneButtons()
{
    auto *saveGrid = new QGridLayout;
    auto *loadGrid = new QGridLayout;
    m_saveClickMapper = new QSignalMapper(this);
    m_loadClickMapper = new QSignalMapper(this);
    m_saveRenameMapper = new QSignalMapper(this);
    m_loadRenameMapper = new QSignalMapper(this);

    m_saveButtons = makeSceneButtons(saveGrid, m_saveClickMapper, m_saveRenameMapper);
    m_saveGroup->setLayout(saveGrid);
    m_loadButtons = makeSceneButtons(loadGrid, m_loadClickMapper, m_loadRenameMapper);
    m_loadGroup->setLayout(loadGrid);

    connect(m_saveClickMapper, &QSignalMapper::mappedInt, this, &CSceneFrame::saveScene);
    connect(m_saveRenameMapper, &QSignalMapper::mappedInt, this, &CSceneFrame::renameSaveScene);
    connect(m_loadClickMapper, &QSignalMapper::mappedInt, this, &CSceneFrame::loadScene);
    connect(m_loadRenameMapper, &QSignalMapper::mappedInt, this, &CSceneFrame::renameLoadScene);
}

QList<ButtonWithMenu *> CSceneFrame::makeSceneButtons(QGridLayout *grid, QSignalMapper *clickMapper,
                                                      QSignalMapper *renameMapper)
{
    QList<ButtonWithMenu *> buttons;
    for (int i = 0; i < SceneStore::SceneCount; ++i) {
        auto *button = new ButtonWithMenu;
        button->setActionText(tr("Rename"));
        new ElidedText(button, TileSample);
        ElidedText::setName(button, m_sceneStore->sceneName(i));
        connect(button, &QPushButton::clicked, clickMapper, qOverload<>(&QSignalMapper::map));
        connect(button, &ButtonWithMenu::trigger, renameMapper, qOverload<>(&QSignalMapper::map));
        clickMapper->setMapping(button, i);
        renameMapper->setMapping(button, i);
        buttons.append(button);
        grid->addWidget(button, i / ScenesPerRow, i % ScenesPerRow);
    }
    return buttons;
}

void CSceneFrame::initConnections()
{
    connect(this, &CSceneFrame::saveScene, this, &CSceneFrame::saveSceneSlot);
    connect(this, &CSceneFrame::renameSaveScene, this, &CSceneFrame::renameSceneSaveSlot);
    connect(this, &CSceneFrame::loadScene, this, &CSceneFrame::loadSceneSlot);
    connect(this, &CSceneFrame::renameLoadScene, this, &CSceneFrame::renameSceneLoadSlot);
    connect(m_buzzOnButton, &QPushButton::clicked, this, &CSceneFrame::buzzOn);
    connect(m_buzzOffButton, &QPushButton::clicked, this, &CSceneFrame::buzzOff);
    connect(m_vgaAutoButton, &QPushButton::clicked, this, &CSceneFrame::vgaAuto);
}

void CSceneFrame::saveSceneSlot(int index)
{
    protocoladapter::instance().sendSaveScene(index + 1);
}

void CSceneFrame::loadSceneSlot(int index)
{
    protocoladapter::instance().sendCallScene(index + 1);
}

void CSceneFrame::renameSceneSaveSlot(int index)
{
    renameScene(index);
}

void CSceneFrame::renameSceneLoadSlot(int index)
{
    renameScene(index);
}

void CSceneFrame::buzzOn()
{
    protocoladapter::instance().sendBuzzer(true);
}

void CSceneFrame::buzzOff()
{
    protocoladapter::instance().sendBuzzer(false);
}

// The command set has no VGA auto command, so this button sends nothing.
void CSceneFrame::vgaAuto()
{
}

void CSceneFrame::renameScene(int index)
{
    if (!m_aliasDialog) {
        // Without a parent (a frame on its own) the frame itself keeps the dialog alive.
        QWidget *owner = parentWidget() ? parentWidget() : this;
        m_aliasDialog = new CAliasSetting(CAliasSetting::SceneMode, owner);
    }
    // The kept dialog takes its title again, in case the language changed since.
    m_aliasDialog->setMode(CAliasSetting::SceneMode);
    // The default names the scene as the operator counts it, from 1.
    m_aliasDialog->setIndex(index + 1);
    m_aliasDialog->setAlias(m_sceneStore->sceneName(index));
    if (m_aliasDialog->exec() != QDialog::Accepted)
        return;
    m_sceneStore->setSceneName(index, m_aliasDialog->alias());
    showSceneName(index);
}

void CSceneFrame::showSceneName(int index)
{
    const QString name = m_sceneStore->sceneName(index);
    for (ButtonWithMenu *button : {m_loadButtons.at(index), m_saveButtons.at(index)})
        ElidedText::setName(button, name);
}

void CSceneFrame::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}

void CSceneFrame::retranslateUi()
{
    m_buzzOnButton->setText(tr("Buzz On"));
    m_buzzOffButton->setText(tr("Buzz OFF"));
    m_vgaAutoButton->setText(tr("VGA Auto"));
    m_saveGroup->setTitle(tr("Scene Save"));
    m_loadGroup->setTitle(tr("Scene Load"));
    for (int i = 0; i < SceneStore::SceneCount; ++i) {
        m_saveButtons.at(i)->setActionText(tr("Rename"));
        m_loadButtons.at(i)->setActionText(tr("Rename"));
    }
}
