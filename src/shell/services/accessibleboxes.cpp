#include "shell/services/accessibleboxes.h"

#include "shell/services/widgets.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace varnek {

namespace {

// A number is one word however the box breaks it ("9,99999998E+17" has a word break before the
// "+"): words here are what lies between blanks.
QString wordAt(const QString &text, int offset, int *start, int *end)
{
    const auto blank = [&](int at) { return text.at(at).isSpace(); };
    int from = std::clamp(offset, 0, int(text.size()));
    if (from == text.size() && from > 0 && !blank(from - 1))
        --from;
    int to = from;
    while (from > 0 && !blank(from - 1))
        --from;
    while (to < text.size() && !blank(to))
        ++to;
    // Blanks after a word belong to it, as Qt's own boundaries have it.
    while (to < text.size() && blank(to))
        ++to;
    *start = from;
    *end = to;
    return text.mid(from, to - from);
}

// What both kinds of box share: text and ranges counted in the whole text, a line being what lies
// between line breaks, not what the box shows on one row, and one run of attributes over it all.
class BoxInterface : public QAccessibleWidget, public QAccessibleTextInterface, public QAccessibleEditableTextInterface {
public:
    BoxInterface(QWidget *box, const QString &name) : QAccessibleWidget(box, QAccessible::EditableText, name) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // A caption standing on several rows would be read out in place of the box's name, which tells the
    // row: the caption labels the box only where it names the box alone.
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        auto found = QAccessibleWidget::relations(match);
        const QString name = widget()->accessibleName();
        found.removeIf([&name](const QPair<QAccessibleInterface *, QAccessible::Relation> &relation) {
            const auto *label = qobject_cast<const QLabel *>(relation.first->object());
            return (relation.second & QAccessible::Label) && label && !name.isEmpty() && name != labelName(label);
        });
        return found;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (readOnly())
            state.readOnly = true;
        else
            state.editable = true;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return whole();
        return QAccessibleWidget::text(type);
    }

    void setText(QAccessible::Text type, const QString &text) override
    {
        if (type == QAccessible::Value)
            setWhole(text);
        else
            QAccessibleWidget::setText(type, text);
    }

    QString text(int startOffset, int endOffset) const override
    {
        return whole().mid(startOffset, endOffset - startOffset);
    }

    int characterCount() const override { return int(whole().size()); }

    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        // One run over the whole text: Orca joins runs by their end, and a run of no length there
        // would cut the last character off.
        *startOffset = 0;
        *endOffset = std::max(characterCount(), offset);
        return {};
    }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const override
    {
        if (type == QAccessible::WordBoundary)
            return wordAt(whole(), offset, startOffset, endOffset);
        return QAccessibleTextInterface::textAtOffset(offset, type, startOffset, endOffset);
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const override
    {
        if (type == QAccessible::WordBoundary) {
            int start = 0, end = 0;
            wordAt(whole(), offset, &start, &end);
            if (start == 0) {
                *startOffset = *endOffset = -1;
                return {};
            }
            return wordAt(whole(), start - 1, startOffset, endOffset);
        }
        return QAccessibleTextInterface::textBeforeOffset(offset, type, startOffset, endOffset);
    }

    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const override
    {
        if (type == QAccessible::WordBoundary) {
            int start = 0, end = 0;
            wordAt(whole(), offset, &start, &end);
            if (end >= characterCount()) {
                *startOffset = *endOffset = -1;
                return {};
            }
            return wordAt(whole(), end, startOffset, endOffset);
        }
        return QAccessibleTextInterface::textAfterOffset(offset, type, startOffset, endOffset);
    }

    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }

    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, {}); }

    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }

protected:
    virtual QString whole() const = 0;
    virtual void setWhole(const QString &text) = 0;
    virtual bool readOnly() const = 0;

private:
    static QString labelName(const QLabel *label)
    {
        QString name = label->text().trimmed();
        if (name.endsWith(u':'))
            name.chop(1);
        return name;
    }
};

