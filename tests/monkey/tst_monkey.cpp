// A seeded random walk over the whole program, as a user with a mouse and a keyboard would take it,
// with the program's invariants checked after every step. VARNEK_MONKEY_SEED and
// VARNEK_MONKEY_STEPS choose the walk; a failure prints the seed, the step and the last actions.

#include "shell/types/errors.h"
#include "rates/rules/ratefile.h"
#include "rates/ratestore.h"
#include "support/windowfixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMap>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;
using varnek::WindowName;

namespace {

struct KnownWindow {
    WindowName name;
    const char16_t *objectName;
    bool child; // of the main window's workspace
};

constexpr KnownWindow knownWindows[] = {
    {WindowName::splash, u"splash", false},
    {WindowName::MDIForm1, u"MDIForm1", false},
    {WindowName::atldendovize, u"atldendovize", true},
    {WindowName::adovizdentlye, u"adovizdentlye", true},
    {WindowName::Form2, u"Form2", false},
    {WindowName::hesapmakinesi, u"hesapmakinesi", false},
    {WindowName::frmAbout, u"frmAbout", false},
    {WindowName::uyari, u"uyari", false},
};
const QString errorTitle = u"Varnek Otomasyon v1.6"_s;

struct OwnMessage {
    QString text;
    QString title;
};

// The messages the program shows besides errors.
const OwnMessage ownMessages[] = {
    {u"Kullanım kılavuzu (Yardım.hlp) dosyasıdır."_s, u"Nasıl Kullanılır?"_s},
    {u"       Varnek Geliştirme Ekibi\n         01.02.2001"_s, u"Hakkında"_s},
    {u"    destek@varnek.example"_s, u"E-mail"_s},
};

// The buttons that end the program; pressed only as the last step.
bool endsTheProgram(const QWidget *w)
{
    const auto *button = qobject_cast<const QAbstractButton *>(w);
    return button && (button->text() == u"Çıkış"_s || button->text() == u"Evet"_s);
}

QByteArray fileState(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists())
        return "(dangling link)";
    if (!info.exists())
        return "(missing)";
    if (info.isDir())
        return "(folder)";
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

class Monkey {
public:
    // Every prompt is answered at random, Cancel included.
    explicit Monkey(quint32 seed) : m_random(seed) { m_fixture.services.answerer = [this] { return answer(); }; }

    // Runs the walk; an empty string when every invariant held.
    QString walk(int steps)
    {
        m_fixture.registry.show(WindowName::splash);
        for (m_step = 1; m_step < steps; ++m_step) {
            step();
            settle();
            if (const QString broken = check(); !broken.isEmpty())
                return failure(broken);
        }
        m_step = steps;
        if (const QString broken = endByButton(); !broken.isEmpty())
            return failure(broken);
        return {};
    }

    // How often each kind of action and message came up; with `verbose`, every control clicked.
    QString figures(bool verbose) const
    {
        QStringList lines;
        for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
            lines << u"  %1: %2"_s.arg(it.key()).arg(it.value());
        lines << u"  prompts answered: %1"_s.arg(m_fixture.services.prompts.size());
        lines << u"  distinct controls clicked: %1"_s.arg(m_hits.size());
        for (auto it = m_hits.cbegin(); verbose && it != m_hits.cend(); ++it)
            lines << u"    %1: %2"_s.arg(it.key()).arg(it.value());
        return lines.join(u'\n');
    }

private:
    QString randomText(int maxLength)
    {
        static const QString alphabet = u"0123456789,.,.+-()&HhOoEe aAzZxçğıİöşüÇĞÖŞÜ₺$€\t\u00a0\u202f\"😀"_s;
        static const QString controls = u"\u0000\u0001\u001b\u007f\u0085\u009d\r\n"_s;
        QString text;
        const int length = int(m_random.bounded(maxLength + 1));
        for (int i = 0; i < length; ++i) {
            const quint32 pick = m_random.bounded(100u);
            if (pick < 40)
                text += QChar(u'0' + m_random.bounded(10));
            else if (pick < 95)
                text += alphabet[m_random.bounded(int(alphabet.size()))];
            else if (pick < 99)
                text += controls[m_random.bounded(int(controls.size()))];
            else
                text += QChar(char16_t(0xD800 + m_random.bounded(0x800))); // a lone surrogate
        }
        return text;
    }

