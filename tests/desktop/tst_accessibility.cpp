#include "rates/ratestore.h"
#include "shell/services/accessibility.h"
#include "shell/services/contrast.h"
#include "support/accessibilityevents.h"
#include "support/tables.h"
#include "support/windowfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QHash>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionFrame>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using varnek::WindowName;

namespace {

QAccessibleInterface *accessibleOf(QObject *object) { return QAccessible::queryAccessibleInterface(object); }

void collect(QAccessibleInterface *root, QList<QAccessibleInterface *> &found)
{
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface *child = root->child(i)) {
            found.append(child);
            collect(child, found);
        }
    }
}

// Something the user acts on: it takes the focus or can be pressed, shown or changed.
bool isControl(QAccessibleInterface *item)
{
    if (item->state().focusable)
        return true;
    const QAccessibleActionInterface *actions = item->actionInterface();
    if (!actions)
        return false;
    const QStringList names = actions->actionNames();
    return std::any_of(names.begin(), names.end(),
                       [](const QString &name) { return name != QAccessibleActionInterface::setFocusAction(); });
}

// The window a control is one of: its top-level window, or the conversion window it lies in.
const QObject *documentOf(QAccessibleInterface *item)
{
    const QObject *object = item->object();
    const auto *widget = qobject_cast<const QWidget *>(object);
    for (; widget; widget = widget->parentWidget())
        if (widget->isWindow() || qobject_cast<const QMdiSubWindow *>(widget))
            return widget;
    return object;
}

QString describe(QAccessibleInterface *item)
{
    const QObject *object = item->object();
    return u"%1 %2 (role %3)"_s.arg(object ? QString::fromLatin1(object->metaObject()->className()) : u"?"_s,
                                    object ? object->objectName() : QString())
        .arg(int(item->role()), 0, 16);
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowsHaveTitlesAndRoles_data();
    void windowsHaveTitlesAndRoles();
    void everyControlHasANameOfItsOwnAndARole_data();
    void everyControlHasANameOfItsOwnAndARole();
    void boxesAreAnnouncedWithTheirLabels_data();
    void boxesAreAnnouncedWithTheirLabels();
    void boxesReadTheirNumberWhole_data();
    void boxesReadTheirNumberWhole();
    void calculatorLabelsAndPicturesAreButtons_data();
    void calculatorLabelsAndPicturesAreButtons();
    void pressActionCalculates_data();
    void pressActionCalculates();
    void pressActionOnPictures_data();
    void pressActionOnPictures();
    void contrastArithmetic_data();
    void contrastArithmetic();
    void textsStandOutFromWhatIsBehindThem_data();
    void textsStandOutFromWhatIsBehindThem();
    void everyBoxShowsTheKeyboard_data();
    void everyBoxShowsTheKeyboard();
    void whatWasDoneIsTold_data();
    void whatWasDoneIsTold();

private:
    static void windows();
    QAccessibleInterface *control(WindowName window, const QString &name);
    // A conversion window restored in the main window, any other shown.
    void open(WindowName window)
    {
        if (window == WindowName::atldendovize || window == WindowName::adovizdentlye)
            m_fixture->registry.setChildState(window, Qt::WindowNoState);
        else
            m_fixture->registry.show(window);
    }

    std::optional<WindowFixture> m_fixture;
    const QPalette m_desktopPalette = QApplication::palette();
};

void AccessibilityTest::initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

void AccessibilityTest::init() { m_fixture.emplace(); }

void AccessibilityTest::cleanup() { m_fixture.reset(); QApplication::setPalette(m_desktopPalette); }

QAccessibleInterface *AccessibilityTest::control(WindowName window, const QString &name)
{
    return accessibleOf(m_fixture->control<QWidget>(m_fixture->registry.window(window), name));
}

