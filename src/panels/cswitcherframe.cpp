#include "panels/cswitcherframe.h"

#include "config/aliasstore.h"
#include "config/linkparameters.h"
#include "config/settings.h"
#include "link/protocoladapter.h"
#include "panels/advancedsetting.h"
#include "setup/caliassetting.h"
#include "widgets/channelgrid.h"

#include <QButtonGroup>
#include <QDebug>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>

namespace {

// Switching types as the "audio" setting stores them; no command carries them.
enum SwitchType { TypeAll = 0, TypeVideo = 1, TypeAudio = 2, TypeEdid = 3 };

constexpr int FrameSideMargin = 10;
constexpr int TypeToActionSpacing = 40;

} // namespace

CSwitcherFrame::CSwitcherFrame(QWidget *parent)
    : QFrame(parent)
    , m_aliasStore(new AliasStore)
{
    initLayout();
    initConnections();
    retranslateUi();
}

// A type the operator never picked is kept as it stands when the panel goes.
CSwitcherFrame::~CSwitcherFrame()
{
    if (!m_typeStored && m_typeGroup->checkedButton())
        storeAudio(m_typeGroup->checkedId());
}

void CSwitcherFrame::initLayout()
{
    QStringList inputs, outputs;
    for (int i = 0, count = getInCount(); i < count; ++i)
        inputs << m_aliasStore->inputAlias(i);
    for (int i = 0, count = getOutCount(); i < count; ++i)
        outputs << m_aliasStore->outputAlias(i);
    // A tick clears the others on the side that takes one channel: the input
    // for a switch, the output for EDID; read at each click.
    const auto type = [] { return linkParameters().audio; };
    m_inputGrid = new ChannelGrid(QT_TRANSLATE_NOOP("ChannelGrid", "Matrix In"), inputs, [type] {
        return type() == TypeAll || type() == TypeVideo || type() == TypeAudio;
    }, this);
    m_outputGrid = new ChannelGrid(QT_TRANSLATE_NOOP("ChannelGrid", "Matrix Out"), outputs,
                                   [type] { return type() == TypeEdid; }, this);

    auto *channelRow = new QHBoxLayout;
    channelRow->addWidget(m_inputGrid->box(), 1);
    channelRow->addWidget(m_outputGrid->box(), 1);
    channelRow->setContentsMargins(0, 0, 0, 0);
    auto *actionRow = new QHBoxLayout;
    initActionRow(actionRow);
    // The poll page, when first asked for, goes between the two rows.
    m_mainLayout = new QVBoxLayout(this);
    m_mainLayout->addLayout(channelRow);
    m_mainLayout->addLayout(actionRow);
    m_mainLayout->setContentsMargins(FrameSideMargin, 0, FrameSideMargin, 0);
}

