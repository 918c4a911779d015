#include "shell/types/errors.h"
#include "shell/services/catalogues.h"
#include "shell/services/fitting.h"
#include "shell/services/look.h"
#include "shell/services/services.h"
#include "support/tables.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

class ServicesTest : public QObject {
    Q_OBJECT

private slots:
    // As main() does: the buttons' texts come from the catalogues.
    void initTestCase() { varnek::loadCatalogues(); }
    void errorReportNamesTheKind_data();
    void errorReportNamesTheKind();
    void promptAnswers_data();
    void promptAnswers();
    void failedCheckStillClosesTheBox_data();
    void failedCheckStillClosesTheBox();
    void fittingStopsAtItsFloors_data();
    void fittingStopsAtItsFloors();
    void aLargerFontTriesEverySmallerSize_data();
    void aLargerFontTriesEverySmallerSize();
};

namespace {

// Runs `inspect` on the modal box once it is up, then lets the call that opened it return. A
// failed check leaves `inspect` early; the box is closed all the same, or the call would wait
// for ever and the test would end only at its time-out.
void whenModalShows(std::function<void(QWidget *)> inspect)
{
    QTimer::singleShot(0, [inspect = std::move(inspect)] {
        const QPointer<QDialog> modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        const auto closeAnyway = qScopeGuard([&modal] {
            if (modal && modal->isVisible())
                modal->reject();
        });
        QVERIFY(modal);
        inspect(modal);
    });
}

} // namespace

void ServicesTest::errorReportNamesTheKind_data()
{
    QTest::addColumn<varnek::ErrorKind>("kind");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("text");
    using K = varnek::ErrorKind;
    QTest::newRow("type mismatch") << K::TypeMismatch << QString() << u"Tür uyuşmazlığı"_s;
    QTest::newRow("division by zero") << K::DivisionByZero << QString() << u"Sıfıra bölme"_s;
    QTest::newRow("overflow") << K::Overflow << QString() << u"Taşma"_s;
    QTest::newRow("file not found, with its file") << K::FileNotFound << u"C:\\dolarsatilis.txt"_s
                                                   << u"Dosya bulunamadı\nC:\\dolarsatilis.txt"_s;
    QTest::newRow("file access") << K::FileAccess << QString() << u"Dosya erişim hatası"_s;
}

void ServicesTest::errorReportNamesTheKind()
{
    QFETCH(varnek::ErrorKind, kind);
    QFETCH(QString, detail);
    QFETCH(QString, text);

    varnek::QtServices services;
    whenModalShows([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        QCOMPARE(box->text(), text);
        QCOMPARE(box->windowTitle(), u"Varnek Otomasyon v1.6"_s);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->buttons().front()->text(), u"Tamam"_s);
        box->buttons().front()->click();
    });
    services.reportError(varnek::RuntimeError(kind, detail));
}

void ServicesTest::promptAnswers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<std::optional<QString>>("expected");
    QTest::newRow("OK with text") << u"1.250,5"_s << true << std::optional<QString>(u"1.250,5"_s);
    // Longer than a one-line box takes unless told otherwise (32767).
    const QString pasted(40000, u'7');
    QTest::newRow("OK with 40000 characters") << pasted << true << std::optional<QString>(pasted);
    QTest::newRow("OK with nothing") << QString() << true << std::optional<QString>(QString());
    QTest::newRow("Cancel") << u"9"_s << false << std::optional<QString>();
}

void ServicesTest::promptAnswers()
{
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(std::optional<QString>, expected);

    varnek::QtServices services;
    whenModalShows([&](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), u"DOLAR"_s);
        QCOMPARE(dialog->labelText(), u"Doların Satılış Fiyatı?"_s);
        QCOMPARE(dialog->textValue(), QString());
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), u"Tamam"_s);
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), u"İptal"_s);
        dialog->findChild<QLineEdit *>()->setText(typed);
        buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(services.prompt(u"Doların Satılış Fiyatı?"_s, u"DOLAR"_s), expected);
}

void ServicesTest::failedCheckStillClosesTheBox_data()
{
    addFlagRows("prompt", "input prompt", "message box");
}

void ServicesTest::failedCheckStillClosesTheBox()
{
    QFETCH(bool, prompt);

    varnek::QtServices services;
    whenModalShows([](QWidget *) {
        QEXPECT_FAIL("", "a check that fails while the box is up", Abort);
        QVERIFY(false);
    });
    // Reaching the next line at all is the point: the box did not stay open.
    if (prompt)
        QCOMPARE(services.prompt(u"Doların Satılış Fiyatı?"_s, u"DOLAR"_s), std::optional<QString>());
    else
        services.message(u"Taşma"_s, u"Varnek Otomasyon v1.6"_s, varnek::Services::Icon::Warning);
    QVERIFY(!QApplication::activeModalWidget());
}

void ServicesTest::fittingStopsAtItsFloors_data()
{
    QTest::addColumn<bool>("button");
    QTest::addColumn<QString>("ownDescription");

    QTest::newRow("label") << false << QString();
    QTest::newRow("push button") << true << QString();
    QTest::newRow("push button that describes itself") << true << u"Doların Satılış Fiyatı"_s;
}

// A caption that fits at no step stays at the floors, still legible, and tells its whole text
// where the control has no description of its own.
void ServicesTest::fittingStopsAtItsFloors()
{
    QFETCH(bool, button);
    QFETCH(QString, ownDescription);

    QFont font = QApplication::font();
    font.setPointSizeF(9);
    if (QFontInfo(font).pointSizeF() != 9)
        QSKIP("No usable font: no text can be measured, nor made to fit.");
    QWidget window;
    const QString text = u"Tüm Girdileri Sil"_s;
    QWidget *control = button ? static_cast<QWidget *>(new QPushButton(text, &window)) : new QLabel(text, &window);
    varnek::setFixedFont(control, font);
    control->setGeometry(0, 0, 4, 4);
    control->setAccessibleDescription(ownDescription);
    varnek::fitToDesktop(&window);

    QCOMPARE(control->font().pointSizeF(), 6);
    QCOMPARE(control->font().stretch(), 80);
    QCOMPARE(control->toolTip(), text);
    QCOMPARE(control->accessibleDescription(), ownDescription.isEmpty() ? text : ownDescription);
}

void ServicesTest::aLargerFontTriesEverySmallerSize_data()
{
    QTest::addColumn<qreal>("smaller");
    QTest::addColumn<qreal>("larger");
    QTest::newRow("9 and 10.25") << 9.0 << 10.25;
    QTest::newRow("10 and 10.25") << 10.0 << 10.25;
    QTest::newRow("11.25 and 14.75") << 11.25 << 14.75;
}

// What lets a larger desktop font never give a caption a smaller size: every size a smaller start
// tries below itself, a larger start tries too.
void ServicesTest::aLargerFontTriesEverySmallerSize()
{
    QFETCH(qreal, smaller);
    QFETCH(qreal, larger);
    const auto sizes = [](qreal points) {
        QFont font = QApplication::font();
        font.setPointSizeF(points);
        QList<qreal> tried;
        for (const QFont &step : varnek::fittingOrder(font))
            tried << step.pointSizeF();
        return tried;
    };
    if (QFontInfo(QApplication::font()).pointSizeF() <= 0)
        QSKIP("No usable font: no text can be measured, nor made to fit.");
    const QList<qreal> larger_ = sizes(larger);
    for (qreal size : sizes(smaller)) {
        if (size < smaller)
            QVERIFY2(larger_.contains(size), qPrintable(u"%1 pt"_s.arg(size)));
    }
}

QTEST_MAIN(ServicesTest)
#include "tst_services.moc"
