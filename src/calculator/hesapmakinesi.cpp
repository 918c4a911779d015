#include "calculator/hesapmakinesi.h"

#include "assets/assets.h"
#include "calculator/rules/leadingnumber.h"
#include "convert/rules/checkedmath.h"
#include "convert/rules/numberrules.h"
#include "shell/services/accessibility.h"
#include "shell/services/guard.h"
#include "shell/services/layout.h"
#include "shell/services/look.h"
#include "shell/services/widgets.h"
#include "shell/services/windowhub.h"

#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

struct LabelSpec {
    const char16_t *name;
    const char16_t *text;
    Twips geometry;
};

constexpr LabelSpec captions[] = {
    {u"Baslik", u"HESAP MAKİNESİ", {360, 0, 1695, 255}},
    {u"Label5", u"1.Sayı:", {120, 360, 855, 255}},
    {u"Label6", u"2.Sayı:", {120, 720, 855, 255}},
    {u"Label7", u"Sonuç:", {240, 1080, 735, 255}},
};

struct OperationSpec {
    const char16_t *name;
    const char16_t *text;
    Twips geometry;
    double (*operation)(double, double);
    Qt::Key accessKey; // with Alt; Çıkar has the Ç, so Çarp takes its last letter
};

const OperationSpec operations[] = {
    {u"Label1", u"Topla", {480, 1560, 615, 255}, checkedAdd, Qt::Key_T},
    {u"Label2", u"Çıkar", {1200, 1560, 615, 255}, checkedSubtract, Qt::Key_Ccedilla},
    {u"Label3", u"Çarp", {600, 1800, 495, 255}, checkedMultiply, Qt::Key_P},
    {u"Label4", u"Böl", {1200, 1800, 375, 255}, checkedDivide, Qt::Key_B},
};

QLabel *makeLabel(QWidget *parent, const LabelSpec &entry)
{
    auto *label = makeControl<QLabel>(parent, tableText(entry.name), entry.geometry);
    label->setTextFormat(Qt::PlainText);
    label->setText(tableText(entry.text));
    setFixedFont(label, fixedsysFont());
    setColours(label, green, Qt::black);
    return label;
}

// The operations and the pictures look like labels and pictures on the black window.
PictureButton *makeFlatButton(QWidget *parent, const QString &name, const Twips &geometry)
{
    auto *button = makeControl<PictureButton>(parent, name, geometry);
    button->setLook(PictureButton::Look::Flat);
    setColours(button, green, Qt::black);
    return button;
}

PictureButton *makeOperation(QWidget *parent, const OperationSpec &entry)
{
    auto *button = makeFlatButton(parent, tableText(entry.name), entry.geometry);
    button->setText(tableText(entry.text));
    setFixedFont(button, fixedsysFont());
    const QKeySequence keys(Qt::ALT | entry.accessKey);
    button->setShortcut(keys);
    button->setToolTip(u"%1 (%2)"_s.arg(button->text(), keys.toString(QKeySequence::NativeText)));
    return button;
}

PictureButton *makePicture(QWidget *parent, const QString &name, const Twips &geometry, assets::Picture picture,
                           const QString &accessibleName)
{
    auto *button = makeFlatButton(parent, name, geometry);
    button->setAccessibleName(accessibleName);
    button->setPicture(picture);
    return button;
}

// The result box is as narrow as it was designed, so a long result shows only its first characters
// ("9,99999998" of "9,99999998E+17"); its tooltip always holds the whole of it, whoever wrote it.
// Not as the box's own tooltip: screen readers, which read the whole text as the box's value, would
// hear it again as its description.
class WholeTextTip final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto *box = static_cast<QLineEdit *>(watched);
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), box->text(), box);
        return true;
    }
};

QLineEdit *makeBox(QWidget *parent, const QString &name, const Twips &geometry, int maxLength)
{
    auto *box = makeControl<OneLineBox>(parent, name, geometry);
    setFixedFont(box, fixedsysFont());
    // Green behind the system's own text colour, unless that is too light to read on it.
    setColours(box, QColor(), green);
    box->setMaxLength(maxLength);
    box->setText(u"0"_s);
    return box;
}

} // namespace

hesapmakinesi::hesapmakinesi(WindowHub &hub) : NoCancelDialog(nullptr, dialogWindowFlags())
{
    setObjectName(u"hesapmakinesi"_s);
    setWindowTitle(u"Hesap Makinesi"_s);
    setWindowIcon(assets::icon(assets::Picture::CalculatorIcon));
    setAttribute(Qt::WA_DeleteOnClose);
    fixClientSize(this, 2355, 2115);
    // Only the background: the boxes keep the system's text colour.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    QList<QLabel *> labels;
    for (const LabelSpec &entry : captions)
        labels.append(makeLabel(this, entry));

    m_first = makeBox(this, u"Sayibir"_s, {1080, 360, 1095, 285}, 9);
    m_second = makeBox(this, u"Sayiiki"_s, {1080, 720, 1095, 285}, 9);
    m_result = makeBox(this, u"Sonuc"_s, {1080, 1080, 1095, 285}, 81);
    nameAfterLabel(m_first, labels[1]);
    nameAfterLabel(m_second, labels[2]);
    nameAfterLabel(m_result, labels[3]);
    m_result->installEventFilter(new WholeTextTip(m_result));
    m_firstName = labels[1]->text();
    m_secondName = labels[2]->text();
    setTabOrder(m_first, m_second);
    setTabOrder(m_second, m_result);
    m_first->setFocus();

    Services &services = hub.services();
    for (const OperationSpec &entry : operations) {
        connect(makeOperation(this, entry), &QPushButton::clicked, this,
                guarded(services, [this, operation = entry.operation] { calculate(operation); }));
    }

    auto *signature = makePicture(this, u"Picture1"_s, {0, 1440, 375, 375}, assets::Picture::SpeechBubble,
                                  u"Hakkında"_s);
    connect(signature, &QPushButton::clicked, this, guarded(services, [&services] {
                services.message(u"       Varnek Geliştirme Ekibi\n         01.02.2001"_s, u"Hakkında"_s,
                                 Services::Icon::None);
            }));
    auto *contact = makePicture(this, u"Picture2"_s, {0, 1800, 375, 375}, assets::Picture::Envelope, u"E-posta"_s);
    connect(contact, &QPushButton::clicked, this, guarded(services, [&services] {
                services.message(u"    destek@varnek.example"_s, u"E-mail"_s, Services::Icon::None);
            }));
    auto *closer = makePicture(this, u"Picture3"_s, {1800, 1560, 495, 495}, assets::Picture::CloseDisc, u"Kapat"_s);
    connect(closer, &QPushButton::clicked, this, guarded(services, [this] { close(); }));
}

void hesapmakinesi::calculate(double (*operation)(double, double))
{
    const NumberFormat format = NumberFormat::fromLocale(QLocale());
    const double second = leadingNumber(m_second->text(), m_secondName, format);
    const double first = leadingNumber(m_first->text(), m_firstName, format);
    const QString result = numberToText(operation(first, second), format);
    setTextFromStart(m_result, result);
    announce(m_result, u"Sonuç: "_s + result);
}

} // namespace varnek
