#include "convert/conversionwindow.h"
#include "shell/mdiform1.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTest>

using namespace Qt::StringLiterals;
using varnek::WindowName;

class ConversionMenuTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuTree_data();
    void menuTree();
    void barFollowsTheActiveWindow();
    void barVanishesWithTheLastConversionWindow();
    void directionCommandsNameTheirWindow_data();
    void directionCommandsNameTheirWindow();
    void directionCommandsAfterArranging_data();
    void directionCommandsAfterArranging();
    void directionCommandRecreatesClosedWindowEmpty();
    void clearEmptiesOnlyThisWindow();
    void ratePrompts_data();
    void ratePrompts();
    void helpMessage();
    void tileSideBySideFullHeight();
    void tileAndCascadeLeaveMinimisedWindowsAlone();
    void cascadeOffsetsWindows();

private:
    varnek::ConversionWindow *window(WindowName name);
    void trigger(WindowName from, const QString &item);
    QString text(WindowName window, const QString &box) { return m_fixture->boxText(window, box); }

    std::optional<WindowFixture> m_fixture;
};

namespace {

const QStringList allBoxes{u"Dolarsatilis"_s, u"Paramiktari"_s,    u"Sonucdolar"_s,   u"Marksatilis"_s,
                           u"Paramiktari2"_s, u"Sonucmark"_s,      u"Sterlinsatilis"_s, u"Paramiktari3"_s,
                           u"Sonucsterlin"_s, u"Franksatilis"_s,   u"Paramiktari4"_s, u"Sonucfrank"_s};

} // namespace

void ConversionMenuTest::init()
{
    m_fixture.emplace();
    m_fixture->registry.show(WindowName::MDIForm1);
}

void ConversionMenuTest::cleanup() { m_fixture.reset(); }

varnek::ConversionWindow *ConversionMenuTest::window(WindowName name)
{
    return static_cast<varnek::ConversionWindow *>(m_fixture->registry.window(name));
}

void ConversionMenuTest::trigger(WindowName from, const QString &item)
{
    auto *action = m_fixture->control<QAction>(window(from), item);
    QVERIFY(action->isEnabled());
    action->trigger();
}

void ConversionMenuTest::menuTree_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QString>("updateCaption");
    QTest::newRow("tl->currency") << WindowName::atldendovize << u"&Web ÜstündeGüncelle"_s;
    QTest::newRow("currency->tl") << WindowName::adovizdentlye << u"&Web Üstünde Güncelle"_s;
}

void ConversionMenuTest::menuTree()
{
    QFETCH(WindowName, window);
    QFETCH(QString, updateCaption);

    struct Item {
        QString name, caption;
        bool enabled;
    };
    struct Menu {
        QString name, caption;
        QList<Item> items;
    };
    const QList<Menu> expected = {
        {u"mnuDosya"_s, u"&Dosya"_s,
         {{u"mnuYardimal"_s, u"&Yardım Al"_s, false}, {u"mnuUpgrade"_s, u"&Upgrade"_s, false},
          {u"mnuKapat"_s, u"&Kapat"_s, true}}},
        {u"mnuIslemler"_s, u"&Çevirme İşlemleri"_s,
         {{u"mnuDoviztoTL"_s, u"&Döviz'den TL'ye"_s, true}, {u"mnuTLtoDoviz"_s, u"&TL'den Döviz'e"_s, true}}},
        {u"mnuAyarlar"_s, u"&Ayarlar"_s,
         {{u"mnuKurgirdilerinitemizle"_s, u"&Kur Girdilerini Temizle"_s, true},
          {u"mnugerial"_s, u"&Geri Al"_s, false}, {u"mnuilerial"_s, u"&İleri Al"_s, false}}},
        {u"mnuGununkurları"_s, u"&Günün Kurları"_s,
         {{u"mnuGuncelle"_s, updateCaption, false}, {u"mnuBak"_s, u"&Kurlara Gözat"_s, false},
          {u"mnuOtomatikayarla"_s, u"&Otomatik Ayarla (Elle)"_s, true}, {u"mnuElleayarla"_s, u"&Elle Ayarla"_s, true}}},
        {u"mnuEk"_s, u"&Ek"_s, {{u"mnuhmakinesi"_s, u"&Hesap Makinesi"_s, true}}},
        {u"mnuPencere"_s, u"&Pencere"_s,
         {{u"mnuDose"_s, u"&Döşe"_s, true}, {u"mnuBasamakla"_s, u"&Basamakla"_s, true}}},
        {u"mnuYardim"_s, u"&Yardım"_s,
         {{u"mnuWebsitesi"_s, u"&Web Sitesi"_s, false}, {u"mnuKullanim"_s, u"&Nasıl Kullanılır?"_s, true},
          {u"mnuhakkinda"_s, u"&Hakkında"_s, true}}},
    };

    const QList<QMenu *> menus = this->window(window)->menus();
    QCOMPARE(menus.size(), expected.size());
    for (qsizetype m = 0; m < menus.size(); ++m) {
        QCOMPARE(menus[m]->objectName(), expected[m].name);
        QCOMPARE(menus[m]->title(), expected[m].caption);
        QVERIFY(menus[m]->menuAction()->isEnabled());
        // The arrow keys stop on greyed items too, for a screen reader to name them unavailable.
        QVERIFY(menus[m]->style()->styleHint(QStyle::SH_Menu_AllowActiveAndDisabled, nullptr, menus[m]));
        const QList<QAction *> actions = menus[m]->actions();
        QCOMPARE(actions.size(), expected[m].items.size());
        for (qsizetype i = 0; i < actions.size(); ++i) {
            const Item &item = expected[m].items[i];
            QCOMPARE(actions[i]->objectName(), item.name);
            QCOMPARE(actions[i]->text(), item.caption);
            QCOMPARE(actions[i]->isEnabled(), item.enabled);
            QVERIFY(actions[i]->shortcut().isEmpty());
            QVERIFY(!actions[i]->isCheckable());
        }
    }
}

