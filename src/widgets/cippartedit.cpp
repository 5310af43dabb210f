#include "widgets/cippartedit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QIntValidator>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <memory>
#include <utility>

namespace {

constexpr int MaxOctet = 255;
constexpr int OctetDigits = 3;
// From 26 on, any third digit would pass 255, so a two-digit part is complete.
constexpr int CompleteTwoDigitOctet = 26;
// Qt's own text for the menu's Paste, looked up the way Qt's menu looks it up.
const char *const MenuPasteText = "&Paste";

} // namespace

CIpPartEdit::CIpPartEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(OctetDigits);
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setValidator(new QIntValidator(0, MaxOctet, this));
    connect(this, &QLineEdit::textEdited, this, &CIpPartEdit::text_edited);
}

void CIpPartEdit::setNextPart(CIpPartEdit *next)
{
    m_nextPart = next;
}

void CIpPartEdit::moveToNextPart()
{
    if (!m_nextPart)
        return;
    m_nextPart->setFocus(Qt::OtherFocusReason);
    m_nextPart->selectAll();
}

void CIpPartEdit::text_edited(const QString &text)
{
    const QIntValidator octet(0, MaxOctet);
    QString candidate = text;
    int pos = 0;
    if (octet.validate(candidate, pos) != QValidator::Acceptable)
        return;
    if (text.size() == OctetDigits
        || (text.size() == OctetDigits - 1 && text.toInt() >= CompleteTwoDigitOctet)) {
        moveToNextPart();
        if (m_nextPart)
            m_nextPart->m_movedHereByItself = true;
    }
}

void CIpPartEdit::pasteClipboard()
{
    const QString pasted = QGuiApplication::clipboard()->text().trimmed();
    if (pasted.contains(QLatin1Char('.')))
        emit addressPasted(pasted);
    else
        paste();
}

// The menu's own Paste would cut a whole address down to its first digits.
void CIpPartEdit::contextMenuEvent(QContextMenuEvent *event)
{
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    const auto actions = menu->actions();
    for (QAction *action : actions) {
        if (action->text().startsWith(QLineEdit::tr(MenuPasteText))) {
            disconnect(action, nullptr, this, nullptr);
            connect(action, &QAction::triggered, this, &CIpPartEdit::pasteClipboard);
        }
    }
    menu->exec(event->globalPos());
}

void CIpPartEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
        return;
    }
    const int key = event->key();
    if (key == Qt::Key_Period && std::exchange(m_movedHereByItself, false)) {
        event->accept();
        return;
    }
    // Shift or AltGr may be needed to type the period itself.
    if (!(key >= Qt::Key_Shift && key <= Qt::Key_ScrollLock) && key != Qt::Key_AltGr)
        m_movedHereByItself = false;
    if (key == Qt::Key_Period)
        moveToNextPart();
    // The validator refuses the period itself, so passing it on inserts nothing.
    QLineEdit::keyPressEvent(event);
}

void CIpPartEdit::focusInEvent(QFocusEvent *event)
{
    selectAll();
    m_savedText = text();
    emit focusIn();
    QLineEdit::focusInEvent(event);
}

void CIpPartEdit::focusOutEvent(QFocusEvent *event)
{
    m_movedHereByItself = false;
    if (text().isEmpty())
        setText(m_savedText);
    emit focusOut();
    QLineEdit::focusOutEvent(event);
}
