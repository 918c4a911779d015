#include "rates/form2.h"

#include "assets/assets.h"
#include "rates/ratestore.h"
#include "shell/services/accessibility.h"
#include "shell/services/guard.h"
#include "shell/services/layout.h"
#include "shell/services/look.h"
#include "shell/services/widgets.h"
#include "shell/services/windowhub.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <type_traits>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

struct ControlSpec {
    const char16_t *name;
    Twips geometry;
    int tabIndex;
    bool inFrame;
};

// One currency's row: its caption, its box and the three buttons beneath the box.
struct RowSpec {
    Currency currency;
    const char16_t *caption;
    ControlSpec label, box, save, read, clear;
};

// The frame lies at 0, 0, so its children take the window's numbers too.
constexpr RowSpec rowSpecs[] = {
    {Currency::Dolar, u"Dolar Satılış Fiyatı:",
     {u"Label1", {120, 360, 1335, 255}, 22, true},
     {u"Text1", {1560, 360, 1935, 285}, 0, true},
     {u"Command1", {1560, 720, 735, 255}, 4, true},
     {u"Command2", {2280, 720, 615, 255}, 5, false},
     {u"Command15", {2880, 720, 615, 255}, 6, false}},
    {Currency::Mark, u"Mark Satılış Fiyatı:",
     {u"Label2", {120, 1080, 1335, 255}, 21, true},
     {u"Text2", {1560, 1080, 1935, 285}, 1, true},
     {u"Command3", {1560, 1440, 735, 255}, 8, false},
     {u"Command4", {2280, 1440, 615, 255}, 9, false},
     {u"Command16", {2880, 1440, 615, 255}, 10, false}},
    {Currency::Sterlin, u"Sterlin Satılış Fiyatı:",
     {u"Label3", {120, 1800, 1335, 255}, 20, true},
     {u"Text3", {1560, 1800, 1935, 285}, 2, true},
     {u"Command7", {1560, 2160, 735, 255}, 11, false},
     {u"Command9", {2280, 2160, 615, 255}, 12, false},
     {u"Command17", {2880, 2160, 615, 255}, 13, false}},
    {Currency::Frank, u"Frank Satılış Fiyatı:",
     {u"Label4", {120, 2520, 1335, 255}, 19, true},
     {u"Text4", {1560, 2520, 1935, 285}, 3, true},
     {u"Command8", {1560, 2880, 735, 255}, 14, false},
     {u"Command10", {2280, 2880, 615, 255}, 15, false},
     {u"Command18", {2880, 2880, 615, 255}, 16, false}},
};

constexpr ControlSpec clearAllSpec{u"Command19", {3600, 360, 855, 1335}, 24, false};
constexpr ControlSpec pasteSpec{u"Command5", {3600, 1800, 855, 1335}, 7, true};
constexpr ControlSpec okSpec{u"Command14", {120, 3480, 1095, 375}, 17, false};
constexpr ControlSpec cancelSpec{u"Command13", {3360, 3480, 1095, 375}, 23, false};

constexpr int tabStops = 25;

// Places each control in the window or in its frame, and notes where it stands in the tab order.
class ControlBuilder {
public:
    ControlBuilder(QWidget *window, QWidget *frame) : m_window(window), m_frame(frame) {}

    template <typename T>
    T *make(const ControlSpec &entry)
    {
        auto *control = makeControl<T>(entry.inFrame ? m_frame : m_window, tableText(entry.name), entry.geometry);
        if constexpr (!std::is_base_of_v<QLabel, T>)
            m_byTabIndex[std::size_t(entry.tabIndex)] = control;
        return control;
    }

    QPushButton *button(const ControlSpec &entry, const char16_t *caption)
    {
        auto *button = make<PictureButton>(entry);
        button->setText(tableText(caption));
        return button;
    }

    PictureButton *pictureButton(const ControlSpec &entry, const char16_t *caption, assets::Picture picture)
    {
        auto *button = make<PictureButton>(entry);
        button->setText(tableText(caption));
        button->setPicture(picture);
        return button;
    }

    void setTabOrder() const
    {
        QWidget *previous = nullptr;
        for (QWidget *control : m_byTabIndex) {
            if (!control)
                continue;
            if (previous)
                QWidget::setTabOrder(previous, control);
            previous = control;
        }
    }

private:
    QWidget *m_window;
    QWidget *m_frame;
    std::array<QWidget *, tabStops> m_byTabIndex{};
};

} // namespace

