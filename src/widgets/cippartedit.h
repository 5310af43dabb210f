#pragma once

#include <QLineEdit>

// One octet of a CIPEdit: 0 to 255, hands the focus on to the next part once
// no further digit could follow, and refuses to be left empty by clearing.
class CIpPartEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CIpPartEdit(QWidget *parent = nullptr);

    void setNextPart(CIpPartEdit *next);

signals:
    void focusIn();
    void focusOut();
    // The operator pasted text with a dot in it: a whole address, for the editor.
    void addressPasted(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private slots:
    void text_edited(const QString &text);

private:
    void moveToNextPart();
    // A whole address goes to the editor, anything else into this part.
    void pasteClipboard();

    CIpPartEdit *m_nextPart = nullptr;
    QString m_savedText;
    // The previous part filled up and handed the focus here by itself; a
    // period typed now only repeats that move.
    bool m_movedHereByItself = false;
};
