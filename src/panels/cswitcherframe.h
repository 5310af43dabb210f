#pragma once

#include <QFrame>

class CSwitcherFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CSwitcherFrame(QWidget *parent = nullptr);
};