class OneLineInterface final : public BoxInterface {
public:
    explicit OneLineInterface(QLineEdit *box) : BoxInterface(box, {}) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = BoxInterface::state();
        if (box()->echoMode() != QLineEdit::Normal)
            state.passwordEdit = true;
        return state;
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !box()->hasSelectedText())
            return;
        *startOffset = box()->selectionStart();
        *endOffset = box()->selectionEnd();
    }

    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }

    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            box()->deselect();
    }

    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            box()->setSelection(startOffset, endOffset - startOffset);
    }

    int cursorPosition() const override { return box()->cursorPosition(); }

    void setCursorPosition(int position) override { box()->setCursorPosition(position); }

    QRect characterRect(int offset) const override
    {
        // Where the character stands with the text shown from its start, as the program shows it.
        const QFontMetrics metrics = box()->fontMetrics();
        const QRect room = box()->contentsRect().marginsRemoved(box()->textMargins());
        const QString shown = whole();
        const int left = metrics.horizontalAdvance(shown.left(offset));
        const int width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 0;
        const QRect rect(room.left() + left, room.top() + (room.height() - metrics.height()) / 2, width, metrics.height());
        return QRect(box()->mapToGlobal(rect.topLeft()), rect.size());
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        box()->setCursorPosition(endIndex);
        box()->setCursorPosition(startIndex);
    }

    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        if (box()->isReadOnly())
            return;
        box()->setText(whole().replace(startOffset, endOffset - startOffset, text));
    }

protected:
    QString whole() const override
    {
        // A hidden text is not read out.
        return box()->echoMode() == QLineEdit::Normal ? box()->text() : QString();
    }

    void setWhole(const QString &text) override { box()->setText(text); }

    bool readOnly() const override { return box()->isReadOnly(); }

private:
    QLineEdit *box() const { return static_cast<QLineEdit *>(widget()); }
};

class MultiLineInterface final : public BoxInterface {
public:
    explicit MultiLineInterface(QPlainTextEdit *box) : BoxInterface(box, {}) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = BoxInterface::state();
        state.multiLine = true;
        return state;
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        const QTextCursor cursor = box()->textCursor();
        if (selectionIndex != 0 || !cursor.hasSelection())
            return;
        *startOffset = cursor.selectionStart();
        *endOffset = cursor.selectionEnd();
    }

    int selectionCount() const override { return box()->textCursor().hasSelection() ? 1 : 0; }

    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex != 0)
            return;
        QTextCursor cursor = box()->textCursor();
        cursor.clearSelection();
        box()->setTextCursor(cursor);
    }

    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex != 0)
            return;
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(startOffset);
        cursor.setPosition(endOffset, QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }

    int cursorPosition() const override { return box()->textCursor().position(); }

    void setCursorPosition(int position) override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(std::clamp(position, 0, characterCount()));
        box()->setTextCursor(cursor);
    }

    QRect characterRect(int offset) const override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(std::clamp(offset, 0, characterCount()));
        QRect rect = box()->cursorRect(cursor);
        if (offset < characterCount())
            rect.setWidth(box()->fontMetrics().horizontalAdvance(whole().at(offset)));
        return QRect(box()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        return box()->cursorForPosition(box()->viewport()->mapFromGlobal(point)).position();
    }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        setCursorPosition(endIndex);
        box()->ensureCursorVisible();
        setCursorPosition(startIndex);
        box()->ensureCursorVisible();
    }

    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        if (box()->isReadOnly())
            return;
        QTextCursor cursor(box()->document());
        cursor.setPosition(std::clamp(startOffset, 0, characterCount()));
        cursor.setPosition(std::clamp(endOffset, 0, characterCount()), QTextCursor::KeepAnchor);
        cursor.insertText(text);
    }

protected:
    QString whole() const override { return box()->toPlainText(); }

    void setWhole(const QString &text) override { box()->setPlainText(text); }

    bool readOnly() const override { return box()->isReadOnly(); }

private:
    QPlainTextEdit *box() const { return static_cast<QPlainTextEdit *>(widget()); }
};

} // namespace

QAccessibleInterface *boxInterface(const QString &className, QObject *object)
{
    // A spin box's own box is read as part of the spin box, as Qt has it.
    if (className == u"QLineEdit" && qobject_cast<QLineEdit *>(object) && object->objectName() != u"qt_spinbox_lineedit")
        return new OneLineInterface(static_cast<QLineEdit *>(object));
    if (className == u"QPlainTextEdit") {
        if (auto *box = dynamic_cast<MultiLineBox *>(object))
            return new MultiLineInterface(box);
    }
    return nullptr;
}

} // namespace varnek
