#include "calculator/hesapmakinesi.h"

#include "assets/assets.h"
#include "convert/rules/checkedmath.h"
#include "shell/services/guard.h"
#include "shell/services/layout.h"
#include "calculator/rules/leadingnumber.h"
#include "convert/rules/numberrules.h"
#include "shell/services/windowhub.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QShortcut>

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
    Qt::Key accessKey; // with Alt; Çıkar has the Ç, so Çarp takes its last letter
};

const OperationSpec operations[] = {
    {u"Label1", u"Topla", {480, 1560, 615, 255}, checkedAdd, Qt::Key_T},
    {u"Label2", u"Çıkar", {1200, 1560, 615, 255}, checkedSubtract, Qt::Key_Ccedilla},
    {u"Label3", u"Çarp", {600, 1800, 495, 255}, checkedMultiply, Qt::Key_P},
    {u"Label4", u"Böl", {1200, 1800, 375, 255}, checkedDivide, Qt::Key_B},
};

template <typename T>
T *makeLabel(QWidget *parent, const char16_t *name, const char16_t *text, const Twips &geometry)
{
    auto *label = makeControl<T>(parent, tableText(name), geometry);
    label->setTextFormat(Qt::PlainText);
    label->setText(tableText(text));
    label->setFont(fixedsysFont());
    // Where the monospace face standing in for Fixedsys runs wider (Windows), condense, not clip.
    fitTextToWidth(label);
    setColours(label, green, Qt::black);
    return label;
}

ClickableLabel *makePicture(QWidget *parent, const QString &name, const Twips &geometry, assets::Picture picture,
                            const QString &accessibleName)
{
    auto *box = makeControl<ClickableLabel>(parent, name, geometry);
    box->setAccessibleName(accessibleName);
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

class AccessibleClickableLabel final : public QAccessibleWidget {
public:
    explicit AccessibleClickableLabel(ClickableLabel *label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override
    {
        const QString text = QAccessibleWidget::text(kind);
        return kind == QAccessible::Name && text.isEmpty() ? label()->text() : text;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            emit label()->clicked();
    }
    QStringList keyBindingsForAction(const QString &action) const override
    {
        if (action != pressAction() || label()->shortcut().isEmpty())
            return {};
        return {label()->shortcut().toString(QKeySequence::NativeText)};
    }

private:
    ClickableLabel *label() const { return static_cast<ClickableLabel *>(widget()); }
};

QAccessibleInterface *accessibleClickableLabel(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(ClickableLabel::staticMetaObject.className()) && object->isWidgetType())
        return new AccessibleClickableLabel(static_cast<ClickableLabel *>(object));
    return nullptr;
}

} // namespace

ClickableLabel::ClickableLabel(QWidget *parent) : QLabel(parent)
{
    static const bool accessible = [] {
        QAccessible::installFactory(accessibleClickableLabel);
        return true;
    }();
    Q_UNUSED(accessible);
}

void ClickableLabel::setShortcut(const QKeySequence &keys)
{
    m_shortcut = keys;
    connect(new QShortcut(keys, this), &QShortcut::activated, this, &ClickableLabel::clicked);
    setToolTip(u"%1 (%2)"_s.arg(text(), keys.toString(QKeySequence::NativeText)));
}

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

hesapmakinesi::hesapmakinesi(WindowHub &hub) : NoCancelDialog(nullptr, dialogWindowFlags())
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

    QList<QLabel *> labels;
    for (const LabelSpec &entry : captions)
        labels.append(makeLabel<QLabel>(this, entry.name, entry.text, entry.geometry));

    m_first = makeBox(this, u"Sayibir"_s, {1080, 360, 1095, 285}, 9);
    m_second = makeBox(this, u"Sayiiki"_s, {1080, 720, 1095, 285}, 9);
    m_result = makeBox(this, u"Sonuc"_s, {1080, 1080, 1095, 285}, 81);
    nameAfterLabel(m_first, labels[1]);
    nameAfterLabel(m_second, labels[2]);
    nameAfterLabel(m_result, labels[3]);
    setTabOrder(m_first, m_second);
    setTabOrder(m_second, m_result);
    m_first->setFocus();

    Services &services = hub.services();
    for (const OperationSpec &entry : operations) {
        auto *label = makeLabel<ClickableLabel>(this, entry.name, entry.text, entry.geometry);
        label->setShortcut(QKeySequence(Qt::ALT | entry.accessKey));
        connect(label, &ClickableLabel::clicked, this,
                guarded(services, [this, operation = entry.operation] { calculate(operation); }));
    }

    auto *signature = makePicture(this, u"Picture1"_s, {0, 1440, 375, 375}, assets::Picture::SpeechBubble,
                                  u"Hakkında"_s);
    connect(signature, &ClickableLabel::clicked, this, guarded(services, [&services] {
                services.message(u"       Varnek Geliştirme Ekibi\n         01.02.2001"_s, u"Hakkında"_s,
                                 Services::Icon::None);
            }));
    auto *contact = makePicture(this, u"Picture2"_s, {0, 1800, 375, 375}, assets::Picture::Envelope, u"E-posta"_s);
    connect(contact, &ClickableLabel::clicked, this, guarded(services, [&services] {
                services.message(u"    destek@varnek.example"_s, u"E-mail"_s, Services::Icon::None);
            }));
    auto *closer = makePicture(this, u"Picture3"_s, {1800, 1560, 495, 495}, assets::Picture::CloseDisc, u"Kapat"_s);
    connect(closer, &ClickableLabel::clicked, this, guarded(services, [this] { close(); }));
}

void hesapmakinesi::calculate(double (*operation)(double, double))
{
    const NumberFormat format = NumberFormat::fromLocale(QLocale());
    const double second = leadingNumber(m_second->text(), format);
    const double first = leadingNumber(m_first->text(), format);
    m_result->setText(numberToText(operation(first, second), format));
}

} // namespace varnek
