#pragma once

#include <QFrame>

class CSceneFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CSceneFrame(QWidget *parent = nullptr);
};
