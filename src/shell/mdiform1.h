#pragma once

#include "shell/services/windowhub.h"

#include <QMainWindow>

class QMdiArea;
class QMdiSubWindow;

namespace varnek {

class DocumentWindows;

// The multiple-document frame that holds the two conversion windows.
class MDIForm1 final : public QMainWindow {
    Q_OBJECT

public:
    explicit MDIForm1(WindowHub &hub);
    ~MDIForm1() override;

    // Opens both conversion windows; runs each time the window is created.
    void load();
    void addChild(QMdiSubWindow *child);
    void showChild(QMdiSubWindow *child);
    void arrange(Arrangement arrangement);
    QMdiArea *workspace() const { return m_area; }

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void showMenusOf(QMdiSubWindow *active);
    void childGone(QObject *child);

    WindowHub &m_hub;
    QMdiSubWindow *m_menuOwner = nullptr;
    QMdiArea *m_area;
    DocumentWindows *m_documents;
    // The twips' scale changed while the window was maximised: its normal size is due on restoring.
    bool m_normalSizeDue = false;
};

} // namespace varnek
