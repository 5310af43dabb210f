#pragma once

#include <QFrame>

// Poll and timing switching page, shown in place of the switcher's channel groups.
class AdvancedSetting : public QFrame
{
    Q_OBJECT

public:
    explicit AdvancedSetting(QWidget *parent = nullptr);

signals:
    void goBack();
};
