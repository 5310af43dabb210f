#pragma once

#include <QFrame>
#include <QList>
#include <QPointer>

#include <bitset>
#include <memory>

class AdvancedSetting;
class AliasStore;
class CAliasSetting;
class CheckBoxWithMenu;
class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QRadioButton;
class QSignalMapper;
class QVBoxLayout;

// The routing panel: one toggle tile per matrix input and output, the switching
// type, and the actions that turn the selection into matrix commands.
class CSwitcherFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CSwitcherFrame(QWidget *parent = nullptr);
    ~CSwitcherFrame() override;

    // The channel names, for views that show them too.
    const AliasStore *aliases() const { return m_aliasStore.get(); }

signals:
    void clickOutput(int index);
    void clickInput(int index);
    void renameInput(int index);
    void renameOutput(int index);
    // A line for the console: why a button sent nothing, or why automatic switching stopped.
    void notice(const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void clickInputSlot(int index);
    void clickOutputSlot(int index);
    void clickSwitcher();
    void clickSwitchToAll();
    void clickSwitchOneByOne();
    void clickWrite();
    void renameInputSlot(int index);
    void renameOutputSlot(int index);
    void choseTypeChange(int id);
    void clickSetting();
    void goBack();

private:
    // Bit k stands for channel k+1; twice the channel limit, as the wire allows.
    using Selection = std::bitset<128>;

    void initLayout();
    void initInputGroup();
    void initOutputGroup();
    void initActionRow();
    void initConnections();
    void retranslateUi();
    void renameChannel(int index, int mode);
    QGridLayout *createChannelGrid(QGroupBox *group);
    void selectChannel(int index, bool exclusive, QSignalMapper *mapper,
                       const QList<CheckBoxWithMenu *> &buttons, Selection &selection);
    static QList<int> selectedChannels(const Selection &selection);
    enum Need { AtLeastOne, ExactlyOne };
    // Whether as many channels are ticked as the button needs; if not, the console hears why.
    bool ticksFit(const QPushButton *button, int ticked, Need need, bool inputs);

    QGroupBox *m_inputGroup = nullptr;
    QGroupBox *m_outputGroup = nullptr;
    QHBoxLayout *m_actionRow = nullptr;
    QButtonGroup *m_typeGroup = nullptr;
    QRadioButton *m_allRadio = nullptr;
    QRadioButton *m_videoRadio = nullptr;
    QRadioButton *m_audioRadio = nullptr;
    QRadioButton *m_edidRadio = nullptr;
    QPushButton *m_switchButton = nullptr;
    QPushButton *m_switchAllButton = nullptr;
    QPushButton *m_oneByOneButton = nullptr;
    QPushButton *m_writeButton = nullptr;
    QPushButton *m_settingButton = nullptr;
    QSignalMapper *m_outputClickMapper = nullptr;
    QSignalMapper *m_inputClickMapper = nullptr;
    Selection m_outputSelection;
    Selection m_inputSelection;
    QList<CheckBoxWithMenu *> m_inputButtons;
    QList<CheckBoxWithMenu *> m_outputButtons;
    QSignalMapper *m_inputRenameMapper = nullptr;
    QSignalMapper *m_outputRenameMapper = nullptr;
    std::unique_ptr<AliasStore> m_aliasStore;
    // Kept between renames; owned by the widget it was parented to.
    QPointer<CAliasSetting> m_aliasDialog;
    AdvancedSetting *m_advancedSetting = nullptr;
    QVBoxLayout *m_mainLayout = nullptr;
    QHBoxLayout *m_channelRow = nullptr;
};
