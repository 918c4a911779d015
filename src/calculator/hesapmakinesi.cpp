#include "hesapmakinesi.h"

#include "assets.h"
#include "checkedmath.h"
#include "guard.h"
#include "layout.h"
#include "leadingnumber.h"
#include "numberrules.h"
#include "windowhub.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

const QColor green(0, 255, 0);

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
};

const OperationSpec operations[] = {
    {u"Label1", u"Topla", {480, 1560, 615, 255}, checkedAdd},
    {u"Label2", u"Çıkar", {1200, 1560, 615, 255}, checkedSubtract},
    {u"Label3", u"Çarp", {600, 1800, 495, 255}, checkedMultiply},
    {u"Label4", u"Böl", {1200, 1800, 375, 255}, checkedDivide},
};

QString str(const char16_t *text) { return QString::fromUtf16(text); }

template <typename T>
T *makeLabel(QWidget *parent, const char16_t *name, const char16_t *text, const Twips &geometry)
{
    auto *label = makeControl<T>(parent, str(name), geometry);
    label->setTextFormat(Qt::PlainText);
    label->setText(str(text));
    label->setFont(fixedsysFont());
    setColours(label, green, Qt::black);
    return label;
}

ClickableLabel *makePicture(QWidget *parent, const QString &name, const Twips &geometry, assets::Picture picture)
{
    auto *box = makeControl<ClickableLabel>(parent, name, geometry);
    box->setPixmap(assets::pixmap(picture));
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setColours(box, green, Qt::black);
    return box;
}

QLineEdit *makeBox(QWidget *parent, const QString &name, const Twips &geometry, int maxLength)
{
    auto *box = makeControl<QLineEdit>(parent, name, geometry);
    box->setFont(fixedsysFont());
    // Green behind the system's own text colour.
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, green);
    box->setPalette(palette);
    box->setMaxLength(maxLength);
    box->setText(u"0"_s);
    return box;
}

} // namespace

ClickableLabel::ClickableLabel(QWidget *parent) : QLabel(parent) {}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

hesapmakinesi::hesapmakinesi(WindowHub &hub) : QDialog(nullptr, dialogWindowFlags())
{
    setObjectName(u"hesapmakinesi"_s);
    setWindowTitle(u"Hesap Makinesi"_s);
    setWindowIcon(assets::icon(assets::Picture::CalculatorIcon));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(clientSize(2355, 2115));
    // Only the background: the boxes keep the system's text colour.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    for (const LabelSpec &spec : captions)
        makeLabel<QLabel>(this, spec.name, spec.text, spec.geometry);

    m_first = makeBox(this, u"Sayibir"_s, {1080, 360, 1095, 285}, 9);
    m_second = makeBox(this, u"Sayiiki"_s, {1080, 720, 1095, 285}, 9);
    m_result = makeBox(this, u"Sonuc"_s, {1080, 1080, 1095, 285}, 81);
    setTabOrder(m_first, m_second);
    setTabOrder(m_second, m_result);
    m_first->setFocus();

    Services &services = hub.services();
    for (const OperationSpec &spec : operations) {
        auto *label = makeLabel<ClickableLabel>(this, spec.name, spec.text, spec.geometry);
        connect(label, &ClickableLabel::clicked, this,
                guarded(services, [this, operation = spec.operation] { calculate(operation); }));
    }

    auto *signature = makePicture(this, u"Picture1"_s, {0, 1440, 375, 375}, assets::Picture::SpeechBubble);
    connect(signature, &ClickableLabel::clicked, this, guarded(services, [&services] {
                services.message(u"       Varnek Geliştirme Ekibi\n         01.02.2001"_s, u"Hakkında"_s,
                                 Services::Icon::None);
            }));
    auto *contact = makePicture(this, u"Picture2"_s, {0, 1800, 375, 375}, assets::Picture::Envelope);
    connect(contact, &ClickableLabel::clicked, this, guarded(services, [&services] {
                services.message(u"    destek@varnek.example"_s, u"E-mail"_s, Services::Icon::None);
            }));
    auto *closer = makePicture(this, u"Picture3"_s, {1800, 1560, 495, 495}, assets::Picture::CloseDisc);
    connect(closer, &ClickableLabel::clicked, this, guarded(services, [this] { close(); }));
}

void hesapmakinesi::calculate(double (*operation)(double, double))
{
    const NumberFormat format = NumberFormat::fromLocale(QLocale());
    const double second = leadingNumber(m_second->text(), format);
    const double first = leadingNumber(m_first->text(), format);
    m_result->setText(numberToText(operation(first, second), format));
}

void hesapmakinesi::keyPressEvent(QKeyEvent *event)
{
    // There is no cancel button, so Esc must not close the window the way a dialog's Esc does.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace varnek
