#include "shell/services/services.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <memory>

using namespace Qt::StringLiterals;
using varnek::WindowName;

// The texts that Qt itself shows in the program's windows (context menus, the title-bar menu and
// its buttons' tips, the buttons of message boxes and prompts) are Turkish whatever the system's
// language: CTest runs this once under a Turkish and once under an English locale, named in
// VARNEK_USER_LOCALE, as tst_systemlocale.
class QtTextsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void boxContextMenu_data();
    void boxContextMenu();
    void titleBarMenu_data();
    void titleBarMenu();
    void titleBarToolTips_data();
    void titleBarToolTips();

private:
    QMdiSubWindow *conversionWindow(WindowName name, const QString &state);

    std::unique_ptr<QStyle> m_style; // outlives the windows that use it
    std::optional<WindowFixture> m_fixture;
};

namespace {

constexpr int promptWindow = -1;

// An entry's text as the user reads it: the shortcut after the tab is the key's own name.
QStringList entryTexts(const QMenu &menu, bool withDisabledMark)
{
    QStringList texts;
    const QList<QAction *> actions = menu.actions();
    for (const QAction *action : actions) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        QString text = action->text().section(u'\t', 0, 0);
        if (withDisabledMark && !action->isEnabled())
            text.prepend(u"(off) "_s);
        texts << text;
    }
    return texts;
}

QStringList standardMenuTexts(QWidget *box)
{
    std::unique_ptr<QMenu> menu;
    if (auto *line = qobject_cast<QLineEdit *>(box))
        menu.reset(line->createStandardContextMenu());
    else if (auto *lines = qobject_cast<QPlainTextEdit *>(box))
        menu.reset(lines->createStandardContextMenu());
    return menu ? entryTexts(*menu, false) : QStringList{u"(no text box)"_s};
}

// Qt 6.4 shows tips on title-bar buttons only under a style whose hint says no (its check is the
// wrong way round); under such a style, as under a later Qt, they must be Turkish too.
class TitleBarTipsStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *answer) const override
    {
        if (hint == SH_TitleBar_ShowToolTipsOnButtons)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

} // namespace

void QtTextsTest::initTestCase()
{
    const QString expected = qEnvironmentVariable("VARNEK_USER_LOCALE");
    if (!expected.isEmpty())
        QCOMPARE(QLocale::system().name(), expected);
}

void QtTextsTest::init()
{
    m_style = std::make_unique<TitleBarTipsStyle>();
    m_fixture.emplace();
    m_fixture->registry.show(WindowName::MDIForm1);
}

void QtTextsTest::cleanup()
{
    m_fixture.reset();
    m_style.reset();
}

QMdiSubWindow *QtTextsTest::conversionWindow(WindowName name, const QString &state)
{
    auto *window = qobject_cast<QMdiSubWindow *>(m_fixture->registry.window(name));
    if (!window)
        return nullptr;
    // The main window leaves both minimised at first.
    if (state != u"as the main window opens"_s)
        window->showNormal();
    if (state == u"minimised again"_s)
        window->showMinimized();
    return window;
}

void QtTextsTest::boxContextMenu_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("box");
    const int tl = int(WindowName::atldendovize);
    const int dtl = int(WindowName::adovizdentlye);
    QTest::newRow("TL->Döviz rate") << tl << u"Dolarsatilis"_s;
    QTest::newRow("TL->Döviz amount") << tl << u"Paramiktari"_s;
    QTest::newRow("TL->Döviz result") << tl << u"Sonucdolar"_s;
    QTest::newRow("Döviz->TL rate") << dtl << u"Franksatilis"_s;
    QTest::newRow("Döviz->TL amount") << dtl << u"Paramiktari4"_s;
    QTest::newRow("Döviz->TL result") << dtl << u"Sonucfrank"_s;
    QTest::newRow("rate-entry box") << int(WindowName::Form2) << u"Text1"_s;
    QTest::newRow("calculator number") << int(WindowName::hesapmakinesi) << u"Sayibir"_s;
    QTest::newRow("calculator result") << int(WindowName::hesapmakinesi) << u"Sonuc"_s;
    QTest::newRow("input prompt") << promptWindow << QString();
}