void AccessibilityTest::windows()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<bool>("restored"); // a conversion window, brought out of its start-up state
    QTest::addColumn<QString>("description");

    QTest::newRow("splash") << WindowName::splash << u"Varnek"_s << QAccessible::Window << false << QString();
    // The main window's and the About window's titles carry the version the build is made as.
    QTest::newRow("main window") << WindowName::MDIForm1 << u"Varnek Otomasyon v"_s + QStringLiteral(VARNEK_VERSION)
                                 << QAccessible::Window << false << QString();
    // Qt has no minimised state to expose: the description says it.
    QTest::newRow("TL to currency, minimised at start")
        << WindowName::atldendovize << u"[ TL->Döviz ]"_s << QAccessible::Window << false << u"Simge durumunda"_s;
    QTest::newRow("currency to TL, minimised at start")
        << WindowName::adovizdentlye << u"[ Döviz->TL ]"_s << QAccessible::Window << false << u"Simge durumunda"_s;
    QTest::newRow("TL to currency, restored")
        << WindowName::atldendovize << u"[ TL->Döviz ]"_s << QAccessible::Window << true << QString();
    QTest::newRow("currency to TL, restored")
        << WindowName::adovizdentlye << u"[ Döviz->TL ]"_s << QAccessible::Window << true << QString();
    QTest::newRow("rate entry") << WindowName::Form2 << u"Elle Ayarla"_s << QAccessible::Dialog << false << QString();
    QTest::newRow("calculator") << WindowName::hesapmakinesi << u"Hesap Makinesi"_s << QAccessible::Dialog << false
                                << QString();
    QTest::newRow("about") << WindowName::frmAbout
                           << u"Varnek Version "_s + QStringLiteral(VARNEK_VERSION) + u" Hakkında"_s << QAccessible::Dialog
                           << false << QString();
    QTest::newRow("exit question") << WindowName::uyari << u"Dikkat!"_s << QAccessible::Dialog << false << QString();
}

void AccessibilityTest::windowsHaveTitlesAndRoles_data() { windows(); }

void AccessibilityTest::windowsHaveTitlesAndRoles()
{
    QFETCH(WindowName, window);
    QFETCH(QString, title);
    QFETCH(QAccessible::Role, role);
    QFETCH(bool, restored);
    QFETCH(QString, description);
    if (restored)
        m_fixture->registry.setChildState(window, Qt::WindowNoState);

    QAccessibleInterface *item = accessibleOf(m_fixture->registry.window(window));
    QVERIFY(item);
    QCOMPARE(item->text(QAccessible::Name), title);
    QCOMPARE(item->role(), role);
    QCOMPARE(item->text(QAccessible::Description), description);
}

void AccessibilityTest::everyControlHasANameOfItsOwnAndARole_data() { windows(); }

// Where rows repeat (four amount boxes, four Kaydet buttons), a list of the window's fields must not
// show the same name twice, and the name is what a screen reader surely reads.
void AccessibilityTest::everyControlHasANameOfItsOwnAndARole()
{
    QFETCH(WindowName, window);
    QFETCH(bool, restored);
    m_fixture->registry.show(window);
    if (restored)
        m_fixture->registry.setChildState(window, Qt::WindowNoState);

    QList<QAccessibleInterface *> items;
    collect(accessibleOf(m_fixture->registry.window(window)), items);
    QStringList faults;
    int controls = 0;
    QHash<std::pair<const QObject *, QString>, QAccessibleInterface *> named;
    for (QAccessibleInterface *item : items) {
        // A box's own scroll bars are announced as part of the box.
        if (!isControl(item) || item->role() == QAccessible::ScrollBar)
            continue;
        ++controls;
        const QString name = item->text(QAccessible::Name).trimmed();
        if (name.isEmpty())
            faults << u"no name: "_s + describe(item);
        else if (QAccessibleInterface *other = named.value({documentOf(item), name}))
            faults << u"\"%1\" twice: %2 and %3"_s.arg(name, describe(other), describe(item));
        else
            named.insert({documentOf(item), name}, item);
        // A bare pane that takes the focus tells the user nothing of what it does.
        if (item->role() == QAccessible::Client || item->role() == QAccessible::NoRole)
            faults << u"no role: "_s + describe(item);
    }
    QVERIFY(controls > 0);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; ")));
}

