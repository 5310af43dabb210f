#pragma once

#include <QFrame>
#include <QList>
#include <QPointer>

#include <memory>

class AdvancedSetting;
class AliasStore;
class CAliasSetting;
class ChannelGrid;
class QButtonGroup;
class QHBoxLayout;
class QPushButton;
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
    void clickSwitcher();
    void clickSwitchToAll();
    void clickSwitchOneByOne();
    void clickWrite();
    void choseTypeChange(int id);
    void clickSetting();
    void goBack();

private:
    void initLayout();
    void initActionRow(QHBoxLayout *row);
    void initConnections();
    void retranslateUi();
    void renameChannel(int index, int mode);
    enum Need { AtLeastOne, ExactlyOne };
    // Whether as many channels are ticked as the button needs; if not, the console hears why.
    bool ticksFit(const QPushButton *button, int ticked, Need need, bool inputs);
    // The ticked channels of both sides, if they fit what the button needs.
    bool routeFits(const QPushButton *button, Need inputNeed, Need outputNeed, QList<int> *inputs,
                   QList<int> *outputs);

    ChannelGrid *m_inputGrid = nullptr;
    ChannelGrid *m_outputGrid = nullptr;
    // The type's radio buttons, by the type each stands for.
    QButtonGroup *m_typeGroup = nullptr;
    QPushButton *m_switchButton = nullptr;
    QPushButton *m_switchAllButton = nullptr;
    QPushButton *m_oneByOneButton = nullptr;
    QPushButton *m_writeButton = nullptr;
    QPushButton *m_settingButton = nullptr;
    // Whether the operator's choice of type is on disk already.
    bool m_typeStored = false;
    std::unique_ptr<AliasStore> m_aliasStore;
    // Kept between renames; owned by the widget it was parented to.
    QPointer<CAliasSetting> m_aliasDialog;
    AdvancedSetting *m_advancedSetting = nullptr;
    QVBoxLayout *m_mainLayout = nullptr;
};
