#pragma once

#include "shell/services/windowhub.h"

#include <QTest>

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