void AccessibilityTest::boxesAreAnnouncedWithTheirLabels_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("label"); // empty: no caption labels it, the name being what is read
    QTest::addColumn<QString>("name");

    const auto tl = WindowName::atldendovize;
    const auto currency = WindowName::adovizdentlye;
    // Where a caption stands on several rows, the row's currency is part of the name, and the caption
    // labels none of them: screen readers read a box's label in place of its name.
    QTest::newRow("TL to currency, dollar rate") << tl << u"Dolarsatilis"_s << u"Label1"_s << u"Doların Satılış Fiyatı"_s;
    QTest::newRow("TL to currency, dollar amount") << tl << u"Paramiktari"_s << QString() << u"Para Miktarı: (TL), Dolar"_s;
    QTest::newRow("TL to currency, dollar result") << tl << u"Sonucdolar"_s << u"Label5"_s << u"Sonuç: (Dolar)"_s;
    QTest::newRow("TL to currency, franc amount shares its label")
        << tl << u"Paramiktari4"_s << QString() << u"Para Miktarı: (TL), Frank"_s;
    QTest::newRow("TL to currency, sterling result") << tl << u"Sonucsterlin"_s << u"Label9"_s << u"Sonuç: (Sterlin)"_s;
    QTest::newRow("currency to TL, mark rate") << currency << u"Marksatilis"_s << u"Label3"_s << u"Markın Satılış Fiyatı"_s;
    QTest::newRow("currency to TL, sterling amount") << currency << u"Paramiktari3"_s << u"Label8"_s << u"Sterlin Miktarı"_s;
    QTest::newRow("currency to TL, dollar result shares its label")
        << currency << u"Sonucdolar"_s << QString() << u"Sonuç: (TL), Dolar"_s;
    QTest::newRow("currency to TL, franc result") << currency << u"Sonucfrank"_s << QString() << u"Sonuç: (TL), Frank"_s;
    QTest::newRow("rate entry, dollar") << WindowName::Form2 << u"Text1"_s << u"Label1"_s << u"Dolar Satılış Fiyatı"_s;
    QTest::newRow("rate entry, franc") << WindowName::Form2 << u"Text4"_s << u"Label4"_s << u"Frank Satılış Fiyatı"_s;
    QTest::newRow("calculator, first number") << WindowName::hesapmakinesi << u"Sayibir"_s << u"Label5"_s << u"1.Sayı"_s;
    QTest::newRow("calculator, result") << WindowName::hesapmakinesi << u"Sonuc"_s << u"Label7"_s << u"Sonuç"_s;
}

void AccessibilityTest::boxesAreAnnouncedWithTheirLabels()
{
    QFETCH(WindowName, window);
    QFETCH(QString, box);
    QFETCH(QString, label);
    QFETCH(QString, name);

    QAccessibleInterface *item = control(window, box);
    QVERIFY(item);
    QCOMPARE(item->role(), QAccessible::EditableText);
    QCOMPARE(item->text(QAccessible::Name), name);
    QCOMPARE(item->text(QAccessible::Description), QString());
    // Screen readers also follow the label relation from the box to the label on the screen (and
    // to a surrounding frame's title).
    QStringList labels;
    for (const auto &relation : item->relations(QAccessible::Label))
        if (qobject_cast<const QLabel *>(relation.first->object()))
            labels << relation.first->object()->objectName();
    QCOMPARE(labels, label.isEmpty() ? QStringList() : QStringList{label});
}

void AccessibilityTest::boxesReadTheirNumberWhole_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("boundary"); // QAccessible::TextBoundaryType
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("read");

    const auto tl = WindowName::atldendovize;
    const int line = QAccessible::LineBoundary, word = QAccessible::WordBoundary;
    QTest::newRow("result wrapped on screen, its line") << tl << u"Sonucdolar"_s << u"25,974025974026"_s << line << 0
                                                        << u"25,974025974026"_s;
    QTest::newRow("result wrapped on screen, its last line")
        << tl << u"Sonucmark"_s << u"123456789012345678901"_s << line << 20 << u"123456789012345678901"_s;
    QTest::newRow("result wrapped on screen, a word") << tl << u"Sonucdolar"_s << u"29761,916666666667"_s << word << 3
                                                      << u"29761,916666666667"_s;
    QTest::newRow("result cut, a word across its exponent")
        << WindowName::hesapmakinesi << u"Sonuc"_s << u"9,99999998E+17"_s << word << 11 << u"9,99999998E+17"_s;
    QTest::newRow("one-line box, the word after a blank")
        << WindowName::Form2 << u"Text1"_s << u"12 345"_s << word << 4 << u"345"_s;
    QTest::newRow("one-line box, its line") << WindowName::Form2 << u"Text1"_s << u"38,5"_s << line << 4 << u"38,5"_s;
}

