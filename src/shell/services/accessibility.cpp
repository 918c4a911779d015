#include "shell/services/accessibility.h"

#include "shell/services/accessibleboxes.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#ifdef Q_OS_WIN
#include <QLibrary>

#include <windows.h>

#include <oleauto.h>
#endif

namespace varnek {

namespace {

// Qt 6.4's AT-SPI bridge reports a description change by the control alone, not with the new text, so
// a screen reader reads the description when it handles the report, a moment later. The result stays
// the description of the control until the user goes on there (a key in it, or the keyboard leaves
// it); then the control gets its own back, reported as well.
class Announcement final : public QObject {
public:
    void show(QWidget *control, const QString &text)
    {
        end();
        m_control = control;
        m_own = control->accessibleDescription();
        control->installEventFilter(this);
        // Reported by Qt itself (QAccessible::DescriptionChanged).
        control->setAccessibleDescription(text);
    }

    void end()
    {
        if (!m_control)
            return;
        m_control->removeEventFilter(this);
        m_control->setAccessibleDescription(m_own);
        m_control = nullptr;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::FocusOut:
        case QEvent::Hide:
            end();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> m_control;
    QString m_own;
};

#ifdef Q_OS_WIN
// UIAutomationCore.dll's own, resolved at run time: MinGW's headers lack the notification, which came
// with Windows 10 1709. The enumerations' values are those of UIAutomationCore.h.
struct IRawElementProviderSimple;
using HostProviderFromHwnd = HRESULT(WINAPI *)(HWND, IRawElementProviderSimple **);
using RaiseNotificationEvent = HRESULT(WINAPI *)(IRawElementProviderSimple *, int kind, int processing,
                                                  BSTR displayString, BSTR activityId);
using ClientsAreListening = BOOL(WINAPI *)();
constexpr int notificationKindActionCompleted = 2;
constexpr int notificationProcessingImportantMostRecent = 1;

void notifyUiAutomation(QWidget *control, const QString &text)
{
    static QLibrary core(QStringLiteral("UIAutomationCore"));
    static const auto listening = reinterpret_cast<ClientsAreListening>(core.resolve("UiaClientsAreListening"));
    static const auto hostProvider = reinterpret_cast<HostProviderFromHwnd>(core.resolve("UiaHostProviderFromHwnd"));
    static const auto raise = reinterpret_cast<RaiseNotificationEvent>(core.resolve("UiaRaiseNotificationEvent"));
    if (!listening || !hostProvider || !raise || !listening())
        return;
    // The top-level window's own element: Qt gives its controls no window handle of their own.
    IRawElementProviderSimple *provider = nullptr;
    if (FAILED(hostProvider(reinterpret_cast<HWND>(control->window()->winId()), &provider)) || !provider)
        return;
    BSTR display = SysAllocStringLen(reinterpret_cast<const OLECHAR *>(text.utf16()), UINT(text.size()));
    BSTR activity = SysAllocString(L"varnek.result");
    raise(provider, notificationKindActionCompleted, notificationProcessingImportantMostRecent, display, activity);
    SysFreeString(activity);
    SysFreeString(display);
    reinterpret_cast<IUnknown *>(provider)->Release();
}
#endif

} // namespace

void installBoxAccessibility()
{
    // Qt asks the factory installed last first, so this one goes after QApplication's own.
    static const bool installed = [] {
        QAccessible::installFactory(boxInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

void announce(QWidget *source, const QString &text)
{
    // With the keyboard elsewhere nobody is reading in this window; the text written is reported as such.
    QWidget *control = QApplication::focusWidget();
    if (!control || control->window() != source->window())
        return;
    // Whether a screen reader listens or not: Qt tells assistive technology only when one does, and
    // the description is the same either way.
    static Announcement announcement;
    announcement.show(control, text);
#ifdef Q_OS_WIN
    notifyUiAutomation(control, text);
#endif
}

} // namespace varnek
