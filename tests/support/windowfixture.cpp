#include "support/windowfixture.h"

#include "shell/services/catalogues.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

using varnek::WindowName;

namespace {

QString nameOf(WindowName window)
{
    switch (window) {
    case WindowName::splash: return QStringLiteral("splash");
    case WindowName::MDIForm1: return QStringLiteral("MDIForm1");
    case WindowName::atldendovize: return QStringLiteral("atldendovize");
    case WindowName::adovizdentlye: return QStringLiteral("adovizdentlye");
    case WindowName::Form2: return QStringLiteral("Form2");
    case WindowName::hesapmakinesi: return QStringLiteral("hesapmakinesi");
    case WindowName::frmAbout: return QStringLiteral("frmAbout");
    case WindowName::uyari: return QStringLiteral("uyari");
    }
    return QStringLiteral("window %1").arg(int(window));
}

void fail(const QString &message, const std::source_location &where)
{
    QTest::qFail(qPrintable(message), where.file_name(), int(where.line()));
}

} // namespace

// The catalogues as the program loads them, before any window exists: the tests see what users see.
WindowFixture::WindowFixture() : registry(services) { varnek::loadCatalogues(); }

WindowFixture::~WindowFixture() = default;

QObject *WindowFixture::find(WindowName window, const QString &name, const QMetaObject &type, Where where)
{
    if (QWidget *w = registry.existing(window))
        return find(w, name, type, where);
    fail(QStringLiteral("%1 is not open, so it has no %2").arg(nameOf(window), name), where);
    return nullptr;
}

QObject *WindowFixture::find(QWidget *window, const QString &name, const QMetaObject &type, Where where)
{
    if (!window) {
        fail(QStringLiteral("no window to look for %1 in").arg(name), where);
        return nullptr;
    }
    const QList<QObject *> named = window->findChildren<QObject *>(name);
    for (QObject *object : named)
        if (type.cast(object))
            return object;
    if (named.isEmpty())
        fail(QStringLiteral("%1 has no control %2").arg(window->objectName(), name), where);
    else
        fail(QStringLiteral("%1/%2 is a %3, not a %4")
                 .arg(window->objectName(), name, QString::fromLatin1(named.front()->metaObject()->className()),
                      QString::fromLatin1(type.className())),
             where);
    return nullptr;
}

QWidget *WindowFixture::box(WindowName window, const QString &name, Where where)
{
    auto *found = qobject_cast<QWidget *>(find(window, name, QWidget::staticMetaObject, where));
    if (found && !qobject_cast<QLineEdit *>(found) && !qobject_cast<QPlainTextEdit *>(found)) {
        fail(QStringLiteral("%1/%2 is a %3, not a text box")
                 .arg(nameOf(window), name, QString::fromLatin1(found->metaObject()->className())),
             where);
        return nullptr;
    }
    return found;
}

QString WindowFixture::boxText(WindowName window, const QString &box, Where where)
{
    QWidget *found = this->box(window, box, where);
    if (auto *line = qobject_cast<QLineEdit *>(found))
        return line->text();
    if (auto *lines = qobject_cast<QPlainTextEdit *>(found))
        return lines->toPlainText();
    return QStringLiteral("(no box %1)").arg(box);
}

void WindowFixture::setBoxText(WindowName window, const QString &box, const QString &text, Where where)
{
    QWidget *found = this->box(window, box, where);
    if (auto *line = qobject_cast<QLineEdit *>(found))
        line->setText(text);
    else if (auto *lines = qobject_cast<QPlainTextEdit *>(found))
        lines->setPlainText(text);
}

// QTest::keyClicks goes through Latin-1, so each character travels as the event's own text.
void WindowFixture::type(QWidget *target, const QString &text, Where where)
{
    if (!target) {
        fail(QStringLiteral("nothing to type \"%1\" into").arg(text), where);
        return;
    }
    const bool shown = target->isVisible();
    target->setFocus();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        if (shown && !target->isVisible())
            break;
    }
}

void WindowFixture::verifyCentred(const QWidget *window, Where where)
{
    const QPointF off = QRectF(window->frameGeometry()).center() - QRectF(window->screen()->availableGeometry()).center();
    if (qAbs(off.x()) > 1 || qAbs(off.y()) > 1)
        fail(QStringLiteral("%1 is %2, %3 px off the screen's centre").arg(window->objectName()).arg(off.x()).arg(off.y()), where);
}

void WindowFixture::deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
