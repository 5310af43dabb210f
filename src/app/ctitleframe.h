#pragma once

#include <QFrame>

class CAliasSetting;
class QAction;
class QLabel;
class QMenu;
class QPushButton;

// The window's own title bar: logo, dragging, minimise, close, and the menu
// with the interface language, the matrix ID and the about dialog.
class CTitleFrame : public QFrame
{
    Q_OBJECT

public:
    static constexpr int BarHeight = 40;
    static constexpr int LogoSpacing = 10;
    static constexpr int ButtonsStretch = 200;
    static constexpr int RightMargin = 6;
    static constexpr int BottomMargin = 6;

    explicit CTitleFrame(QWidget *parent = nullptr);

signals:
    void changLang(int langType);
    // The operator asked for the crosspoint view.
    void showRouting();

private slots:
    void clickMinimum();
    void clickClose();
    void slotActionSetID();
    void slotActionCopyright();
    void slotSwitchLang(QAction *action);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void initLayout();
    void showLogo();
    void initMenu();
    void checkCurrentLanguage();
    void initConnections();
    void retranslateUi();
    void nameButtons();
    void showMatrixId();
    // Dialogs live with the window; a bar without a parent keeps them itself.
    QWidget *dialogParent();

    QLabel *m_titleLabel = nullptr;
    QPushButton *m_aboutButton = nullptr;
    QPushButton *m_minimizeButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QMenu *m_aboutMenu = nullptr;
    QMenu *m_langMenu = nullptr;
    QAction *m_matrixIdAction = nullptr;
    QAction *m_copyrightAction = nullptr;
    QAction *m_routingAction = nullptr;
    bool m_dragging = false;
    int m_lastX = 0;
    int m_lastY = 0;
    CAliasSetting *m_matrixIdDialog = nullptr;
};
