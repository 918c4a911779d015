#pragma once

#include "convert/rules/conversion.h"
#include "shell/types/currency.h"

#include <QList>
#include <QMdiSubWindow>

#include <array>

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace varnek {

class WindowHub;

// The body shared by the two conversion twins; they differ only in direction and texts.
class ConversionWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    ConversionWindow(WindowHub &hub, Direction direction);

    Direction direction() const { return m_direction; }
    // The menus this window carries; the main window shows those of the active one.
    const QList<QMenu *> &menus() const { return m_menus; }
    // Empties all twelve boxes.
    void clearBoxes();
    // Replaces the text of the currency's rate box; runs no handler.
    void setRate(Currency currency, const QString &text);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // One currency's boxes, in the currency table's order.
    struct Row {
        Currency currency;
        QLineEdit *rate;
        QLineEdit *amount;
        QPlainTextEdit *result;
        // What an error calls the boxes: what the user reads beside them.
        QString rateName;
        QString amountName;
    };

    void buildControls(QWidget *client);
    // The title-bar menu's entry that Qt names by that English text.
    QAction *systemMenuAction(const char *source) const;
    void convert(const Row &row);

    WindowHub &m_hub;
    const Direction m_direction;
    std::array<Row, 4> m_rows{};
    QWidget *m_firstBox = nullptr;
    QList<QMenu *> m_menus;
};

class atldendovize final : public ConversionWindow {
    Q_OBJECT

public:
    explicit atldendovize(WindowHub &hub);
};

class adovizdentlye final : public ConversionWindow {
    Q_OBJECT

public:
    explicit adovizdentlye(WindowHub &hub);
};

} // namespace varnek