    std::optional<QString> answer()
    {
        if (m_random.bounded(4) == 0)
            return std::nullopt;
        return randomText(12);
    }

    template <typename T>
    T pick(const QList<T> &list)
    {
        return list[m_random.bounded(int(list.size()))];
    }

    // Every window that exists, in a fixed order, so that a seed always takes the same walk.
    QList<QWidget *> windows() const
    {
        QList<QWidget *> list;
        for (const KnownWindow &known : knownWindows)
            if (QWidget *w = m_fixture.registry.existing(known.name))
                list << w;
        return list;
    }

    QList<QWidget *> visibleWidgets() const
    {
        QList<QWidget *> list;
        for (QWidget *w : windows()) {
            if (!w->isWindow() || !w->isVisible())
                continue;
            list << w;
            for (QWidget *child : w->findChildren<QWidget *>())
                if (child->isVisible() && child->isEnabled() && !child->isWindow())
                    list << child;
        }
        return list;
    }

    void note(const QString &what)
    {
        ++m_counts[what.section(u' ', 0, 0)];
        m_log.push_back(u"%1: %2"_s.arg(m_step).arg(what));
        if (m_log.size() > 40)
            m_log.pop_front();
    }

    void step()
    {
        const quint32 roll = m_random.bounded(100u);
        if (roll < 40)
            click();
        else if (roll < 52)
            menuItem();
        else if (roll < 70)
            type();
        else if (roll < 74)
            paste();
        else if (roll < 84)
            enter();
        else if (roll < 89)
            closeWindow();
        else if (roll < 93)
            doubleClickTitle();
        else if (roll < 98)
            key();
        else
            changeRateFile();
    }

