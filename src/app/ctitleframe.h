#pragma once

#include <QFrame>

class CTitleFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CTitleFrame(QWidget *parent = nullptr);

signals:
    void changLang(int langType);
};
