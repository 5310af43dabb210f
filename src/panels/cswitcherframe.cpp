#include "panels/cswitcherframe.h"

#include "config/aliasstore.h"
#include "config/linkparameters.h"
#include "config/settings.h"
#include "link/protocoladapter.h"
#include "panels/advancedsetting.h"
#include "setup/caliassetting.h"
#include "widgets/checkboxwithmenu.h"
#include "widgets/elidedtext.h"

#include <QButtonGroup>
#include <QDebug>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalMapper>
#include <QStringList>
#include <QVBoxLayout>

namespace {

// Switching types as the "audio" setting stores them; no command carries them.
enum SwitchType { TypeAll = 0, TypeVideo = 1, TypeAudio = 2, TypeEdid = 3 };

constexpr int ChannelsPerColumn = 8;
constexpr int GroupMinimumHeight = 212;
constexpr int GroupTopMargin = 10;
constexpr int FrameSideMargin = 10;
constexpr int TypeToActionSpacing = 40;
// Tight rows so that eight of them, and the sideways scroll bar that 64 channels
// bring, fit the group's minimum height.
constexpr int TileRowSpacing = 2;
constexpr int TileColumnSpacing = 6;
// Tiles are as wide as a default name needs, whatever name they show, so that
// 64 channels scroll sideways and a long name widens no column.
const QString TileSample = QStringLiteral("Matrix Out 64");

} // namespace

CSwitcherFrame::CSwitcherFrame(QWidget *parent)
    : QFrame(parent)
    , m_aliasStore(new AliasStore)
{
    initLayout();
    initConnections();
}

CSwitcherFrame::~CSwitcherFrame()
{
    const QList<QRadioButton *> radios = {m_allRadio, m_videoRadio, m_audioRadio, m_edidRadio};
    for (QRadioButton *radio : radios) {
        if (radio->isChecked()) {
            const int id = m_typeGroup->id(radio);
            linkParameters().audio = id;
            setAudio(id);
            break;
        }
    }
    m_aliasStore.reset();
    // While the poll page is up the action row belongs to no layout, so nothing else frees it.
    if (m_mainLayout->indexOf(m_actionRow) < 0)
        delete m_actionRow;
}

void CSwitcherFrame::initLayout()
{
    m_mainLayout = new QVBoxLayout;
    initInputGroup();
    initOutputGroup();
    initActionRow();

    m_channelRow = new QHBoxLayout;
    m_channelRow->addWidget(m_inputGroup, 1);
    m_channelRow->addWidget(m_outputGroup, 1);
    m_mainLayout->addLayout(m_channelRow);
    m_mainLayout->addLayout(m_actionRow);
    m_channelRow->setContentsMargins(0, 0, 0, 0);
    m_mainLayout->setContentsMargins(FrameSideMargin, 0, FrameSideMargin, 0);
    setLayout(m_mainLayout);
}

QGridLayout *CSwitcherFrame::createChannelGrid(QGroupBox *group)
{
    group->setMinimumHeight(GroupMinimumHeight);
    auto *groupLayout = new QHBoxLayout(group);
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
    return grid;
}

void CSwitcherFrame::initInputGroup()
{
    // Made inside the frame: a finished group moved in later would have all its
    // tiles styled again.
    m_inputGroup = new QGroupBox(tr("Matrix In"), this);
    QGridLayout *grid = createChannelGrid(m_inputGroup);
    m_inputClickMapper = new QSignalMapper(this);
    m_inputRenameMapper = new QSignalMapper(this);
    m_inputSelection.reset();

    const int count = getInCount();
    for (int i = 0; i < count; ++i) {
        auto *button = new CheckBoxWithMenu(nullptr);
        button->setActionText(tr("Rename"));
        new ElidedText(button, TileSample);
        ElidedText::setName(button, m_aliasStore->inputAlias(i));
        m_inputButtons.append(button);
        m_inputClickMapper->setMapping(button, i);
        m_inputRenameMapper->setMapping(button, i);
        grid->addWidget(button, i % ChannelsPerColumn, i / ChannelsPerColumn);
        connect(button, &CheckBoxWithMenu::clicked, m_inputClickMapper,
                QOverload<>::of(&QSignalMapper::map));
        connect(button, &CheckBoxWithMenu::trigger, m_inputRenameMapper,
                QOverload<>::of(&QSignalMapper::map));
    }

    connect(m_inputRenameMapper, &QSignalMapper::mappedInt, this, &CSwitcherFrame::renameInput);
    connect(m_inputClickMapper, &QSignalMapper::mappedInt, this, &CSwitcherFrame::clickInput);
}