// What a screen reader reads of a box is the number it holds, whatever part of it the box shows, with
// one run of text attributes over all of it (Orca reads a run's text, and ends it where the run ends).
void AccessibilityTest::boxesReadTheirNumberWhole()
{
    QFETCH(WindowName, window);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(int, boundary);
    QFETCH(int, offset);
    QFETCH(QString, read);
    open(window);
    QVERIFY(QTest::qWaitForWindowExposed(m_fixture->registry.window(window)));
    m_fixture->setBoxText(window, box, text);

    QAccessibleTextInterface *item = control(window, box)->textInterface();
    QVERIFY(item);
    int start = -1, end = -1;
    QCOMPARE(item->textAtOffset(offset, QAccessible::TextBoundaryType(boundary), &start, &end), read);
    QCOMPARE(item->text(start, end), read);
    for (int at = 0; at < text.size(); ++at) {
        item->attributes(at, &start, &end);
        QVERIFY2(start <= at && end == text.size(), qPrintable(u"attributes at %1 run %2-%3"_s.arg(at).arg(start).arg(end)));
    }
}

void AccessibilityTest::calculatorLabelsAndPicturesAreButtons_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("keys");

    for (const CalculatorOperation &operation : calculatorOperations) {
        QTest::newRow(operation.caption) << QString::fromUtf8(operation.label) << QString::fromUtf8(operation.caption)
                                         << QString::fromUtf8(operation.keys);
    }
    QTest::newRow("signature picture") << u"Picture1"_s << u"Hakkında"_s << QString();
    QTest::newRow("e-mail picture") << u"Picture2"_s << u"E-posta"_s << QString();
    QTest::newRow("closing picture") << u"Picture3"_s << u"Kapat"_s << QString();
}

void AccessibilityTest::calculatorLabelsAndPicturesAreButtons()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, keys);

    QAccessibleInterface *item = this->control(WindowName::hesapmakinesi, control);
    QVERIFY(item);
    QCOMPARE(item->role(), QAccessible::Button);
    QCOMPARE(item->text(QAccessible::Name), name);
    QAccessibleActionInterface *actions = item->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    // AT-SPI hands on the first binding, or none; Qt's buttons list an empty one for no shortcut.
    QCOMPARE(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()).value(0), keys);
    // They stay out of the tab order, as the window's layout has it.
    QVERIFY(!item->state().focusable);
}

void AccessibilityTest::pressActionCalculates_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("result");

    for (const CalculatorOperation &operation : calculatorOperations)
        QTest::newRow(operation.caption) << QString::fromUtf8(operation.label) << QString::fromUtf8(operation.resultOf7And2);
}

void AccessibilityTest::pressActionCalculates()
{
    QFETCH(QString, operation);
    QFETCH(QString, result);
    m_fixture->registry.show(WindowName::hesapmakinesi);
    m_fixture->setBoxText(WindowName::hesapmakinesi, u"Sayibir"_s, u"7"_s);
    m_fixture->setBoxText(WindowName::hesapmakinesi, u"Sayiiki"_s, u"2"_s);

    control(WindowName::hesapmakinesi, operation)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());

    // Pressed through its action, a button shows itself held down a moment before it clicks.
    QTRY_COMPARE(m_fixture->boxText(WindowName::hesapmakinesi, u"Sonuc"_s), result);
    QVERIFY(m_fixture->services.messages.isEmpty());
}

void AccessibilityTest::pressActionOnPictures_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("messageTitle"); // empty: the window closes

    QTest::newRow("signature") << u"Picture1"_s << u"Hakkında"_s;
    QTest::newRow("e-mail") << u"Picture2"_s << u"E-mail"_s;
    QTest::newRow("close") << u"Picture3"_s << QString();
}

void AccessibilityTest::pressActionOnPictures()
{
    QFETCH(QString, picture);
    QFETCH(QString, messageTitle);
    m_fixture->registry.show(WindowName::hesapmakinesi);
    QPointer<QWidget> calculator = m_fixture->registry.window(WindowName::hesapmakinesi);

    control(WindowName::hesapmakinesi, picture)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());

    if (messageTitle.isEmpty()) {
        QTRY_VERIFY(!calculator);
        QVERIFY(m_fixture->services.messages.isEmpty());
    } else {
        QTRY_COMPARE(m_fixture->services.messages.size(), 1);
        QCOMPARE(m_fixture->services.messages.front().title, messageTitle);
        QVERIFY(calculator && calculator->isVisible());
    }
}

void AccessibilityTest::contrastArithmetic_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<qreal>("ratio");

    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
    QTest::newRow("#767676 on white") << QColor(0x767676) << QColor(Qt::white) << 4.54;
    QTest::newRow("same colour") << QColor(0x424245) << QColor(0x424245) << 1.0;
}