void CSwitcherFrame::initActionRow(QHBoxLayout *row)
{
    m_typeGroup = new QButtonGroup(this);
    for (const int type : {TypeAll, TypeVideo, TypeAudio, TypeEdid})
        m_typeGroup->addButton(new QRadioButton, type);
    m_typeGroup->button(TypeEdid)->setText(QStringLiteral("EDID"));
    m_switchButton = new QPushButton;
    m_switchAllButton = new QPushButton;
    m_oneByOneButton = new QPushButton;
    m_writeButton = new QPushButton;
    m_settingButton = new QPushButton;

    row->addWidget(m_typeGroup->button(TypeAll));
    row->addWidget(m_typeGroup->button(TypeVideo));
    row->addWidget(m_typeGroup->button(TypeAudio));
    row->addSpacing(TypeToActionSpacing);
    row->addWidget(m_switchButton);
    row->addWidget(m_switchAllButton);
    row->addWidget(m_oneByOneButton);
    row->addStretch();
    row->addWidget(m_typeGroup->button(TypeEdid));
    row->addWidget(m_writeButton);
    row->addWidget(m_settingButton);

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
    connect(m_inputGrid, &ChannelGrid::selectionChanged, this, &CSwitcherFrame::clickInput);
    connect(m_outputGrid, &ChannelGrid::selectionChanged, this, &CSwitcherFrame::clickOutput);
    connect(m_inputGrid, &ChannelGrid::renameRequested, this, &CSwitcherFrame::renameInput);
    connect(m_outputGrid, &ChannelGrid::renameRequested, this, &CSwitcherFrame::renameOutput);
    connect(this, &CSwitcherFrame::renameInput, this,
            [this](int index) { renameChannel(index, CAliasSetting::MatrixInMode); });
    connect(this, &CSwitcherFrame::renameOutput, this,
            [this](int index) { renameChannel(index, CAliasSetting::MatrixOutMode); });
    connect(m_typeGroup, &QButtonGroup::idClicked, this, &CSwitcherFrame::choseTypeChange);
    connect(m_settingButton, &QPushButton::clicked, this, &CSwitcherFrame::clickSetting);
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

bool CSwitcherFrame::routeFits(const QPushButton *button, Need inputNeed, Need outputNeed,
                               QList<int> *inputs, QList<int> *outputs)
{
    *inputs = m_inputGrid->selectedChannels();
    *outputs = m_outputGrid->selectedChannels();
    return ticksFit(button, inputs->size(), inputNeed, true)
        && ticksFit(button, outputs->size(), outputNeed, false);
}

void CSwitcherFrame::clickSwitcher()
{
    QList<int> inputs, outputs;
    if (!routeFits(m_switchButton, ExactlyOne, AtLeastOne, &inputs, &outputs))
        return;
    QStringList outputTexts;
    for (int output : outputs)
        outputTexts.append(QString::number(output));
    protocoladapter::instance().sendSwitchMulti(inputs.first(), outputTexts);
}

void CSwitcherFrame::clickSwitchToAll()
{
    const QList<int> inputs = m_inputGrid->selectedChannels();
    if (ticksFit(m_switchAllButton, inputs.size(), ExactlyOne, true))
        protocoladapter::instance().sendSwitchToAll(inputs.first());
}

void CSwitcherFrame::clickSwitchOneByOne()
{
    protocoladapter::instance().sendOneByOne();
}

void CSwitcherFrame::clickWrite()
{
    QList<int> inputs, outputs;
    if (!routeFits(m_writeButton, AtLeastOne, ExactlyOne, &inputs, &outputs))
        return;
    for (int input : inputs) {
        qDebug() << "xxxxxxx" << input;
        protocoladapter::instance().sendEdid(input, outputs.first());
    }
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
    if (input)
        m_aliasStore->setInputAlias(index, name);
    else
        m_aliasStore->setOutputAlias(index, name);
    (input ? m_inputGrid : m_outputGrid)->setName(index, name);
}

void CSwitcherFrame::choseTypeChange(int id)
{
    m_inputGrid->clearTicks();
    m_outputGrid->clearTicks();
    storeAudio(id);
    m_typeStored = true;
}

void CSwitcherFrame::clickSetting()
{
    if (!m_advancedSetting) {
        m_advancedSetting = new AdvancedSetting;
        // The action row stays under both pages.
        m_mainLayout->insertWidget(1, m_advancedSetting);
        connect(m_advancedSetting, &AdvancedSetting::goBack, this, &CSwitcherFrame::goBack);
        connect(m_advancedSetting, &AdvancedSetting::notice, this, &CSwitcherFrame::notice);
    }
    m_inputGrid->box()->hide();
    m_outputGrid->box()->hide();
    m_advancedSetting->show();
}

void CSwitcherFrame::goBack()
{
    m_inputGrid->box()->show();
    m_outputGrid->box()->show();
    if (m_advancedSetting)
        m_advancedSetting->hide();
}

void CSwitcherFrame::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}

// The channel groups translate themselves.
void CSwitcherFrame::retranslateUi()
{
    m_typeGroup->button(TypeAll)->setText(tr("All"));
    m_typeGroup->button(TypeVideo)->setText(tr("Video"));
    m_typeGroup->button(TypeAudio)->setText(tr("Audio"));
    m_switchButton->setText(tr("Switch"));
    m_switchAllButton->setText(tr("Switch All"));
    m_oneByOneButton->setText(tr("One By One"));
    m_writeButton->setText(tr("Write"));
    m_settingButton->setText(tr("Setting"));
}