void CSwitcherFrame::initOutputGroup()
{
    m_outputGroup = new QGroupBox(tr("Matrix Out"), this);
    QGridLayout *grid = createChannelGrid(m_outputGroup);
    m_outputClickMapper = new QSignalMapper(this);
    m_outputRenameMapper = new QSignalMapper(this);
    m_outputSelection.reset();

    const int count = getOutCount();
    for (int i = 0; i < count; ++i) {
        auto *button = new CheckBoxWithMenu(nullptr);
        button->setActionText(tr("Rename"));
        new ElidedText(button, TileSample);
        ElidedText::setName(button, m_aliasStore->outputAlias(i));
        m_outputButtons.append(button);
        m_outputClickMapper->setMapping(button, i);
        m_outputRenameMapper->setMapping(button, i);
        grid->addWidget(button, i % ChannelsPerColumn, i / ChannelsPerColumn);
        connect(button, &CheckBoxWithMenu::clicked, m_outputClickMapper,
                QOverload<>::of(&QSignalMapper::map));
        connect(button, &CheckBoxWithMenu::trigger, m_outputRenameMapper,
                QOverload<>::of(&QSignalMapper::map));
    }

    connect(m_outputRenameMapper, &QSignalMapper::mappedInt, this, &CSwitcherFrame::renameOutput);
    connect(m_outputClickMapper, &QSignalMapper::mappedInt, this, &CSwitcherFrame::clickOutput);
}

void CSwitcherFrame::initActionRow()
{
    m_allRadio = new QRadioButton(tr("All"));
    m_videoRadio = new QRadioButton(tr("Video"));
    m_audioRadio = new QRadioButton(tr("Audio"));
    m_edidRadio = new QRadioButton(QStringLiteral("EDID"));
    m_switchButton = new QPushButton(tr("Switch"));
    m_switchAllButton = new QPushButton(tr("Switch All"));
    m_oneByOneButton = new QPushButton(tr("One By One"));
    m_writeButton = new QPushButton(tr("Write"));
    m_settingButton = new QPushButton(tr("Setting"));

    m_typeGroup = new QButtonGroup(this);
    m_typeGroup->addButton(m_allRadio, TypeAll);
    m_typeGroup->addButton(m_videoRadio, TypeVideo);
    m_typeGroup->addButton(m_audioRadio, TypeAudio);
    m_typeGroup->addButton(m_edidRadio, TypeEdid);

    m_actionRow = new QHBoxLayout;
    m_actionRow->addWidget(m_allRadio);
    m_actionRow->addWidget(m_videoRadio);
    m_actionRow->addWidget(m_audioRadio);
    m_actionRow->addSpacing(TypeToActionSpacing);
    m_actionRow->addWidget(m_switchButton);
    m_actionRow->addWidget(m_switchAllButton);
    m_actionRow->addWidget(m_oneByOneButton);
    m_actionRow->addStretch();
    m_actionRow->addWidget(m_edidRadio);
    m_actionRow->addWidget(m_writeButton);
    m_actionRow->addWidget(m_settingButton);

    // A stored value outside the four types leaves every radio button unchecked.
    if (QAbstractButton *current = m_typeGroup->button(linkParameters().audio))
        current->setChecked(true);
}

