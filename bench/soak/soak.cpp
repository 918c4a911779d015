// Many conversions and many openings of every window in one process: resident memory must not
// creep. Exits non-zero on growth of a mebibyte or more, or when a conversion goes wrong.
#include "shell/registry.h"
#include "support/scriptedservices.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;
using varnek::WindowName;

namespace {

constexpr long kAllowedGrowthKiB = 1024;

long residentKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    return -1;
}

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform warns on every raise() and size hint; thousands of those hide what matters.
void dropPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(u"This plugin does not support"_s))
        return;
    defaultHandler(type, context, text);
}

void settle()
{
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void pressEnter(QWidget *box)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    QApplication::sendEvent(box, &release);
}

// Types a rate and an amount into the first row and presses Enter, as a user does; returns false
// when the result box does not show the expected text.
bool convert(varnek::Registry &registry, int i)
{
    QWidget *window = registry.window(WindowName::atldendovize);
    auto *rate = window->findChild<QLineEdit *>(u"Dolarsatilis"_s);
    auto *amount = window->findChild<QLineEdit *>(u"Paramiktari"_s);
    auto *result = window->findChild<QPlainTextEdit *>(u"Sonucdolar"_s);
    if (!rate || !amount || !result)
        return false;
    // The amount changes each time, so every result is a new text.
    rate->setText(u"4"_s);
    amount->setText(QString::number(i * 4));
    pressEnter(amount);
    return result->toPlainText() == QString::number(i);
}

// Opens and closes every window the registry knows how to create, each through its own
// closing step; false when a window did not come or did not go.
bool cycleWindows(varnek::Registry &registry)
{
    const auto closed = [&](WindowName name) {
        settle();
        return !registry.existing(name);
    };
    registry.show(WindowName::MDIForm1);
    for (auto child : {WindowName::atldendovize, WindowName::adovizdentlye}) {
        registry.unload(child);
        if (!closed(child))
            return false;
        registry.show(child);
        if (!registry.existing(child))
            return false;
    }
    // Closing the main window asks the exit question; closing the question brings the main window
    // back, which closes once more, and the question is hidden.
    registry.unload(WindowName::MDIForm1);
    const QWidget *question = registry.existing(WindowName::uyari);
    if (!closed(WindowName::MDIForm1) || !question || !question->isVisible())
        return false;
    registry.unload(WindowName::uyari);
    settle();
    if (!registry.existing(WindowName::MDIForm1))
        return false;
    registry.unload(WindowName::MDIForm1);
    registry.hide(WindowName::uyari);
    if (!closed(WindowName::MDIForm1))
        return false;
    for (auto name : {WindowName::hesapmakinesi, WindowName::frmAbout, WindowName::Form2}) {
        if (!registry.window(name))
            continue;
        registry.show(name);
        settle();
        registry.unload(name);
        if (!closed(name))
            return false;
    }
    return true;
}

int argument(const QStringList &arguments, const QString &name, int fallback)
{
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(dropPlatformNotes);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Plain digits read the same in every format; the Turkish one is the program's home.
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));

    const QStringList arguments = QApplication::arguments();
    const int conversions = argument(arguments, u"--conversions"_s, 10'000);
    const int cycles = argument(arguments, u"--cycles"_s, 1'000);

    ScriptedServices services;
    varnek::Registry registry(services);
    registry.show(WindowName::splash);

    // One round first, so that fonts, styles and caches filled once are not counted as growth.
    if (!cycleWindows(registry)) {
        std::fprintf(stderr, "soak: a window did not open or close\n");
        return 2;
    }
    registry.show(WindowName::MDIForm1);
    if (!convert(registry, 1)) {
        std::fprintf(stderr, "soak: the first conversion went wrong\n");
        return 2;
    }
    settle();
    const long before = residentKiB();

    for (int i = 0; i < conversions; ++i) {
        if (!convert(registry, i)) {
            std::fprintf(stderr, "soak: conversion %d went wrong\n", i);
            return 2;
        }
    }
    settle();
    const long afterConversions = residentKiB();

    for (int i = 0; i < cycles; ++i) {
        if (!cycleWindows(registry)) {
            std::fprintf(stderr, "soak: a window did not open or close in cycle %d\n", i);
            return 2;
        }
    }
    settle();
    const long after = residentKiB();

    if (!services.messages.isEmpty()) {
        std::fprintf(stderr, "soak: %lld unexpected messages, the first: %s\n",
                     static_cast<long long>(services.messages.size()),
                     qPrintable(services.messages.constFirst().text));
        return 2;
    }
    std::printf("soak: %d conversions, %d window cycles\n", conversions, cycles);
    std::printf("soak: VmRSS before %ld KiB, after conversions %ld KiB, after window cycles %ld KiB\n", before,
                afterConversions, after);
    std::printf("soak: growth %ld KiB (limit below %ld KiB)\n", after - before, kAllowedGrowthKiB);
    if (before < 0 || after < 0)
        return 2;
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer holds freed memory back on purpose; here the cycles only look for misuse.
    std::printf("soak: growth not judged under AddressSanitizer\n");
    return 0;
#else
    return after - before >= kAllowedGrowthKiB ? 1 : 0;
#endif
}
