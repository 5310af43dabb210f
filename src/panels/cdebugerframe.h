#pragma once

#include <QFrame>

class CDebugerFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CDebugerFrame(QWidget *parent = nullptr);
};