void CSwitcherFrame::initConnections()
{
    connect(m_switchButton, &QPushButton::clicked, this, &CSwitcherFrame::clickSwitcher);
    connect(m_switchAllButton, &QPushButton::clicked, this, &CSwitcherFrame::clickSwitchToAll);
    connect(m_oneByOneButton, &QPushButton::clicked, this, &CSwitcherFrame::clickSwitchOneByOne);
    connect(m_writeButton, &QPushButton::clicked, this, &CSwitcherFrame::clickWrite);
    connect(this, &CSwitcherFrame::clickInput, this, &CSwitcherFrame::clickInputSlot);
    connect(this, &CSwitcherFrame::clickOutput, this, &CSwitcherFrame::clickOutputSlot);
    connect(this, &CSwitcherFrame::renameOutput, this, &CSwitcherFrame::renameOutputSlot);
    connect(this, &CSwitcherFrame::renameInput, this, &CSwitcherFrame::renameInputSlot);
    connect(m_typeGroup, &QButtonGroup::idClicked, this, &CSwitcherFrame::choseTypeChange);
    connect(m_settingButton, &QPushButton::clicked, this, &CSwitcherFrame::clickSetting);
}

void CSwitcherFrame::selectChannel(int index, bool exclusive, QSignalMapper *mapper,
                                   const QList<CheckBoxWithMenu *> &buttons, Selection &selection)
{
    if (exclusive) {
        selection.reset();
        // Unchecking the others must never come back through the mapper as a click.
        const QSignalBlocker quiet(mapper);
        for (int k = 0; k < buttons.size(); ++k) {
            if (k != index && buttons.at(k)->isChecked())
                buttons.at(k)->setChecked(false);
        }
    }
    selection.set(static_cast<size_t>(index), buttons.at(index)->isChecked());
}

void CSwitcherFrame::clickInputSlot(int index)
{
    const int type = linkParameters().audio;
    qDebug() << "A...." << type;
    const bool exclusive = type == TypeAll || type == TypeVideo || type == TypeAudio;
    selectChannel(index, exclusive, m_inputClickMapper, m_inputButtons, m_inputSelection);
}

void CSwitcherFrame::clickOutputSlot(int index)
{
    const int type = linkParameters().audio;
    qDebug() << "A...." << type;
    selectChannel(index, type == TypeEdid, m_outputClickMapper, m_outputButtons,
                  m_outputSelection);
}

QList<int> CSwitcherFrame::selectedChannels(const Selection &selection)
{
    QList<int> channels;
    for (size_t bit = 0; bit < selection.size(); ++bit) {
        if (selection.test(bit))
            channels.append(static_cast<int>(bit) + 1);
    }
    return channels;
}

bool CSwitcherFrame::ticksFit(const QPushButton *button, int ticked, Need need, bool inputs)
{
    const QString name = button->text();
    if (ticked == 0) {
        emit notice(inputs ? tr("%1 not sent: no input is ticked").arg(name)
                           : tr("%1 not sent: no output is ticked").arg(name));
        return false;
    }
    if (ticked > 1 && need == ExactlyOne) {
        emit notice(inputs ? tr("%1 not sent: %2 inputs are ticked, one is wanted").arg(name).arg(ticked)
                           : tr("%1 not sent: %2 outputs are ticked, one is wanted").arg(name).arg(ticked));
        return false;
    }
    return true;
}

void CSwitcherFrame::clickSwitcher()
{
    const QList<int> inputs = selectedChannels(m_inputSelection);
    const QList<int> outputs = selectedChannels(m_outputSelection);
    if (!ticksFit(m_switchButton, inputs.size(), ExactlyOne, true)
        || !ticksFit(m_switchButton, outputs.size(), AtLeastOne, false))
        return;
    QStringList outputTexts;
    for (int output : outputs)
        outputTexts.append(QString::number(output));
    protocoladapter::instance().sendSwitchMulti(inputs.first(), outputTexts);
}

void CSwitcherFrame::clickSwitchToAll()
{
    const QList<int> inputs = selectedChannels(m_inputSelection);
    if (ticksFit(m_switchAllButton, inputs.size(), ExactlyOne, true))
        protocoladapter::instance().sendSwitchToAll(inputs.first());
}

void CSwitcherFrame::clickSwitchOneByOne()
{
    protocoladapter::instance().sendOneByOne();
}

