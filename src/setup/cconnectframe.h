#pragma once

#include <QFrame>

class CConnectFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CConnectFrame(QWidget *parent = nullptr);
};
