#pragma once

#include <QFrame>
#include <QList>

#include <memory>

class ButtonWithMenu;
class CAliasSetting;
class QGroupBox;
class QGridLayout;
class QPushButton;
class QSignalMapper;
class SceneStore;

// Saves and recalls the device scenes, names them, and switches the buzzer.
class CSceneFrame : public QFrame
{
    Q_OBJECT

public:
    static constexpr int ScenesPerRow = 4;
    static constexpr int PanelMargin = 10;

    explicit CSceneFrame(QWidget *parent = nullptr);
    ~CSceneFrame() override;

signals:
    void saveScene(int index);
    void loadScene(int index);
    void renameSaveScene(int index);
    void renameLoadScene(int index);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void saveSceneSlot(int index);
    void loadSceneSlot(int index);
    void renameSceneSaveSlot(int index);
    void renameSceneLoadSlot(int index);
    void buzzOn();
    void buzzOff();
    void vgaAuto();

private:
    void initLayout();
    void initSceneButtons();
    QList<ButtonWithMenu *> makeSceneButtons(QGridLayout *grid, QSignalMapper *clickMapper,
                                             QSignalMapper *renameMapper);
    void initConnections();
    void renameScene(int index);
    void showSceneName(int index);
    void retranslateUi();

    QGroupBox *m_saveGroup = nullptr;
    QGroupBox *m_loadGroup = nullptr;
    QSignalMapper *m_saveClickMapper = nullptr;
    QSignalMapper *m_loadClickMapper = nullptr;
    QSignalMapper *m_saveRenameMapper = nullptr;
    QSignalMapper *m_loadRenameMapper = nullptr;
    QList<ButtonWithMenu *> m_saveButtons;
    QList<ButtonWithMenu *> m_loadButtons;
    // Destroyed before the widgets: it writes the names of this run to disk.
    std::unique_ptr<SceneStore> m_sceneStore;
    CAliasSetting *m_aliasDialog = nullptr;
    QPushButton *m_buzzOnButton = nullptr;
    QPushButton *m_buzzOffButton = nullptr;
    QPushButton *m_vgaAutoButton = nullptr;
};
