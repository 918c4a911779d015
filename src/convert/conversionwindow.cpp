#include "convert/conversionwindow.h"

#include "assets/assets.h"
#include "convert/conversionmenu.h"
#include "convert/rules/numberrules.h"
#include "shell/services/accessibility.h"
#include "shell/services/guard.h"
#include "shell/services/layout.h"
#include "shell/services/look.h"
#include "shell/services/widgets.h"
#include "shell/services/windowhub.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

#include <type_traits>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

// A caption as it stands in each of the twins, TL-to-currency first.
struct LabelSpec {
    const char16_t *name;
    int left;
    int top;
    std::array<int, 2> width;
    std::array<const char16_t *, 2> text;
};

// A box; its designer name comes from the currency table.
struct BoxSpec {
    Twips geometry;
    std::array<int, 2> tab;
};

// One currency's row as the form lays it out: three captions above three boxes.
struct RowSpec {
    Currency currency;
    LabelSpec rateLabel, amountLabel, resultLabel;
    BoxSpec rate, amount, result;
};

constexpr RowSpec rowSpecs[] = {
    {Currency::Dolar,
     {u"Label1", 360, 240, {1575, 1575}, {u"Doların Satılış Fiyatı:", u"Doların Satılış Fiyatı:"}},
     {u"Label2", 360, 840, {1455, 1455}, {u"Para Miktarı: (TL)", u"Dolar Miktarı:"}},
     {u"Label5", 1920, 240, {1215, 1215}, {u"Sonuç: (Dolar)", u"Sonuç: (TL)"}},
     {{360, 480, 1335, 285}, {0, 6}},
     {{360, 1080, 1335, 285}, {1, 7}},
     {{1920, 480, 1215, 855}, {2, 10}}},
    {Currency::Mark,
     {u"Label3", 360, 1560, {1455, 1455}, {u"Markın Satılış Fiyatı:", u"Markın Satılış Fiyatı:"}},
     {u"Label4", 360, 2160, {1455, 1455}, {u"Para Miktarı: (TL)", u"Mark Miktarı:"}},
     {u"Label6", 1920, 1560, {1215, 1215}, {u"Sonuç: (Mark)", u"Sonuç: (TL)"}},
     {{360, 1800, 1335, 285}, {3, 8}},
     {{360, 2400, 1335, 285}, {4, 9}},
     {{1920, 1800, 1215, 855}, {5, 11}}},
    {Currency::Sterlin,
     {u"Label7", 360, 2880, {1455, 1455}, {u"Sterlinin Satılış Fiyatı:", u"Sterlinin Satılış Fiyatı:"}},
     {u"Label8", 360, 3480, {1455, 1455}, {u"Para Miktarı: (TL)", u"Sterlin Miktarı:"}},
     {u"Label9", 1920, 2880, {1455, 1335}, {u"Sonuç: (Sterlin)", u"Sonuç: (TL)"}},
     {{360, 3120, 1335, 285}, {6, 4}},
     {{360, 3720, 1335, 285}, {7, 3}},
     {{1920, 3120, 1215, 855}, {8, 5}}},
    {Currency::Frank,
     {u"Label10", 360, 4200, {1455, 1455}, {u"Frankın Satılış Fiyatı:", u"Frankın Satılış Fiyatı:"}},
     {u"Label11", 360, 4800, {1455, 1455}, {u"Para Miktarı: (TL)", u"Frankın Miktarı:"}},
     {u"Label12", 1920, 4200, {1455, 1215}, {u"Sonuç: (Frank)", u"Sonuç: (TL)"}},
     {{360, 4440, 1335, 285}, {9, 2}},
     {{360, 5040, 1335, 285}, {10, 1}},
     {{1920, 4440, 1215, 855}, {11, 0}}},
};

constexpr int boxCount = 3 * int(std::size(rowSpecs));

struct LineSpec {
    const char16_t *name;
    int x1, y1, x2, y2;
};

