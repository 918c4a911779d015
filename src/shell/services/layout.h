#pragma once

#include "shell/types/tabletext.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QSize>
#include <QString>
#include <QWidget>

class QLabel;

namespace varnek {

// Positions in the layout tables are twips; 15 twips are one logical pixel.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

constexpr int twipsToPixels(int twips) { return (twips + 7) / 15; }

QSize clientSize(int widthTwips, int heightTwips);
void place(QWidget *widget, const Twips &geometry);

// Creates a control of type T under its designer name and places it.
template <typename T>
T *makeControl(QWidget *parent, const QString &name, const Twips &geometry)
{
    auto *control = new T(parent);
    control->setObjectName(name);
    place(control, geometry);
    return control;
}

// A fixed dialog frame: title bar with a close button only, no entry in the task bar.
Qt::WindowFlags dialogWindowFlags();

// "Fixedsys" is a Windows bitmap font; elsewhere the nearest monospace face stands in.
QFont fixedsysFont();

// Text colour on background colour, for labels and boxes.
void setColours(QWidget *widget, const QColor &text, const QColor &background);

// Narrows a label's font when its text is wider than the label.
void fitTextToWidth(QLabel *label);

// Makes a label's font smaller until its text, wrapped if the label wraps, fits inside it.
void shrinkToFit(QLabel *label);

// Gives a text box the caption of its label as its accessible name, which screen readers announce.
void nameAfterLabel(QWidget *box, QLabel *label);

// A dialog without a cancel button: Esc does nothing, where a plain QDialog would close.
class NoCancelDialog : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A straight line of the given pen width between two points in twips.
class Line final : public QWidget {
public:
    Line(QWidget *parent, const QString &name, int x1, int y1, int x2, int y2, int width, const QColor &colour);
};

} // namespace varnek
