#include "widgets/cipedit.h"

#include "widgets/cippartedit.h"

#include <QEvent>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QStringList>
#include <QVariant>

#include <iterator>

namespace {

constexpr int PartWidth = 30;
constexpr int PartHeight = 24;
constexpr int DotWidth = 3;
constexpr int DotHeight = 18;
constexpr int DotTop = 1;
constexpr int EditorMinimumHeight = 26;
constexpr int EditorMaximumWidth = 123;

const char *const FocusProperty = "focusIn";

const QString DottedQuadPattern =
    QStringLiteral("((2[0-4]\\d|25[0-5]|[01]?\\d\\d?)\\.){3}(2[0-4]\\d|25[0-5]|[01]?\\d\\d?)");

// The parts share their inner borders away, so the four read as one box.
const QString FirstFocused = QStringLiteral(
    "QLineEdit{border:1px solid #B0B0B0;}QLineEdit[focusIn = true]{border:1px solid #668dda; border-right:none;}");
const QString MiddleFocused = QStringLiteral(
    "QLineEdit{border:1px solid #B0B0B0;}QLineEdit[focusIn = true]{border:1px solid #668dda; border-left:none; border-right:none;}");
const QString LastFocused = QStringLiteral(
    "QLineEdit{border:1px solid #B0B0B0;}QLineEdit[focusIn = true]{border:1px solid #668dda; border-left:none;}");

const QString FirstUnfocused = QStringLiteral(
    "QLineEdit{border:1px solid #B0B0B0;border-right:none;}QLineEdit[focusIn = true]{border:1px solid #668dda; border-right:none;}");
const QString MiddleUnfocused = QStringLiteral(
    "QLineEdit{border:1px solid #B0B0B0;border-left:none; border-right:none;}QLineEdit[focusIn = true]{border:1px solid #668dda; border-left:none; border-right:none;}");
const QString LastUnfocused = QStringLiteral(
    "QLineEdit{border:1px solid #B0B0B0;border-left:none;}QLineEdit[focusIn = true]{border:1px solid #668dda; border-left:none;}");

const QString FirstInitial = QStringLiteral(
    "QLineEdit{border-right:none;} QLineEdit:hover{border:1px solid #b0b0b0; border-right:none;}");
const QString MiddleInitial = QStringLiteral(
    "QLineEdit{border-left:none; border-right:none;} QLineEdit:hover{border:1px solid #b0b0b0; border-left:none; border-right:none;}");
const QString LastInitial = QStringLiteral(
    "QLineEdit{border-left:none;} QLineEdit:hover{border:1px solid #b0b0b0; border-left:none;}");

// A theme's padding or rounded corners for line edits would cut three digits off
// a 30-pixel part and notch the box; the parts' own sheets leave both alone.
const QString PartBoxReset = QStringLiteral("CIpPartEdit{padding:0px; border-radius:0px;}");

QLabel *makeDot(QWidget *parent, int x)
{
    auto *dot = new QLabel(QStringLiteral(" ."), parent);
    dot->setAlignment(Qt::AlignCenter);
    dot->setGeometry(x, DotTop, DotWidth, DotHeight);
    return dot;
}

} // namespace

CIPEdit::CIPEdit(QWidget *parent)
    : QWidget(parent)
{
    m_part1 = new CIpPartEdit(this);
    m_part2 = new CIpPartEdit(this);
    m_part3 = new CIpPartEdit(this);
    m_part4 = new CIpPartEdit(this);
    int x = 0;
    for (CIpPartEdit *part : {m_part1, m_part2, m_part3, m_part4}) {
        part->setGeometry(x, 0, PartWidth, PartHeight);
        x += PartWidth;
    }

    // Created after the parts so that each dot lies over its part's right edge.
    m_dot1 = makeDot(this, PartWidth - DotWidth);
    m_dot2 = makeDot(this, 2 * PartWidth - DotWidth);
    m_dot3 = makeDot(this, 3 * PartWidth - DotWidth);

    setStyleSheet(PartBoxReset);
    setMinimumHeight(EditorMinimumHeight);
    setMaximumWidth(EditorMaximumWidth);

    m_part1->setNextPart(m_part2);
    m_part2->setNextPart(m_part3);
    m_part3->setNextPart(m_part4); // Tab follows the order the parts were made in

    for (CIpPartEdit *part : {m_part1, m_part2, m_part3, m_part4}) {
        connect(part, &QLineEdit::textChanged, this, &CIPEdit::textchangedslot);
        connect(part, &QLineEdit::textEdited, this, &CIPEdit::texteditedslot);
        connect(part, &CIpPartEdit::focusIn, this, &CIPEdit::subEditFocusIn);
        connect(part, &CIpPartEdit::focusOut, this, &CIPEdit::subEditFocusOut);
        connect(part, &CIpPartEdit::addressPasted, this, &CIPEdit::pasteAddress);
    }

    initStyleSheets();
    nameParts();
}