void ConversionMenuTest::barFollowsTheActiveWindow()
{
    auto *main = static_cast<varnek::MDIForm1 *>(m_fixture->registry.existing(WindowName::MDIForm1));
    auto barCaptionOfUpdateItem = [main] {
        for (QAction *top : main->menuBar()->actions())
            if (top->objectName() == u"mnuGununkurları"_s)
                return top->menu()->actions().front()->text();
        return QString();
    };
    QVERIFY(!main->menuBar()->isHidden());
    QCOMPARE(main->menuBar()->actions().size(), 7);
    QCOMPARE(barCaptionOfUpdateItem(), u"&Web ÜstündeGüncelle"_s); // the active one at start, minimised

    main->workspace()->setActiveSubWindow(window(WindowName::adovizdentlye));
    QCOMPARE(barCaptionOfUpdateItem(), u"&Web Üstünde Güncelle"_s);
    main->workspace()->setActiveSubWindow(window(WindowName::atldendovize));
    QCOMPARE(barCaptionOfUpdateItem(), u"&Web ÜstündeGüncelle"_s);
}

void ConversionMenuTest::barVanishesWithTheLastConversionWindow()
{
    auto *main = static_cast<varnek::MDIForm1 *>(m_fixture->registry.existing(WindowName::MDIForm1));
    window(WindowName::atldendovize)->close();
    WindowFixture::deleteClosed();
    QVERIFY(!main->menuBar()->isHidden());
    QCOMPARE(main->menuBar()->actions().front()->menu()->parent(), window(WindowName::adovizdentlye));
    window(WindowName::adovizdentlye)->close();
    WindowFixture::deleteClosed();
    QVERIFY(main->menuBar()->isHidden());
}

void ConversionMenuTest::directionCommandsNameTheirWindow_data()
{
    QTest::addColumn<WindowName>("from");
    QTest::addColumn<QString>("item");
    QTest::addColumn<WindowName>("restored");
    const auto tl = WindowName::atldendovize;
    const auto dtl = WindowName::adovizdentlye;
    QTest::newRow("Döviz'den TL'ye from tl->currency") << tl << u"mnuDoviztoTL"_s << dtl;
    QTest::newRow("Döviz'den TL'ye from currency->tl") << dtl << u"mnuDoviztoTL"_s << dtl;
    QTest::newRow("TL'den Döviz'e from tl->currency") << tl << u"mnuTLtoDoviz"_s << tl;
    QTest::newRow("TL'den Döviz'e from currency->tl") << dtl << u"mnuTLtoDoviz"_s << tl;
}

void ConversionMenuTest::directionCommandsNameTheirWindow()
{
    QFETCH(WindowName, from);
    QFETCH(QString, item);
    QFETCH(WindowName, restored);

    m_fixture->setBoxText(restored, u"Marksatilis"_s, u"7"_s);
    trigger(from, item);
    const WindowName other = restored == WindowName::atldendovize ? WindowName::adovizdentlye : WindowName::atldendovize;
    QVERIFY(!window(restored)->isMinimized());
    QVERIFY(!window(restored)->isMaximized());
    QVERIFY(window(other)->isMinimized());
    QCOMPARE(text(restored, u"Marksatilis"_s), u"7"_s);
    // A second time leaves the normal window as it is.
    const QRect before = window(restored)->geometry();
    trigger(from, item);
    QCOMPARE(window(restored)->geometry(), before);
}

