#include "shell/services/accessibility.h"

#include "shell/services/accessibleboxes.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

using namespace Qt::StringLiterals;

#if defined(Q_OS_WIN) && QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
#include <QLibrary>

#include <windows.h>

#include <oleauto.h>
#endif

namespace varnek {

namespace {

// Draws nothing, takes no room, the keyboard or the mouse, and stays hidden but for the moment it is
// shown with a text: a screen reader reads a notification as it appears (Orca 43 says "bildirim"
// and its name), wherever the keyboard is.
class Notice final : public QWidget {
public:
    explicit Notice(QWidget *window) : QWidget(window)
    {
        setObjectName(QString::fromUtf16(noticeName));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 0, 0);
        hide();
    }

    void tell(const QString &text)
    {
        setAccessibleName(text);
        // Shown again, it is heard again: the same result twice is two results.
        hide();
        show();
        // Hidden once Qt has reported it shown, so that nothing reads it out later.
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    }
};

QAccessibleInterface *noticeInterface(const QString &className, QObject *object)
{
    if (className != u"QWidget"_s || !object || object->objectName() != QString::fromUtf16(noticeName))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
}

QAccessibleInterface *programInterface(const QString &className, QObject *object)
{
    if (QAccessibleInterface *box = boxInterface(className, object))
        return box;
    return noticeInterface(className, object);
}

#if defined(Q_OS_WIN) && QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// UIAutomationCore.dll's own, resolved at run time: MinGW's headers lack the notification, which came
// with Windows 10 1709. The enumerations' values are those of UIAutomationCore.h.
struct IRawElementProviderSimple;
using HostProviderFromHwnd = HRESULT(WINAPI *)(HWND, IRawElementProviderSimple **);
using RaiseNotificationEvent = HRESULT(WINAPI *)(IRawElementProviderSimple *, int kind, int processing,
                                                  BSTR displayString, BSTR activityId);
using ClientsAreListening = BOOL(WINAPI *)();
constexpr int notificationKindActionCompleted = 2;
constexpr int notificationProcessingImportantMostRecent = 1;

void notifyUiAutomation(QWidget *window, const QString &text)
{
    static QLibrary core(QStringLiteral("UIAutomationCore"));
    static const auto listening = reinterpret_cast<ClientsAreListening>(core.resolve("UiaClientsAreListening"));
    static const auto hostProvider = reinterpret_cast<HostProviderFromHwnd>(core.resolve("UiaHostProviderFromHwnd"));
    static const auto raise = reinterpret_cast<RaiseNotificationEvent>(core.resolve("UiaRaiseNotificationEvent"));
    if (!listening || !hostProvider || !raise || !listening())
        return;
    // The top-level window's own element: Qt gives its controls no window handle of their own.
    IRawElementProviderSimple *provider = nullptr;
    if (FAILED(hostProvider(reinterpret_cast<HWND>(window->winId()), &provider)) || !provider)
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
        QAccessible::installFactory(programInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

void announce(QWidget *source, const QString &text)
{
    QWidget *window = source->window();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(window, text);
    QAccessible::updateAccessibility(&event);
#else
    installBoxAccessibility();
    // Only a Notice takes that name.
    auto *notice = static_cast<Notice *>(window->findChild<QWidget *>(QString::fromUtf16(noticeName), Qt::FindDirectChildrenOnly));
    if (!notice)
        notice = new Notice(window);
    notice->tell(text);
#ifdef Q_OS_WIN
    notifyUiAutomation(window, text);
#endif
#endif
}

} // namespace varnek