QString CIPEdit::text() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(m_part1->text(), m_part2->text(), m_part3->text(), m_part4->text());
}

void CIPEdit::setText(const QString &text)
{
    const QRegularExpressionValidator validator{QRegularExpression(DottedQuadPattern)};
    QString candidate = text;
    int pos = 0;
    if (validator.validate(candidate, pos) == QValidator::Acceptable) {
        const QStringList octets = text.split(QLatin1Char('.'));
        m_part1->setText(octets.at(0));
        m_part2->setText(octets.at(1));
        m_part3->setText(octets.at(2));
        m_part4->setText(octets.at(3));
    } else {
        for (CIpPartEdit *part : {m_part1, m_part2, m_part3, m_part4})
            part->setText(QString());
    }
}

// A whole address pasted into any part fills all four; anything else is refused
// as the part's own validator would.
void CIPEdit::pasteAddress(const QString &text)
{
    const QRegularExpressionValidator validator{QRegularExpression(DottedQuadPattern)};
    QString candidate = text;
    int pos = 0;
    if (validator.validate(candidate, pos) != QValidator::Acceptable)
        return;
    setText(text);
    emit textedited(this->text());
}

void CIPEdit::focusFirstPart()
{
    m_part1->setFocus(Qt::OtherFocusReason);
    m_part1->selectAll();
}

void CIPEdit::setFieldName(const QString &name)
{
    m_fieldName = name;
    nameParts();
}

void CIPEdit::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        nameParts();
}

// The parts have no text of their own; each is announced as the field and its place.
void CIPEdit::nameParts()
{
    const QString field = m_fieldName.isEmpty() ? tr("IP address") : m_fieldName;
    setAccessibleName(field);
    CIpPartEdit *const parts[] = {m_part1, m_part2, m_part3, m_part4};
    const QString count = QString::number(std::size(parts));
    for (size_t i = 0; i < std::size(parts); ++i) {
        parts[i]->setAccessibleName(
            tr("%1, part %2 of %3").arg(field, QString::number(i + 1), count));
    }
}

void CIPEdit::textchangedslot(const QString &)
{
    emit textchanged(text());
}

void CIPEdit::texteditedslot(const QString &)
{
    emit textedited(text());
}

void CIPEdit::setPartsFocusLook(bool focused)
{
    for (CIpPartEdit *part : {m_part1, m_part2, m_part3, m_part4})
        part->setProperty(FocusProperty, focused);
}

void CIPEdit::subEditFocusIn()
{
    setPartsFocusLook(true);
    m_part1->setStyleSheet(FirstFocused);
    m_part2->setStyleSheet(MiddleFocused);
    m_part3->setStyleSheet(MiddleFocused);
    m_part4->setStyleSheet(LastFocused);
}

void CIPEdit::subEditFocusOut()
{
    setPartsFocusLook(false);
    m_part1->setStyleSheet(FirstUnfocused);
    m_part2->setStyleSheet(MiddleUnfocused);
    m_part3->setStyleSheet(MiddleUnfocused);
    m_part4->setStyleSheet(LastUnfocused);
}

void CIPEdit::initStyleSheets()
{
    m_part1->setStyleSheet(FirstInitial);
    m_part2->setStyleSheet(MiddleInitial);
    m_part3->setStyleSheet(MiddleInitial);
    m_part4->setStyleSheet(LastInitial);
}