// The yardsticks the contrast table below measures with, against known values.
void AccessibilityTest::contrastArithmetic()
{
    using namespace varnek;
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QFETCH(qreal, ratio);

    QCOMPARE(qRound(contrastRatio(relativeLuminance(text), relativeLuminance(background)) * 100), qRound(ratio * 100));
    // Half black, half white, wider than high: the mean over the whole of it, and over each half.
    QImage picture(40, 10, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter(&picture).fillRect(20, 0, 20, 10, Qt::white);
    QCOMPARE(meanLuminance(picture, QRectF(0, 0, 40, 10)), 0.5);
    QCOMPARE(meanLuminance(picture, QRectF(20, 0, 20, 10)), 1.0);
    QCOMPARE(meanLuminance(picture, QRectF(0, 0, 20, 10)), 0.0);
}

void AccessibilityTest::textsStandOutFromWhatIsBehindThem_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<bool>("light");
    QTest::addColumn<WindowName>("window");
    const std::pair<const char *, WindowName> windows[] = {{"calculator", WindowName::hesapmakinesi},
        {"about", WindowName::frmAbout}, {"tl->currency", WindowName::atldendovize},
        {"currency->tl", WindowName::adovizdentlye}, {"rate entry", WindowName::Form2}};
    for (const auto &[paletteName, palette] : desktopPalettes()) {
        for (const auto &[windowName, window] : windows)
            QTest::addRow("%s, %s", paletteName, windowName) << palette << (qstrcmp(paletteName, "light") == 0)
                                                             << window;
    }
}

// Every caption and box text against what its window paints beneath it (a picture by its mean), at
// 4.5:1; outlines, and frames where a box's own background does not show it, at 3:1 where the
// window fixes what lies behind the box, else 1.8:1, as the plain light desktop draws them.
void AccessibilityTest::textsStandOutFromWhatIsBehindThem()
{
    using namespace varnek;
    QFETCH(QPalette, palette);
    QFETCH(bool, light);
    QFETCH(WindowName, window);
    QApplication::setPalette(palette);
    m_fixture->registry.show(window);
    QWidget *shown = m_fixture->registry.window(window);
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    // The desktop's boxes are the rate entry's; the others lie where the program fixes the colours.
    const qreal boxEdge = window == WindowName::Form2 ? 1.8 : 3.0;

    QStringList faults;
    int checked = 0;
    const auto check = [&](const QWidget *widget, const char *what, const QColor &colour, qreal behind, qreal least) {
        ++checked;
        if (const qreal ratio = contrastRatio(relativeLuminance(colour), behind); ratio < least)
            faults << u"%1 %2 at %3:1"_s.arg(widget->objectName(), QLatin1StringView(what)).arg(ratio, 0, 'f', 2);
    };
    for (QWidget *widget : shown->findChildren<QWidget *>()) {
        // What the parent paints beneath the widget, its children left out.
        QImage beneath(widget->parentWidget()->size(), QImage::Format_RGB32);
        widget->parentWidget()->render(&beneath, {}, {}, QWidget::DrawWindowBackground);
        const qreal behind = meanLuminance(beneath, widget->geometry());
        const QPalette &own = widget->palette();
        const bool captioned = widget->inherits("QLabel") || widget->property("flat").toBool();
        if (captioned && !widget->property("text").toString().isEmpty()) {
            const bool filled = widget->autoFillBackground();
            check(widget, "text", own.color(widget->foregroundRole()),
                  filled ? relativeLuminance(own.color(widget->backgroundRole())) : behind, 4.5);
        } else if (widget->inherits("QLineEdit") || widget->inherits("QPlainTextEdit")) {
            const qreal base = relativeLuminance(own.color(QPalette::Base));
            check(widget, "text", own.color(QPalette::Text), base, 4.5);
            if (light) {
                ++checked;
                if (own.color(QPalette::Highlight) != palette.color(QPalette::Highlight)
                    || own.color(QPalette::HighlightedText) != palette.color(QPalette::HighlightedText))
                    faults << widget->objectName() + u" selection not the desktop's"_s;
            } else {
                check(widget, "selected text", own.color(QPalette::HighlightedText),
                      relativeLuminance(own.color(QPalette::Highlight)), 4.5);
            }
            const QColor frame = widget->grab().toImage().pixelColor(0, widget->height() / 2); // as the style draws it
            if (contrastRatio(base, behind) < boxEdge) {
                check(widget, "frame", frame, behind, boxEdge);
                // As the style draws a box that has the keyboard: a result box as a one-line box.
                if (boxEdge >= 3.0) {
                    QStyleOptionFrame option;
                    option.initFrom(widget);
                    option.lineWidth = 1;
                    option.state |= QStyle::State_HasFocus | QStyle::State_Sunken;
                    QImage focused(widget->size(), QImage::Format_RGB32);
                    focused.fill(own.color(QPalette::Base));
                    QPainter painter(&focused);
                    widget->style()->drawPrimitive(QStyle::PE_FrameLineEdit, &option, &painter, widget);
                    painter.end();
                    check(widget, "frame with the keyboard", focused.pixelColor(0, widget->height() / 2), behind, 3.0);
                }
            }
        } else if (widget->objectName() == u"Shape1"_s) {
            check(widget, "outline", own.color(QPalette::WindowText), behind, 3.0);
        }
    }
    QVERIFY(checked > 0);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; ")));
}

