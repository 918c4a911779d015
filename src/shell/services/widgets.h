#pragma once

#include "assets/pictures.h"
#include "shell/services/rooms.h"

#include <QColor>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QStyle>
#include <QWidget>

class QLabel;

namespace varnek {

// A dialog without a cancel button: Esc does nothing, where a plain QDialog would close.
class NoCancelDialog : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// Gives a text box the caption of its label as its accessible name, which screen readers announce.
void nameAfterLabel(QWidget *box, QLabel *label);

// Sets the text of a one-line box as the program fills it: shown from its first character, where a
// box would otherwise scroll to its end, hiding the start of a long number such as "0,333333333333333".
void setTextFromStart(QLineEdit *box, const QString &text);

// Lets a one-line box hold a text of any length: Qt's default of 32767 characters would cut a long
// paste without a word.
void takeAnyLength(QLineEdit *box);

// A one-line text box, measured as it paints itself.
class OneLineBox final : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

    // The text area: the style's contents less the text margins; one line high.
    TextRoom textRoom() const;
};

// A frame with a title on its top line, measured as it paints itself.
class TitledFrame final : public QGroupBox {
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;

    // Where the style puts the title, and the frame's sides, were the title in the given font.
    QRect titleIn(const QFont &font) const;
    QRect sidesIn(const QFont &font) const;

    // The title's room: on the top line between the sides, a pixel clear of the right one, and down
    // to the first of what the frame holds.
    TextRoom titleRoom() const;

private:
    QRect partIn(const QFont &font, QStyle::SubControl part) const;
};

// A multi-line text box whose frame stays whole at fractional scales (1.25, 1.5). Qt gives a widget
// the device pixels between its edges rounded to whole pixels, but paints it from its unrounded
// position: the style's one-pixel frame lines would fall outside the box at the top and left, and
// under its viewport and scroll bar at the bottom and right.
class MultiLineBox final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool event(QEvent *event) override;
};

// A straight line of the given pen width between two points in twips.
class Line final : public QWidget {
public:
    Line(QWidget *parent, const QString &name, int x1, int y1, int x2, int y2, int width, const QColor &colour);
};

// A picture, a caption or both, to be pressed. Being a push button, it is one to assistive
// technology too, with a press action and its shortcut, if it has one, as the key for it.
class PictureButton final : public QPushButton {
    Q_OBJECT

public:
    enum class Look {
        // A bevelled button, the picture above a caption that wraps to its width.
        Raised,
        // Drawn as a label on the window: the picture at the top left, the caption on one line, in
        // the palette's window colours; no bevel, and no keyboard focus (a shortcut presses it).
        Flat,
    };

    explicit PictureButton(QWidget *parent = nullptr);

    // Flat also sets QPushButton's own flat property, by which others can tell the look.
    void setLook(Look look);

    // Shown at its own size, times the twips' scale.
    void setPicture(assets::Picture picture);

    // Where the caption is drawn: below the picture, wrapped to its width; without a picture, centred
    // inside the frame; flat, on one line across.
    TextRoom captionRoom() const;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void paintRaised();
    void paintPictureAndCaption(QPainter &painter, const QRect &room);
    void paintFlat();
    QRect contentRoom() const;

    Look m_look = Look::Raised;
};

// At the twips' scale.
QPixmap backdropPicture();

// Shows the picture in the label at the twips' scale, drawn afresh when the scale changes.
void showPicture(QLabel *label, assets::Picture picture);

// A window drawn on the program's backdrop picture.
template <typename Window>
class OnBackdrop : public Window {
public:
    using Window::Window;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawPixmap(0, 0, backdropPicture()); }
};

} // namespace varnek