void ConversionMenuTest::directionCommandsAfterArranging_data()
{
    QTest::addColumn<QString>("arrangement");
    QTest::addColumn<WindowName>("target");
    QTest::addColumn<bool>("minimised");
    for (const auto &[arrangement, tag] : {std::pair{u"mnuDose"_s, "tile"}, std::pair{u"mnuBasamakla"_s, "cascade"}}) {
        for (const auto &[target, command] : {std::pair{WindowName::atldendovize, "TL'den Döviz'e"},
                                              std::pair{WindowName::adovizdentlye, "Döviz'den TL'ye"}}) {
            QTest::addRow("%s, %s on the active window", tag, command) << arrangement << target << false;
            QTest::addRow("%s, %s on a minimised window", tag, command) << arrangement << target << true;
        }
    }
}

void ConversionMenuTest::directionCommandsAfterArranging()
{
    QFETCH(QString, arrangement);
    QFETCH(WindowName, target);
    QFETCH(bool, minimised);

    const WindowName other = target == WindowName::atldendovize ? WindowName::adovizdentlye : WindowName::atldendovize;
    const QString command = target == WindowName::atldendovize ? u"mnuTLtoDoviz"_s : u"mnuDoviztoTL"_s;
    const QString otherCommand = target == WindowName::atldendovize ? u"mnuDoviztoTL"_s : u"mnuTLtoDoviz"_s;
    auto *main = static_cast<varnek::MDIForm1 *>(m_fixture->registry.existing(WindowName::MDIForm1));
    // Both in normal state; the target is restored last, so it is the active one.
    trigger(target, otherCommand);
    trigger(target, command);
    const QRect normal = window(target)->geometry();
    if (minimised) {
        window(target)->showMinimized();
        main->workspace()->setActiveSubWindow(window(other));
    }
    trigger(other, arrangement);
    const QRect arranged = window(target)->geometry();
    if (!minimised)
        QVERIFY2(arranged != normal, "the arrangement must move the window for this test to mean anything");

    trigger(other, command);
    QVERIFY(!window(target)->isMinimized());
    QCOMPARE(window(target)->geometry(), minimised ? normal : arranged);
    QCOMPARE(main->workspace()->activeSubWindow(), window(target));
}

void ConversionMenuTest::directionCommandRecreatesClosedWindowEmpty()
{
    m_fixture->setBoxText(WindowName::adovizdentlye, u"Dolarsatilis"_s, u"5"_s);
    window(WindowName::adovizdentlye)->close();
    WindowFixture::deleteClosed();
    QVERIFY(!m_fixture->registry.existing(WindowName::adovizdentlye));
    trigger(WindowName::atldendovize, u"mnuDoviztoTL"_s);
    auto *again = m_fixture->registry.existing(WindowName::adovizdentlye);
    QVERIFY(again);
    QVERIFY(again->isVisible());
    QVERIFY(!again->isMinimized());
    QCOMPARE(text(WindowName::adovizdentlye, u"Dolarsatilis"_s), QString());
}

void ConversionMenuTest::clearEmptiesOnlyThisWindow()
{
    for (auto name : {WindowName::atldendovize, WindowName::adovizdentlye})
        for (const QString &box : allBoxes)
            m_fixture->setBoxText(name, box, box + u"ç"_s);
    window(WindowName::adovizdentlye)->showNormal();
    trigger(WindowName::adovizdentlye, u"mnuKurgirdilerinitemizle"_s);
    for (const QString &box : allBoxes) {
        QCOMPARE(text(WindowName::adovizdentlye, box), QString());
        QCOMPARE(text(WindowName::atldendovize, box), box + u"ç"_s);
    }
    QVERIFY(!window(WindowName::adovizdentlye)->isMinimized()); // the window state stays
}

void ConversionMenuTest::ratePrompts_data()
{
    using Answers = QList<std::optional<QString>>;
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("expected");
    const QStringList before{u"1"_s, u"2"_s, u"3"_s, u"4"_s};
    QTest::newRow("all OK, stored as typed") << Answers{u"1.250.000"_s, u"abc"_s, u" 2,5 "_s, u"ğüş"_s}
                                             << QStringList{u"1.250.000"_s, u"abc"_s, u" 2,5 "_s, u"ğüş"_s};
    QTest::newRow("cancel keeps the rate, the row goes on")
        << Answers{u"9"_s, std::nullopt, u"8"_s, std::nullopt} << QStringList{u"9"_s, u"2"_s, u"8"_s, u"4"_s};
    QTest::newRow("empty OK empties the box") << Answers{QString(), u"7"_s, QString(), QString()}
                                              << QStringList{QString(), u"7"_s, QString(), QString()};
    QTest::newRow("all cancelled") << Answers{std::nullopt, std::nullopt, std::nullopt, std::nullopt} << before;
}