constexpr LineSpec lines[] = {
    {u"Line5", 120, 120, 3360, 120},   {u"Line6", 3360, 120, 3360, 5520}, {u"Line7", 120, 5520, 3360, 5520},
    {u"Line4", 120, 120, 120, 5520},   {u"Line1", 120, 1440, 3360, 1440}, {u"Line2", 120, 2760, 3360, 2760},
    {u"Line3", 120, 4080, 3360, 4080},
};

QLabel *makeCaption(QWidget *client, const LabelSpec &entry, std::size_t twin)
{
    auto *label = makeControl<QLabel>(client, tableText(entry.name), {entry.left, entry.top, entry.width[twin], 255});
    label->setText(tableText(entry.text[twin]));
    setColours(label, green, Qt::black);
    return label;
}

// Boxes take the window's font and colours, and the caption above them as their name, followed by
// `which` where the caption is repeated on other rows: the one thing a screen reader surely reads out.
template <typename Box>
Box *makeBox(QWidget *client, const char16_t *name, const BoxSpec &entry, QLabel *caption, const QString &which)
{
    auto *box = makeControl<Box>(client, tableText(name), entry.geometry);
    setFixedFont(box, fixedsysFont());
    setColours(box, green, Qt::black);
    if constexpr (std::is_same_v<Box, OneLineBox>)
        takeAnyLength(box);
    nameAfterLabel(box, caption);
    if (!which.isEmpty())
        box->setAccessibleName(box->accessibleName() + which);
    return box;
}

struct Captions {
    QLabel *rate, *amount, *result;
};

using AllCaptions = std::array<Captions, std::size(rowSpecs)>;

// What tells a box apart from its twins on the other rows, in its name in messages and for screen
// readers: the row's currency where the caption stands on another row as well ("Para Miktarı: (TL)"
// four times), else nothing.
QString whichRow(const QLabel *caption, std::size_t row, const AllCaptions &captions)
{
    const QString text = caption->text();
    for (std::size_t other = 0; other < captions.size(); ++other) {
        const Captions &c = captions[other];
        if (other != row && (c.rate->text() == text || c.amount->text() == text || c.result->text() == text))
            return u", "_s + tableText(currencyInfo(rowSpecs[row].currency).name);
    }
    return {};
}

} // namespace

ConversionWindow::ConversionWindow(WindowHub &hub, Direction direction) : m_hub(hub), m_direction(direction)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Fixed dialog frame: a close button, no minimise or maximise button. The fixed-size hint is what
    // the MDI frame reads to refuse the user a resize (no grips, no "Size" item); tiling still sizes it.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(assets::icon(assets::Picture::ConversionIcon));

    auto *client = new QWidget;
    fixClientSize(client, 3480, 5610);
    setColours(client, green, Qt::black);
    buildControls(client);
    setWidget(client);
    // Set after setWidget, which would otherwise pick its own focus child.
    m_firstBox->setFocus();
    m_menus = createConversionMenus(*this, hub);
    // Qt offers "Restore" only to windows with a minimise or maximise button; minimised, this one
    // needs it as much as the double-click. (Where the keyboard goes on restoring is the main window's.)
    connect(this, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates, Qt::WindowStates now) {
        if (QAction *restore = systemMenuAction("&Restore"))
            restore->setVisible(now & Qt::WindowMinimized);
    });
}

QAction *ConversionWindow::systemMenuAction(const char *source) const
{
    const QString text = QCoreApplication::translate("QMdiSubWindow", source);
    const QList<QAction *> actions = systemMenu()->actions();
    for (QAction *action : actions)
        if (action->text() == text)
            return action;
    return nullptr;
}

void ConversionWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Without a minimise button Qt would not restore from the minimised title bar.
    if (isMinimized()) {
        showNormal();
        return;
    }
    QMdiSubWindow::mouseDoubleClickEvent(event);
}