    // A click lands on whatever is on top at a random point of a visible control.
    void click()
    {
        const QList<QWidget *> all = visibleWidgets();
        QList<QWidget *> likely;
        for (QWidget *w : all)
            if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w))
                likely << w;
        QWidget *aimed = pick(m_random.bounded(10) < 8 && !likely.isEmpty() ? likely : all);
        const QPoint local(int(m_random.bounded(std::max(1, aimed->width()))),
                           int(m_random.bounded(std::max(1, aimed->height()))));
        QWidget *window = aimed->window();
        const QPoint inWindow = aimed->mapTo(window, local);
        QWidget *hit = window->childAt(inWindow);
        if (!hit)
            hit = window;
        if (endsTheProgram(hit)) {
            note(u"click skipped on %1"_s.arg(hit->objectName()));
            return;
        }
        note(u"click %1/%2 at %3,%4"_s.arg(window->objectName(), hit->objectName()).arg(local.x()).arg(local.y()));
        ++m_hits[window->objectName() + u'/' + hit->objectName() + u'('
                 + QString::fromLatin1(hit->metaObject()->className()) + u')'];
        const std::function<QString()> checkRate = watchRateButton(hit);
        QTest::mouseClick(hit, Qt::LeftButton, Qt::NoModifier, hit->mapFrom(window, inWindow));
        settle();
        if (checkRate)
            m_rateProblem = checkRate();
    }

    void menuItem()
    {
        auto *main = qobject_cast<QMainWindow *>(m_fixture.registry.existing(WindowName::MDIForm1));
        if (!main || !main->isVisible() || !main->menuBar()->isVisible())
            return click();
        QList<QAction *> items;
        for (QAction *menuAction : main->menuBar()->actions())
            if (QMenu *menu = menuAction->menu())
                for (QAction *item : menu->actions())
                    if (item->isEnabled() && item->isVisible() && !item->isSeparator())
                        items << item;
        if (items.isEmpty())
            return click();
        QAction *item = pick(items);
        note(u"menu %1"_s.arg(item->objectName()));
        item->trigger();
    }

    // A visible text box at random, if there is one.
    QWidget *pickBox()
    {
        QList<QWidget *> boxes;
        for (QWidget *w : visibleWidgets())
            if (qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w))
                boxes << w;
        return boxes.isEmpty() ? nullptr : pick(boxes);
    }

    // A visible window at random, if there is one.
    QWidget *pickOpenWindow()
    {
        QList<QWidget *> open;
        for (QWidget *w : windows())
            if (w->isVisible())
                open << w;
        return open.isEmpty() ? nullptr : pick(open);
    }

    void focus(QWidget *box)
    {
        box->window()->activateWindow();
        box->setFocus(Qt::MouseFocusReason);
    }

    void type()
    {
        QWidget *box = pickBox();
        if (!box)
            return click();
        const QString text = randomText(m_random.bounded(20) == 0 ? 200 : 10);
        note(u"type into %1/%2 %3 characters"_s.arg(box->window()->objectName(), box->objectName()).arg(text.size()));
        focus(box);
        // Typed keys carry their text; a control character carries one too and is ignored.
        WindowFixture::type(box, text);
    }

    // The only way for a control character or a line break to reach a box.
    void paste()
    {
        QWidget *box = pickBox();
        if (!box)
            return click();
        const QString text = randomText(m_random.bounded(50) == 0 ? 70000 : 30);
        note(u"paste into %1/%2 %3 characters"_s.arg(box->window()->objectName(), box->objectName()).arg(text.size()));
        QGuiApplication::clipboard()->setText(text);
        focus(box);
        QTest::keySequence(box, QKeySequence::Paste);
    }

    void enter()
    {
        QWidget *box = pickBox();
        if (!box)
            return click();
        note(u"enter in %1/%2"_s.arg(box->window()->objectName(), box->objectName()));
        focus(box);
        QTest::keyClick(box, m_random.bounded(4) == 0 ? Qt::Key_Enter : Qt::Key_Return);
    }

    void closeWindow()
    {
        QWidget *w = pickOpenWindow();
        if (!w)
            return click();
        note(u"close %1"_s.arg(w->objectName()));
        w->close();
    }

    // Restores a minimised conversion window from its title bar.
    void doubleClickTitle()
    {
        QList<QWidget *> children;
        for (const WindowName name : {WindowName::atldendovize, WindowName::adovizdentlye})
            if (QWidget *w = m_fixture.registry.existing(name); w && w->isVisible())
                children << w;
        if (children.isEmpty())
            return click();
        QWidget *child = pick(children);
        note(u"double-click title of %1"_s.arg(child->objectName()));
        QTest::mouseDClick(child, Qt::LeftButton, Qt::NoModifier, QPoint(child->width() / 2, 6));
    }

    void key()
    {
        QWidget *window = pickOpenWindow();
        if (!window)
            return click();
        QWidget *target = window->focusWidget() ? window->focusWidget() : window;
        static constexpr Qt::Key keys[] = {Qt::Key_Tab,   Qt::Key_Backtab,   Qt::Key_Escape,
                                           Qt::Key_Space, Qt::Key_Left,      Qt::Key_Home,
                                           Qt::Key_End,   Qt::Key_Backspace, Qt::Key_Delete};
        const Qt::Key k = keys[m_random.bounded(int(std::size(keys)))];
        if (k == Qt::Key_Space && endsTheProgram(target)) {
            note(u"key skipped on %1"_s.arg(target->objectName()));
            return;
        }
        note(u"key %1 to %2/%3"_s.arg(QKeySequence(k).toString(), window->objectName(), target->objectName()));
        QTest::keyClick(target, k);
    }

    // Not a user action: another program (or the user's file manager) changes a rate file.
    void changeRateFile()
    {
        const varnek::Currency currency = varnek::allCurrencies[m_random.bounded(4)];
        const QString path = varnek::rateFilePath(currency);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (QFileInfo(path).isDir())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
        QByteArray bytes;
        const quint32 kind = m_random.bounded(6u);
        QString what;
        switch (kind) {
        case 0:
            what = u"missing"_s;
            break;
        case 1:
            what = u"folder"_s;
            QDir().mkpath(path);
            break;
        case 2:
            what = u"dangling link"_s;
            QFile::link(path + u".gone"_s, path);
            break;
        case 3:
            what = u"too large"_s;
            bytes = '"' + QByteArray(int(varnek::maxRateFileSize), '7') + "\"\r\n";
            break;
        case 4:
            what = u"random bytes"_s;
            for (int i = int(m_random.bounded(40)); i > 0; --i)
                bytes += char(m_random.bounded(256));
            break;
        default:
            what = u"saved text"_s;
            bytes = "\"1.250,5\"\r\n";
            break;
        }
        if (kind >= 3) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(bytes);
        }
        note(u"file %1 %2"_s.arg(varnek::rateFileName(currency), what));
    }

    // For the rate-entry window's Kaydet and Oku: what the file and the box must be afterwards.
    std::function<QString()> watchRateButton(QWidget *hit)
    {
        struct Row {
            const char16_t *save, *read, *box;
            varnek::Currency currency;
        };
        static constexpr Row rows[] = {{u"Command1", u"Command2", u"Text1", varnek::Currency::Dolar},
                                       {u"Command3", u"Command4", u"Text2", varnek::Currency::Mark},
                                       {u"Command7", u"Command9", u"Text3", varnek::Currency::Sterlin},
                                       {u"Command8", u"Command10", u"Text4", varnek::Currency::Frank}};
        if (hit->window()->objectName() != u"Form2"_s || !qobject_cast<QAbstractButton *>(hit))
            return {};
        for (const Row &row : rows) {
            const bool save = hit->objectName() == QStringView(row.save);
            if (!save && hit->objectName() != QStringView(row.read))
                continue;
            QPointer<QLineEdit> box = m_fixture.control<QLineEdit>(hit->window(), QString::fromUtf16(row.box));
            const QString path = varnek::rateFilePath(row.currency);
            const QByteArray before = fileState(path);
            const QString text = box->text();
            return [=, this]() -> QString {
                const QByteArray after = fileState(path);
                const bool failed = !m_fixture.services.messages.isEmpty();
                if (save) {
                    if (failed)
                        return after == before ? QString() : u"a failed save changed the file"_s;
                    return after == varnek::encodeRateFile(text) ? QString() : u"the saved file is not the box text"_s;
                }
                if (box && box->text() != text) {
                    if (failed)
                        return u"a failed read changed the box"_s;
                    if (box->text() != varnek::decodeRateFile(before))
                        return u"the box is not the file's last field"_s;
                }
                return {};
            };
        }
        return {};
    }

    // What a user waits for: posted events handled, closed windows gone, no popup left open.
    void settle()
    {
        QCoreApplication::processEvents();
        WindowFixture::deleteClosed();
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        QCoreApplication::processEvents();
    }

    QString check()
    {
        if (!m_rateProblem.isEmpty())
            return std::exchange(m_rateProblem, QString());
        for (const ScriptedServices::Message &m : std::as_const(m_fixture.services.messages)) {
            if (QString broken = checkMessage(m); !broken.isEmpty())
                return broken;
            ++m_counts[u"message "_s + m.text.section(u'\n', 0, 0).simplified()];
        }
        m_fixture.services.messages.clear();
        if (m_fixture.services.endRequests != 0)
            return u"the program ended before the last step"_s;

        // Counted on the screen, not asked of the registry, which could have lost one.
        QMap<QString, int> count;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            ++count[w->objectName()];
            for (QMdiSubWindow *child : w->findChildren<QMdiSubWindow *>())
                ++count[child->objectName()];
        }
        for (const KnownWindow &known : knownWindows) {
            const QString name = QString::fromUtf16(known.objectName);
            if (count.value(name) > 1)
                return u"%1 instances of %2"_s.arg(count.value(name)).arg(name);
            QWidget *w = m_fixture.registry.existing(known.name);
            if (bool(w) != (count.value(name) == 1))
                return u"the registry and the screen disagree about %1"_s.arg(name);
            if (w && (w->objectName() != name || w->isWindow() == known.child))
                return u"the registry gives %1 for %2"_s.arg(w->objectName(), name);
        }
        if (!m_fixture.registry.existing(WindowName::splash))
            return u"the splash window is gone"_s;
        return {};
    }

    static QString checkMessage(const ScriptedServices::Message &m)
    {
        for (const OwnMessage &own : ownMessages)
            if (m.text == own.text && m.title == own.title)
                return {};
        using K = varnek::ErrorKind;
        const QStringList lines = m.text.split(u'\n');
        for (const K kind : {K::TypeMismatch, K::DivisionByZero, K::Overflow, K::FileNotFound, K::FileAccess}) {
            if (lines.front() == varnek::errorKindText(kind) && lines.size() <= 2 && m.title == errorTitle
                && m.icon == varnek::Services::Icon::Warning)
                return {};
        }
        return u"unexpected message \"%1\" titled \"%2\""_s.arg(m.text, m.title);
    }

    // The last step: the user leaves by the splash window's Çıkış or the question's Evet.
    QString endByButton()
    {
        QWidget *splash = m_fixture.registry.existing(WindowName::splash);
        QAbstractButton *button = nullptr;
        if (splash && splash->isVisible()) {
            button = m_fixture.control<QAbstractButton>(splash, u"Command2"_s);
        } else {
            QWidget *question = m_fixture.registry.existing(WindowName::uyari);
            if (!question || !question->isVisible()) {
                note(u"close MDIForm1"_s);
                m_fixture.registry.window(WindowName::MDIForm1)->close();
                settle();
            }
            question = m_fixture.registry.existing(WindowName::uyari);
            if (!question || !question->isVisible())
                return u"closing the main window does not ask"_s;
            button = m_fixture.control<QAbstractButton>(question, u"Command1"_s);
        }
        note(u"click %1/%2 (%3)"_s.arg(button->window()->objectName(), button->objectName(), button->text()));
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
        return m_fixture.services.endRequests == 1 ? QString() : u"the last button did not end the program"_s;
    }

    QString failure(const QString &broken) const
    {
        QStringList lines{u"step %1: %2"_s.arg(m_step).arg(broken), u"last actions:"_s};
        for (const QString &line : m_log)
            lines << u"  "_s + line;
        return lines.join(u'\n');
    }

    QRandomGenerator m_random;
    WindowFixture m_fixture; // its messages: those since the last step
    QString m_rateProblem;
    int m_step = 0;
    std::deque<QString> m_log;
    QMap<QString, int> m_counts;
    QMap<QString, int> m_hits;
};