Form2::Form2(WindowHub &hub) : NoCancelDialog(nullptr, dialogWindowFlags()), m_hub(hub)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"Elle Ayarla"_s);
    setWindowIcon(assets::icon(assets::Picture::RateEntryIcon));
    setAttribute(Qt::WA_DeleteOnClose);
    fixClientSize(this, 4590, 3915);

    auto *frame = makeControl<TitledFrame>(this, u"Frame1"_s, {0, 0, 4575, 3375});
    frame->setTitle(u"Varnek-Kurlar"_s);

    ControlBuilder build(this, frame);
    Services &services = hub.services();
    for (std::size_t i = 0; i < std::size(rowSpecs); ++i) {
        const RowSpec &entry = rowSpecs[i];
        auto *label = build.make<QLabel>(entry.label);
        label->setTextFormat(Qt::PlainText);
        label->setText(tableText(entry.caption));
        auto *box = build.make<OneLineBox>(entry.box);
        takeAnyLength(box);
        nameAfterLabel(box, label);
        m_boxes[i] = box;
        QPushButton *save = build.button(entry.save, u"Kaydet");
        QPushButton *read = build.button(entry.read, u"Oku");
        QPushButton *clear = build.button(entry.clear, u"Sil");
        // The buttons say only "Kaydet", "Oku" and "Sil", four times over; their names tell which rate
        // they act on.
        for (QPushButton *button : {save, read, clear})
            button->setAccessibleName(button->text() + u", "_s + tableText(currencyInfo(entry.currency).name));
        connect(save, &QPushButton::clicked, this, guarded(services, [this, i] { this->save(i); }));
        connect(read, &QPushButton::clicked, this, guarded(services, [this, i] { this->read(i); }));
        connect(clear, &QPushButton::clicked, this, guarded(services, [this, i] {
                    m_boxes[i]->clear();
                    announce(this, currencyName(i) + u" silindi"_s);
                }));
    }
    PictureButton *clearAll = build.pictureButton(clearAllSpec, u"Tüm Girdileri Sil", assets::Picture::BulbOff);
    PictureButton *paste = build.pictureButton(pasteSpec, u"Tabloya Yapıştır", assets::Picture::BulbOn);
    QPushButton *ok = build.button(okSpec, u"Tamam");
    QPushButton *cancel = build.button(cancelSpec, u"İptal");
    build.setTabOrder();

    connect(clearAll, &QPushButton::clicked, this, guarded(services, [this] {
                for (QLineEdit *box : m_boxes)
                    box->clear();
                announce(this, u"Tüm girdiler silindi"_s);
            }));
    connect(paste, &QPushButton::clicked, this, guarded(services, [this] { this->paste(); }));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, guarded(services, [this] { close(); }));
    connect(cancel, &QPushButton::clicked, this, guarded(services, [this] { close(); }));

    m_boxes.front()->setFocus();
}

// The window shows no word of what its buttons did; a screen reader user hears it, or else hears only
// the key.
QString Form2::currencyName(std::size_t row) const { return tableText(currencyInfo(rowSpecs[row].currency).name); }

void Form2::save(std::size_t row)
{
    saveRate(rateFilePath(rowSpecs[row].currency), m_boxes[row]->text());
    announce(this, currencyName(row) + u" kaydedildi"_s);
}

void Form2::read(std::size_t row)
{
    // A file without a field leaves the box as it was.
    const std::optional<QString> text = readRate(rateFilePath(rowSpecs[row].currency));
    if (!text) {
        announce(this, currencyName(row) + u": dosya boş, kutu değişmedi"_s);
        return;
    }
    setTextFromStart(m_boxes[row], *text);
    announce(this, currencyName(row) + u" okundu: "_s + *text);
}

void Form2::paste()
{
    // Currency by currency, each into both windows, reading the box afresh every time.
    for (std::size_t i = 0; i < std::size(rowSpecs); ++i)
        for (const WindowName target : {WindowName::atldendovize, WindowName::adovizdentlye})
            m_hub.setRate(target, rowSpecs[i].currency, m_boxes[i]->text());
    announce(this, u"Kurlar iki çevirme penceresine yapıştırıldı"_s);
}

} // namespace varnek