void AccessibilityTest::everyBoxShowsTheKeyboard_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QString>("box");

    QTest::newRow("TL to currency, rate box") << WindowName::atldendovize << u"Dolarsatilis"_s;
    QTest::newRow("TL to currency, result box") << WindowName::atldendovize << u"Sonucdolar"_s;
    QTest::newRow("currency to TL, result box") << WindowName::adovizdentlye << u"Sonucfrank"_s;
    QTest::newRow("calculator, result box") << WindowName::hesapmakinesi << u"Sonuc"_s;
}

// A sighted keyboard user finds the box that has the keyboard by its frame, a result box too.
void AccessibilityTest::everyBoxShowsTheKeyboard()
{
    QFETCH(WindowName, window);
    QFETCH(QString, box);
    open(window);
    auto *control = m_fixture->control<QWidget>(window, box);
    QVERIFY(QTest::qWaitForWindowActive(control->window()));
    control->clearFocus();
    QTRY_VERIFY(!control->hasFocus());
    const QImage without = control->grab().toImage();
    control->setFocus();
    QTRY_VERIFY(control->hasFocus());
    const QImage with = control->grab().toImage();

    // The frame: its left and top edges, away from the corners.
    int changed = 0;
    for (int y = without.height() / 4; y < without.height() * 3 / 4; ++y)
        changed += without.pixel(0, y) != with.pixel(0, y);
    for (int x = without.width() / 4; x < without.width() * 3 / 4; ++x)
        changed += without.pixel(x, 0) != with.pixel(x, 0);
    QVERIFY2(changed > 0, "the frame looks the same with the keyboard as without");
}

void AccessibilityTest::whatWasDoneIsTold_data()
{
    QTest::addColumn<WindowName>("window");
    QTest::addColumn<QStringList>("texts"); // box, text, box, text...
    QTest::addColumn<QString>("file");      // the dollar rate file's bytes; none if null
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QKeyCombination>("command");
    QTest::addColumn<QString>("told"); // empty: a failure, told by its message box alone

    const auto rates = WindowName::Form2;
    const QStringList dollar{u"Text1"_s, u"38,5"_s};
    const auto space = QKeyCombination(Qt::Key_Space);
    QTest::newRow("TL to currency, Enter in the dollar amount")
        << WindowName::atldendovize << QStringList{u"Dolarsatilis"_s, u"38,5"_s, u"Paramiktari"_s, u"1000"_s} << QString()
        << u"Paramiktari"_s << QKeyCombination(Qt::Key_Return) << u"Sonuç, Dolar: 25,974025974026"_s;
    QTest::newRow("currency to TL, Enter in the franc amount")
        << WindowName::adovizdentlye << QStringList{u"Franksatilis"_s, u"30,5"_s, u"Paramiktari4"_s, u"2"_s} << QString()
        << u"Paramiktari4"_s << QKeyCombination(Qt::Key_Return) << u"Sonuç, Frank: 61"_s;
    QTest::newRow("TL to currency, a rate that is no number")
        << WindowName::atldendovize << QStringList{u"Dolarsatilis"_s, u"x"_s, u"Paramiktari"_s, u"1000"_s} << QString()
        << u"Paramiktari"_s << QKeyCombination(Qt::Key_Return) << QString();
    QTest::newRow("calculator, Alt+T in the second number")
        << WindowName::hesapmakinesi << QStringList{u"Sayibir"_s, u"7"_s, u"Sayiiki"_s, u"2"_s} << QString() << u"Sayiiki"_s
        << QKeyCombination(Qt::AltModifier, Qt::Key_T) << u"Sonuç: 9"_s;
    QTest::newRow("calculator, Alt+B in the result box")
        << WindowName::hesapmakinesi << QStringList{u"Sayibir"_s, u"7"_s, u"Sayiiki"_s, u"2"_s} << QString() << u"Sonuc"_s
        << QKeyCombination(Qt::AltModifier, Qt::Key_B) << u"Sonuç: 3,5"_s;
    QTest::newRow("rate entry, Kaydet") << rates << dollar << QString() << u"Command1"_s << space << u"Dolar kaydedildi"_s;
    QTest::newRow("rate entry, Oku") << rates << QStringList() << u"38,5"_s << u"Command2"_s << space
                                     << u"Dolar okundu: 38,5"_s;
    QTest::newRow("rate entry, Oku of an empty file")
        << rates << dollar << u""_s << u"Command2"_s << space << u"Dolar: dosya boş, kutu değişmedi"_s;
    QTest::newRow("rate entry, Oku without a file") << rates << dollar << QString() << u"Command2"_s << space << QString();
    QTest::newRow("rate entry, Sil") << rates << dollar << QString() << u"Command15"_s << space << u"Dolar silindi"_s;
    QTest::newRow("rate entry, Tüm Girdileri Sil")
        << rates << dollar << QString() << u"Command19"_s << space << u"Tüm girdiler silindi"_s;
    QTest::newRow("rate entry, Tabloya Yapıştır")
        << rates << dollar << QString() << u"Command5"_s << space << u"Kurlar iki çevirme penceresine yapıştırıldı"_s;
}