quint32 environmentNumber(const char *name, quint32 fallback)
{
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void walk();

private:
    QTemporaryDir m_home;
};

namespace {

// The offscreen platform says so each time a window is raised or grabs the keyboard.
QtMessageHandler qtTestHandler = nullptr;

void dropPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(u"This plugin does not support"_s))
        return;
    qtTestHandler(type, context, text);
}

} // namespace

void MonkeyTest::initTestCase()
{
    qtTestHandler = qInstallMessageHandler(dropPlatformNotes);
    QVERIFY(m_home.isValid());
    // Test mode puts the rate files under $HOME/.qttest: keep that inside a throwaway folder.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(varnek::rateFilePath(varnek::Currency::Dolar).startsWith(m_home.path()));
}

void MonkeyTest::walk()
{
    const quint32 seed = environmentNumber("VARNEK_MONKEY_SEED", 1254);
    const int steps = int(environmentNumber("VARNEK_MONKEY_STEPS", 3000));
    // The two number formats the program is used with; the seed picks one.
    QLocale::setDefault(seed % 2 ? QLocale(QLocale::English, QLocale::UnitedStates)
                                 : QLocale(QLocale::Turkish, QLocale::Turkey));
    Monkey monkey(seed);
    const QString broken = monkey.walk(steps);
    qInfo().noquote() << u"seed %1, %2 steps, %3 locale:\n%4"_s.arg(seed).arg(steps).arg(
        QLocale().name(), monkey.figures(qEnvironmentVariableIsSet("VARNEK_MONKEY_VERBOSE")));
    QVERIFY2(broken.isEmpty(), qPrintable(u"seed %1, "_s.arg(seed) + broken));
}

QTEST_MAIN(MonkeyTest)
#include "tst_monkey.moc"