bool ConversionWindow::focusNextPrevChild(bool next)
{
    // Tab goes round the boxes alone. Qt's round passes the window itself, which hands the keyboard
    // on to a box but is reported after it, so that a screen reader announces the window and loses
    // the box.
    QWidget *from = QApplication::focusWidget();
    if (!from || from == this || !isAncestorOf(from))
        return QMdiSubWindow::focusNextPrevChild(next);
    for (QWidget *to = from;;) {
        to = next ? to->nextInFocusChain() : to->previousInFocusChain();
        if (to == from)
            return false;
        if (to != this && isAncestorOf(to) && (to->focusPolicy() & Qt::TabFocus) && to->isEnabled() && to->isVisibleTo(this)) {
            to->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
}

void ConversionWindow::clearBoxes()
{
    for (const Row &row : m_rows) {
        row.rate->clear();
        row.amount->clear();
        row.result->clear();
    }
}

void ConversionWindow::buildControls(QWidget *client)
{
    const std::size_t twin = m_direction == Direction::TlToCurrency ? 0 : 1;

    AllCaptions captions{};
    for (std::size_t i = 0; i < std::size(rowSpecs); ++i) {
        const RowSpec &entry = rowSpecs[i];
        captions[i] = {makeCaption(client, entry.rateLabel, twin), makeCaption(client, entry.amountLabel, twin),
                       makeCaption(client, entry.resultLabel, twin)};
    }
    for (const LineSpec &entry : lines)
        new Line(client, tableText(entry.name), entry.x1, entry.y1, entry.x2, entry.y2, 2, lineGreen);

    std::array<QWidget *, boxCount> byTabOrder{};
    for (std::size_t i = 0; i < std::size(rowSpecs); ++i) {
        const RowSpec &entry = rowSpecs[i];
        const CurrencyInfo &currency = currencyInfo(entry.currency);
        Row &row = m_rows[currencyIndex(entry.currency)];
        row.currency = entry.currency;
        const QString rateWhich = whichRow(captions[i].rate, i, captions);
        const QString amountWhich = whichRow(captions[i].amount, i, captions);
        row.rateName = captions[i].rate->text() + rateWhich;
        row.amountName = captions[i].amount->text() + amountWhich;
        row.rate = makeBox<OneLineBox>(client, currency.rateBox, entry.rate, captions[i].rate, rateWhich);
        row.amount = makeBox<OneLineBox>(client, currency.amountBox, entry.amount, captions[i].amount, amountWhich);
        row.result = makeBox<MultiLineBox>(client, currency.resultBox, entry.result, captions[i].result,
                                           whichRow(captions[i].result, i, captions));
        row.result->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        row.result->setTabChangesFocus(true);
        byTabOrder[std::size_t(entry.rate.tab[twin])] = row.rate;
        byTabOrder[std::size_t(entry.amount.tab[twin])] = row.amount;
        byTabOrder[std::size_t(entry.result.tab[twin])] = row.result;
    }
    for (std::size_t i = 1; i < byTabOrder.size(); ++i)
        QWidget::setTabOrder(byTabOrder[i - 1], byTabOrder[i]);
    m_firstBox = byTabOrder.front();

    for (const Row &row : m_rows)
        connect(row.amount, &QLineEdit::returnPressed, this, guarded(m_hub.services(), [this, &row] { convert(row); }));
}

void ConversionWindow::setRate(Currency currency, const QString &text)
{
    setTextFromStart(m_rows[currencyIndex(currency)].rate, text);
}

void ConversionWindow::convert(const Row &row)
{
    const RowNames names{row.rateName, row.amountName, currencyInfo(row.currency).name};
    const QString text = convertTexts(m_direction, row.rate->text(), row.amount->text(), names,
                                      NumberFormat::fromLocale(QLocale()));
    row.result->setPlainText(text);
    // The row told by its currency: all four results are "Sonuç" to a listener.
    announce(row.result, u"Sonuç, %1: %2"_s.arg(tableText(currencyInfo(row.currency).name), text));
}

atldendovize::atldendovize(WindowHub &hub) : ConversionWindow(hub, Direction::TlToCurrency)
{
    setObjectName(u"atldendovize"_s);
    setWindowTitle(u"[ TL->Döviz ]"_s);
}

adovizdentlye::adovizdentlye(WindowHub &hub) : ConversionWindow(hub, Direction::CurrencyToTl)
{
    setObjectName(u"adovizdentlye"_s);
    setWindowTitle(u"[ Döviz->TL ]"_s);
}

} // namespace varnek
