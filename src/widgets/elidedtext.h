#pragma once

#include <QObject>
#include <QString>

class QAbstractButton;

// Shows a button's name elided to the width the layout gives the button, with
// the whole name in its tool tip, and keeps the name out of the button's size:
// a long name no longer widens its column, nor does renaming move the layout.
class ElidedText : public QObject
{
    Q_OBJECT

public:
    // The button is made as wide as sample needs, at least, whatever it shows.
    ElidedText(QAbstractButton *button, const QString &sample);

    // The name of a button that has an ElidedText.
    static void setName(QAbstractButton *button, const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitWidth();
    void elide();

    QAbstractButton *m_button = nullptr;
    QString m_sample;
    QString m_name;
};
