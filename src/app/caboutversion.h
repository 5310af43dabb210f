#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// The version dialog; the right word in its field reveals who supplies the program.
class CAboutversion : public QDialog
{
    Q_OBJECT

public:
    static constexpr int DialogWidth = 340;
    static constexpr int DialogHeight = 120;
    static constexpr int FieldWidth = 120;
    static constexpr int RowSpacing = 6;
    static constexpr int BottomStretch = 20;

    explicit CAboutversion(QWidget *parent = nullptr);

private slots:
    void updateVersion();

private:
    QLabel *m_noticeLabel = nullptr;
    QLineEdit *m_accessEdit = nullptr;
};
