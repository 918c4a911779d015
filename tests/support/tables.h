#pragma once

#include "shell/services/windowhub.h"

#include <QApplication>
#include <QPalette>
#include <QTest>

#include <array>
#include <utility>

// Rows that several tests' tables are made of.

// A bool column with a row for each value, the true one first.
inline void addFlagRows(const char *column, const char *rowWhenTrue, const char *rowWhenFalse)
{
    QTest::addColumn<bool>(column);
    QTest::newRow(rowWhenTrue) << true;
    QTest::newRow(rowWhenFalse) << false;
}

// A column naming a conversion window, a row for each; the rows' names start with tagPrefix.
inline void addConversionWindowRows(const char *column, const char *tagPrefix = "")
{
    QTest::addColumn<varnek::WindowName>(column);
    QTest::addRow("%stl->currency", tagPrefix) << varnek::WindowName::atldendovize;
    QTest::addRow("%scurrency->tl", tagPrefix) << varnek::WindowName::adovizdentlye;
}

// The calculator's four operations: the label pressed for each, its caption and access key, and
// what it gives for 7 and 2 in Turkish. The texts are UTF-8.
struct CalculatorOperation {
    const char *caption;
    const char *label;
    const char *keys;
    Qt::Key accessKey;
    const char *resultOf7And2;
};

inline constexpr CalculatorOperation calculatorOperations[] = {
    {"Topla", "Label1", "Alt+T", Qt::Key_T, "9"},
    {"Çıkar", "Label2", "Alt+Ç", Qt::Key_Ccedilla, "5"},
    {"Çarp", "Label3", "Alt+P", Qt::Key_P, "14"},
    {"Böl", "Label4", "Alt+B", Qt::Key_B, "3,5"},
};

// The desktops' palettes the tests try, as a platform theme sets them: the desktop's own, the chief
// colours of qt6ct's "darker", white on black.
inline std::array<std::pair<const char *, QPalette>, 3> desktopPalettes()
{
    const QColor white(Qt::white), black(Qt::black);
    QPalette dark(white, QColor(0x424245), QColor(0x979797), QColor(0x302f2e), QColor(0x4a4947), white, white,
                  QColor(0x3d3d3d), QColor(0x222020));
    dark.setColor(QPalette::Highlight, QColor(0x12608a));
    // A high-contrast scheme selects in a bright colour under black text (Windows' "High Contrast Black").
    QPalette highContrast(white, black, white, white, white, white, white, black, black);
    highContrast.setColor(QPalette::Highlight, QColor(0x1aebff));
    highContrast.setColor(QPalette::HighlightedText, black);
    return {{{"light", QApplication::palette()}, {"dark", dark}, {"high contrast", highContrast}}};
}
