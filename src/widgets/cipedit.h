#pragma once

#include <QWidget>

class CIpPartEdit;
class QLabel;

// A dotted IPv4 field made of four one-octet parts that read as one framed box.
// text() gives the parts as typed; callers that need a valid address check it.
class CIPEdit : public QWidget
{
    Q_OBJECT

public:
    explicit CIPEdit(QWidget *parent = nullptr);

    QString text() const;
    // A complete dotted quad fills the four parts; anything else empties them.
    void setText(const QString &text);
    // What the field holds ("Subnet mask"), in the interface language: screen
    // readers announce each part with it. Empty means an IP address.
    void setFieldName(const QString &name);
    // The focus into the first part with its text selected, ready to be typed over.
    void focusFirstPart();

protected:
    void changeEvent(QEvent *event) override;

signals:
    void textchanged(QString text);
    void textedited(QString text);

private slots:
    void textchangedslot(const QString &text);
    void texteditedslot(const QString &text);
    void subEditFocusIn();
    void subEditFocusOut();
    void pasteAddress(const QString &text);

private:
    void initStyleSheets();
    void setPartsFocusLook(bool focused);
    void nameParts();

    CIpPartEdit *m_part1 = nullptr;
    CIpPartEdit *m_part2 = nullptr;
    CIpPartEdit *m_part3 = nullptr;
    CIpPartEdit *m_part4 = nullptr;
    QLabel *m_dot1 = nullptr;
    QLabel *m_dot2 = nullptr;
    QLabel *m_dot3 = nullptr;
    QString m_fieldName;
};