void CSwitcherFrame::clickWrite()
{
    const QList<int> inputs = selectedChannels(m_inputSelection);
    const QList<int> outputs = selectedChannels(m_outputSelection);
    if (!ticksFit(m_writeButton, inputs.size(), AtLeastOne, true)
        || !ticksFit(m_writeButton, outputs.size(), ExactlyOne, false))
        return;
    for (int input : inputs) {
        qDebug() << "xxxxxxx" << input;
        protocoladapter::instance().sendEdid(input, outputs.first());
    }
}

void CSwitcherFrame::renameInputSlot(int index)
{
    renameChannel(index, CAliasSetting::MatrixInMode);
}

void CSwitcherFrame::renameOutputSlot(int index)
{
    renameChannel(index, CAliasSetting::MatrixOutMode);
}

void CSwitcherFrame::renameChannel(int index, int mode)
{
    if (m_aliasDialog) {
        m_aliasDialog->setMode(mode);
    } else {
        // Without a parent of our own the frame keeps the dialog, so it is not leaked.
        m_aliasDialog = new CAliasSetting(mode, parentWidget() ? parentWidget() : this);
    }
    const bool input = mode == CAliasSetting::MatrixInMode;
    // The default names the channel as the operator counts it, from 1.
    m_aliasDialog->setIndex(index + 1);
    m_aliasDialog->setAlias(input ? m_aliasStore->inputAlias(index)
                                  : m_aliasStore->outputAlias(index));
    if (m_aliasDialog->exec() != QDialog::Accepted)
        return;

    const QString name = m_aliasDialog->alias();
    if (input) {
        m_aliasStore->setInputAlias(index, name);
        ElidedText::setName(m_inputButtons.at(index), name);
    } else {
        m_aliasStore->setOutputAlias(index, name);
        ElidedText::setName(m_outputButtons.at(index), name);
    }
}

void CSwitcherFrame::choseTypeChange(int id)
{
    for (CheckBoxWithMenu *button : qAsConst(m_inputButtons))
        button->setChecked(false);
    for (CheckBoxWithMenu *button : qAsConst(m_outputButtons))
        button->setChecked(false);
    storeAudio(id);
    m_inputSelection.reset();
    m_outputSelection.reset();
}

void CSwitcherFrame::clickSetting()
{
    if (!m_advancedSetting) {
        m_advancedSetting = new AdvancedSetting;
        m_mainLayout->addWidget(m_advancedSetting);
        connect(m_advancedSetting, &AdvancedSetting::goBack, this, &CSwitcherFrame::goBack);
        connect(m_advancedSetting, &AdvancedSetting::notice, this, &CSwitcherFrame::notice);
    }
    m_mainLayout->removeItem(m_actionRow);
    m_inputGroup->hide();
    m_outputGroup->hide();
    m_advancedSetting->show();
}

void CSwitcherFrame::goBack()
{
    if (m_mainLayout->indexOf(m_actionRow) < 0)
        m_mainLayout->addLayout(m_actionRow);
    m_inputGroup->show();
    m_outputGroup->show();
    if (m_advancedSetting)
        m_advancedSetting->hide();
}

void CSwitcherFrame::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}

void CSwitcherFrame::retranslateUi()
{
    m_inputGroup->setTitle(tr("Matrix In"));
    m_outputGroup->setTitle(tr("Matrix Out"));
    // The lists, not the settings file, say how many buttons exist.
    for (CheckBoxWithMenu *button : qAsConst(m_inputButtons))
        button->setActionText(tr("Rename"));
    for (CheckBoxWithMenu *button : qAsConst(m_outputButtons))
        button->setActionText(tr("Rename"));
    m_allRadio->setText(tr("All"));
    m_videoRadio->setText(tr("Video"));
    m_audioRadio->setText(tr("Audio"));
    m_switchButton->setText(tr("Switch"));
    m_switchAllButton->setText(tr("Switch All"));
    m_oneByOneButton->setText(tr("One By One"));
    m_writeButton->setText(tr("Write"));
    m_settingButton->setText(tr("Setting"));
}