// A result, or what a button did, is told to a screen reader once, through a notification that
// shows nothing, while the keyboard stays where it was and no control keeps the text to be read
// out again later.
void AccessibilityTest::whatWasDoneIsTold()
{
    QFETCH(WindowName, window);
    QFETCH(QStringList, texts);
    QFETCH(QString, file);
    QFETCH(QString, focus);
    QFETCH(QKeyCombination, command);
    QFETCH(QString, told);
    AccessibilityEvents reports;
    // Offscreen Qt reports nothing; the reports are checked on X (accessibility_events_under_window_manager).
    const bool listening = AccessibilityEvents::listening();
    QVERIFY2(listening || !AccessibilityEvents::required(), "no accessibility events reach the test");
    const QString path = varnek::rateFilePath(varnek::Currency::Dolar);
    QFile::remove(path);
    if (!file.isEmpty())
        varnek::saveRate(path, file);
    else if (!file.isNull())
        QVERIFY(QDir().mkpath(QFileInfo(path).path()) && QFile(path).open(QIODevice::WriteOnly));
    open(window);
    for (qsizetype i = 0; i + 1 < texts.size(); i += 2)
        m_fixture->setBoxText(window, texts[i], texts[i + 1]);
    auto *control = m_fixture->control<QWidget>(window, focus);
    QVERIFY(QTest::qWaitForWindowActive(control->window()));
    control->setFocus();
    QTRY_VERIFY(control->hasFocus());
    const QString own = control->accessibleDescription();

    QTest::keyClick(control, command.key(), command.keyboardModifiers());
    QCOMPARE(QApplication::focusWidget(), control);
    QCOMPARE(control->accessibleDescription(), own);
    QCOMPARE(m_fixture->services.messages.isEmpty(), !told.isEmpty());
    auto *notice = control->window()->findChild<QWidget *>(QString::fromUtf16(varnek::noticeName), Qt::FindDirectChildrenOnly);
    QCOMPARE(notice ? notice->accessibleName() : QString(), told);
    if (told.isEmpty())
        return;
    QCOMPARE(accessibleOf(notice)->role(), QAccessible::Notification);
    const auto shown = reports.ofType(QAccessible::ObjectShow);
    QVERIFY2(!listening || std::any_of(shown.begin(), shown.end(), [&](const AccessibilityEvents::Event *event) {
                 return event->object == notice && event->name == told;
             }), "the notice was not reported shown");
    // Nothing on screen, and nothing to hear again later.
    QCOMPARE(notice->size(), QSize(0, 0));
    QVERIFY(notice->focusPolicy() == Qt::NoFocus);
    QTRY_VERIFY(notice->isHidden());
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
