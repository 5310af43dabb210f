#pragma once

#include "config/settings.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The one naming dialog: scenes, inputs, outputs, network devices and the
// matrix ID. It stores nothing; the caller reads alias() after exec().
class CAliasSetting : public QDialog
{
    Q_OBJECT

public:
    enum Mode { SceneMode = 0, MatrixInMode = 1, MatrixOutMode = 2, MatrixIdMode = 3, IpCardMode = 4 };
    static constexpr int MaxMatrixId = Settings::MaxMatrixId;

    // A matrix ID is a whole number from 0 to MaxMatrixId, digits only.
    static bool readMatrixId(const QString &text, int *id);

    CAliasSetting(int mode, QWidget *parent = nullptr);

    void setMode(int mode);
    void setIndex(int n);
    void setDefaultText(const QString &text);
    void setAlias(const QString &text);
    QString alias() const;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void doOK();
    void doCancel();

private:
    void initUi();
    void initConnections();
    void retranslateUi();
    void nameFields();
    // Sets the title and label of modes 0-4; other modes keep what was there.
    void applyModeTexts();

    QLabel *m_defaultLabel = nullptr;
    QLabel *m_newLabel = nullptr;
    QLineEdit *m_defaultEdit = nullptr;
    QLineEdit *m_newEdit = nullptr;
    QLabel *m_hintLabel = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    int m_index = 0;
    QString m_defaultText;
    QString m_label;
    QString m_title;
    int m_mode = 0;
};