void QtTextsTest::boxContextMenu()
{
    QFETCH(int, window);
    QFETCH(QString, box);
    const QStringList turkish{u"&Geri al"_s, u"&Yinele"_s,  u"Ke&s"_s,       u"&Kopyala"_s,
                              u"Ya&pıştır"_s, u"Sil"_s, u"Tümünü Seç"_s};

    if (window != promptWindow) {
        m_fixture->registry.window(WindowName(window));
        QCOMPARE(standardMenuTexts(m_fixture->control<QWidget>(WindowName(window), box)), turkish);
        return;
    }
    // The prompt is modal: looked at once it is up, then cancelled.
    QStringList seen{u"(no prompt)"_s};
    QTimer::singleShot(0, [&seen] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *line = modal->findChild<QLineEdit *>())
            seen = standardMenuTexts(line);
        modal->close();
    });
    varnek::QtServices services;
    QCOMPARE(services.prompt(u"Doların Satılış Fiyatı?"_s, u"DOLAR"_s), std::nullopt);
    QCOMPARE(seen, turkish);
}

void QtTextsTest::titleBarMenu_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("entries");
    // The words of Turkish Windows' own title-bar menu; "(off)" marks an entry shown greyed. The
    // windows have a fixed size, so Qt leaves out "&Boyutlandır".
    const QStringList normal{u"&Taşı"_s, u"&Üstte Tut"_s, u"&Kapat"_s};
    const QStringList minimised{u"&Geri Yükle"_s, u"(off) &Taşı"_s, u"&Üstte Tut"_s, u"&Kapat"_s};
    for (const auto &[window, name] : {std::pair{WindowName::atldendovize, "TL->Döviz"},
                                       std::pair{WindowName::adovizdentlye, "Döviz->TL"}}) {
        QTest::addRow("%s as the main window opens", name) << int(window) << u"as the main window opens"_s
                                                           << minimised;
        QTest::addRow("%s restored", name) << int(window) << u"restored"_s << normal;
        QTest::addRow("%s minimised again", name) << int(window) << u"minimised again"_s << minimised;
    }
}

void QtTextsTest::titleBarMenu()
{
    QFETCH(int, window);
    QFETCH(QString, state);
    QFETCH(QStringList, entries);

    QMdiSubWindow *w = conversionWindow(WindowName(window), state);
    QVERIFY(w);
    QCOMPARE(w->isMinimized(), state != u"restored"_s);
    QMenu *menu = w->systemMenu();
    QVERIFY(menu);
    w->showSystemMenu();
    QTRY_VERIFY(menu->isVisible());
    const QStringList shown = entryTexts(*menu, true);
    menu->close();
    QCOMPARE(shown, entries);
}

void QtTextsTest::titleBarToolTips_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("tips");
    for (const auto &[window, name] : {std::pair{WindowName::atldendovize, "TL->Döviz"},
                                       std::pair{WindowName::adovizdentlye, "Döviz->TL"}}) {
        QTest::addRow("%s minimised", name) << int(window) << u"as the main window opens"_s
                                            << QStringList{u"Kapat"_s, u"Menü"_s};
        QTest::addRow("%s restored", name) << int(window) << u"restored"_s << QStringList{u"Kapat"_s, u"Menü"_s};
    }
}

void QtTextsTest::titleBarToolTips()
{
    QFETCH(int, window);
    QFETCH(QString, state);
    QFETCH(QStringList, tips);

    QMdiSubWindow *w = conversionWindow(WindowName(window), state);
    QVERIFY(w);
    w->setStyle(m_style.get());
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    // Every tip along the title bar, as the mouse rests on each point of it in turn.
    const int y = w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w) / 2;
    QStringList seen;
    for (int x = 0; x < w->width(); ++x) {
        const QPoint at(x, y);
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QHelpEvent help(QEvent::ToolTip, at, w->mapToGlobal(at));
        QApplication::sendEvent(w, &help);
        if (QToolTip::isVisible() && !seen.contains(QToolTip::text()))
            seen << QToolTip::text();
    }
    QToolTip::hideText();
    seen.sort();
    QCOMPARE(seen, tips);
}

QTEST_MAIN(QtTextsTest)
#include "tst_qttexts.moc"