void ConversionMenuTest::ratePrompts()
{
    QFETCH(QList<std::optional<QString>>, answers);
    QFETCH(QStringList, expected);

    const QStringList rates{u"Dolarsatilis"_s, u"Marksatilis"_s, u"Sterlinsatilis"_s, u"Franksatilis"_s};
    for (int i = 0; i < 4; ++i) {
        m_fixture->setBoxText(WindowName::atldendovize, rates[i], QString::number(i + 1));
        m_fixture->setBoxText(WindowName::adovizdentlye, rates[i], u"x"_s);
    }
    m_fixture->services.answers = answers;
    trigger(WindowName::atldendovize, u"mnuOtomatikayarla"_s);

    QCOMPARE(m_fixture->services.prompts.size(), 4);
    const QStringList texts{u"Doların Satılış Fiyatı?"_s, u"Markın Satılış Fiyatı?"_s, u"Sterlinin Satılış Fiyatı?"_s,
                            u"Frankın Satılış Fiyatı?"_s};
    const QStringList titles{u"DOLAR"_s, u"MARK"_s, u"STERLIN"_s, u"FRANK"_s};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(m_fixture->services.prompts[i].text, texts[i]);
        QCOMPARE(m_fixture->services.prompts[i].title, titles[i]);
        QCOMPARE(text(WindowName::atldendovize, rates[i]), expected[i]);
        QCOMPARE(text(WindowName::adovizdentlye, rates[i]), u"x"_s);
        // An answer shows from its start.
        if (answers[i])
            QCOMPARE(m_fixture->control<QLineEdit>(WindowName::atldendovize, rates[i])->cursorPosition(), 0);
    }
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void ConversionMenuTest::helpMessage()
{
    trigger(WindowName::adovizdentlye, u"mnuKullanim"_s);
    const QList<ScriptedServices::Message> &messages = m_fixture->services.messages;
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, u"Kullanım kılavuzu (Yardım.hlp) dosyasıdır."_s);
    QCOMPARE(messages[0].title, u"Nasıl Kullanılır?"_s);
    QCOMPARE(messages[0].icon, varnek::Services::Icon::Warning);
}

void ConversionMenuTest::tileSideBySideFullHeight()
{
    auto *main = static_cast<varnek::MDIForm1 *>(m_fixture->registry.existing(WindowName::MDIForm1));
    window(WindowName::atldendovize)->showNormal();
    window(WindowName::adovizdentlye)->showNormal();
    trigger(WindowName::atldendovize, u"mnuDose"_s);

    const QRect area = main->workspace()->viewport()->rect();
    const QRect a = window(WindowName::atldendovize)->geometry();
    const QRect b = window(WindowName::adovizdentlye)->geometry();
    QCOMPARE(a.top(), 0);
    QCOMPARE(b.top(), 0);
    QCOMPARE(a.height(), area.height());
    QCOMPARE(b.height(), area.height());
    QVERIFY(!a.intersects(b));
    QCOMPARE(std::min(a.left(), b.left()), 0);
    QVERIFY(std::abs(a.width() - b.width()) <= 1);
    QVERIFY(a.width() + b.width() >= area.width() - 1);
    // Each form is resized with its frame: it fills the frame's inside and nothing is cut off.
    for (auto name : {WindowName::atldendovize, WindowName::adovizdentlye}) {
        QMdiSubWindow *child = window(name);
        QCOMPARE(child->widget()->geometry(), child->contentsRect());
    }
}

void ConversionMenuTest::tileAndCascadeLeaveMinimisedWindowsAlone()
{
    window(WindowName::adovizdentlye)->showNormal();
    const QRect minimised = window(WindowName::atldendovize)->geometry();
    for (const QString &item : {u"mnuDose"_s, u"mnuBasamakla"_s}) {
        trigger(WindowName::adovizdentlye, item);
        QVERIFY(window(WindowName::atldendovize)->isMinimized());
        QCOMPARE(window(WindowName::atldendovize)->geometry(), minimised);
    }
}

void ConversionMenuTest::cascadeOffsetsWindows()
{
    window(WindowName::atldendovize)->showNormal();
    window(WindowName::adovizdentlye)->showNormal();
    trigger(WindowName::atldendovize, u"mnuBasamakla"_s);
    const QRect a = window(WindowName::atldendovize)->geometry();
    const QRect b = window(WindowName::adovizdentlye)->geometry();
    QVERIFY(a.topLeft() != b.topLeft());
    QCOMPARE(b.left() - a.left(), b.top() - a.top()); // offset down and to the right alike
    // One title bar's height: what stands above the form inside its frame.
    QCOMPARE(std::abs(b.top() - a.top()), window(WindowName::atldendovize)->widget()->geometry().top());
}

QTEST_MAIN(ConversionMenuTest)
#include "tst_conversionmenu.moc"
