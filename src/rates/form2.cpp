#include "rates/form2.h"

#include "assets/assets.h"
#include "shell/services/guard.h"
#include "shell/services/layout.h"
#include "shell/services/look.h"
#include "rates/ratestore.h"
#include "shell/services/windowhub.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

enum class Kind { Label, Box, Button, PictureButton };

struct ControlSpec {
    const char16_t *name;
    Kind kind;
    const char16_t *caption;
    Twips geometry;
    int tabIndex;
    bool inFrame;
};

// The frame lies at 0, 0, so its children take the window's numbers too.
constexpr ControlSpec controls[] = {
    {u"Label1", Kind::Label, u"Dolar Satılış Fiyatı:", {120, 360, 1335, 255}, 22, true},
    {u"Text1", Kind::Box, u"", {1560, 360, 1935, 285}, 0, true},
    {u"Command1", Kind::Button, u"Kaydet", {1560, 720, 735, 255}, 4, true},
    {u"Command2", Kind::Button, u"Oku", {2280, 720, 615, 255}, 5, false},
    {u"Command15", Kind::Button, u"Sil", {2880, 720, 615, 255}, 6, false},
    {u"Label2", Kind::Label, u"Mark Satılış Fiyatı:", {120, 1080, 1335, 255}, 21, true},
    {u"Text2", Kind::Box, u"", {1560, 1080, 1935, 285}, 1, true},
    {u"Command3", Kind::Button, u"Kaydet", {1560, 1440, 735, 255}, 8, false},
    {u"Command4", Kind::Button, u"Oku", {2280, 1440, 615, 255}, 9, false},
    {u"Command16", Kind::Button, u"Sil", {2880, 1440, 615, 255}, 10, false},
    {u"Label3", Kind::Label, u"Sterlin Satılış Fiyatı:", {120, 1800, 1335, 255}, 20, true},
    {u"Text3", Kind::Box, u"", {1560, 1800, 1935, 285}, 2, true},
    {u"Command7", Kind::Button, u"Kaydet", {1560, 2160, 735, 255}, 11, false},
    {u"Command9", Kind::Button, u"Oku", {2280, 2160, 615, 255}, 12, false},
    {u"Command17", Kind::Button, u"Sil", {2880, 2160, 615, 255}, 13, false},
    {u"Label4", Kind::Label, u"Frank Satılış Fiyatı:", {120, 2520, 1335, 255}, 19, true},
    {u"Text4", Kind::Box, u"", {1560, 2520, 1935, 285}, 3, true},
    {u"Command8", Kind::Button, u"Kaydet", {1560, 2880, 735, 255}, 14, false},
    {u"Command10", Kind::Button, u"Oku", {2280, 2880, 615, 255}, 15, false},
    {u"Command18", Kind::Button, u"Sil", {2880, 2880, 615, 255}, 16, false},
    {u"Command19", Kind::PictureButton, u"Tüm Girdileri Sil", {3600, 360, 855, 1335}, 24, false},
    {u"Command5", Kind::PictureButton, u"Tabloya Yapıştır", {3600, 1800, 855, 1335}, 7, true},
    {u"Command14", Kind::Button, u"Tamam", {120, 3480, 1095, 375}, 17, false},
    {u"Command13", Kind::Button, u"İptal", {3360, 3480, 1095, 375}, 23, false},
};

constexpr int tabStops = 25;

struct CurrencyRow {
    Currency currency;
    const char16_t *box;
    const char16_t *save;
    const char16_t *read;
    const char16_t *clear;
    const char16_t *rateBox; // in both conversion windows
};

constexpr CurrencyRow rows[] = {
    {Currency::Dolar, u"Text1", u"Command1", u"Command2", u"Command15", u"Dolarsatilis"},
    {Currency::Mark, u"Text2", u"Command3", u"Command4", u"Command16", u"Marksatilis"},
    {Currency::Sterlin, u"Text3", u"Command7", u"Command9", u"Command17", u"Sterlinsatilis"},
    {Currency::Frank, u"Text4", u"Command8", u"Command10", u"Command18", u"Franksatilis"},
};

} // namespace

Form2::Form2(WindowHub &hub) : NoCancelDialog(nullptr, dialogWindowFlags()), m_hub(hub)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"Elle Ayarla"_s);
    setWindowIcon(assets::icon(assets::Picture::RateEntryIcon));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(clientSize(4590, 3915));

    auto *frame = makeControl<QGroupBox>(this, u"Frame1"_s, {0, 0, 4575, 3375});
    frame->setTitle(u"Varnek-Kurlar"_s);

    std::array<QWidget *, tabStops> byTabIndex{};
    for (const ControlSpec &entry : controls) {
        QWidget *parent = entry.inFrame ? static_cast<QWidget *>(frame) : this;
        const QString name = tableText(entry.name);
        QWidget *control = nullptr;
        switch (entry.kind) {
        case Kind::Label: {
            auto *label = makeControl<QLabel>(parent, name, entry.geometry);
            label->setTextFormat(Qt::PlainText);
            label->setText(tableText(entry.caption));
            fitTextToWidth(label);
            control = label;
            break;
        }
        case Kind::Box: {
            auto *box = makeControl<QLineEdit>(parent, name, entry.geometry);
            // Qt's default of 32767 would cut a long paste without a word.
            box->setMaxLength(std::numeric_limits<int>::max());
            control = box;
            break;
        }
        case Kind::Button: {
            auto *button = makeControl<QPushButton>(parent, name, entry.geometry);
            button->setText(tableText(entry.caption));
            control = button;
            break;
        }
        case Kind::PictureButton: {
            auto *button = makeControl<PictureButton>(parent, name, entry.geometry);
            button->setText(tableText(entry.caption));
            button->setPicture(assets::pixmap(name == u"Command19"_s ? assets::Picture::BulbOff : assets::Picture::BulbOn));
            button->fitCaption();
            control = button;
            break;
        }
        }
        if (entry.kind != Kind::Label)
            byTabIndex[std::size_t(entry.tabIndex)] = control;
    }

    QWidget *previous = nullptr;
    for (QWidget *control : byTabIndex) {
        if (!control)
            continue;
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }

    Services &services = hub.services();
    const auto button = [this](const char16_t *name) { return findChild<QPushButton *>(tableText(name)); };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const CurrencyRow &row = rows[i];
        m_boxes[i] = findChild<QLineEdit *>(tableText(row.box));
        // Row i's label is Label<i+1>. Its three buttons say only "Kaydet", "Oku" and "Sil"; the
        // description tells which rate they act on.
        auto *label = findChild<QLabel *>(u"Label%1"_s.arg(i + 1));
        nameAfterLabel(m_boxes[i], label);
        for (const char16_t *name : {row.save, row.read, row.clear})
            button(name)->setAccessibleDescription(m_boxes[i]->accessibleName());
        connect(button(row.save), &QPushButton::clicked, this, guarded(services, [this, i] { save(i); }));
        connect(button(row.read), &QPushButton::clicked, this, guarded(services, [this, i] { read(i); }));
        connect(button(row.clear), &QPushButton::clicked, this, guarded(services, [this, i] { m_boxes[i]->clear(); }));
    }
    connect(button(u"Command19"), &QPushButton::clicked, this, guarded(services, [this] {
                for (QLineEdit *box : m_boxes)
                    box->clear();
            }));
    connect(button(u"Command5"), &QPushButton::clicked, this, guarded(services, [this] { paste(); }));
    QPushButton *ok = button(u"Command14");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, guarded(services, [this] { close(); }));
    connect(button(u"Command13"), &QPushButton::clicked, this, guarded(services, [this] { close(); }));

    m_boxes.front()->setFocus();
}

void Form2::save(std::size_t row) { saveRate(rateFilePath(rows[row].currency), m_boxes[row]->text()); }

void Form2::read(std::size_t row)
{
    // A file without a field leaves the box as it was.
    if (const std::optional<QString> text = readRate(rateFilePath(rows[row].currency)))
        m_boxes[row]->setText(*text);
}

void Form2::paste()
{
    for (std::size_t i = 0; i < std::size(rows); ++i)
        for (const WindowName target : {WindowName::atldendovize, WindowName::adovizdentlye})
            m_hub.setBoxText(target, tableText(rows[i].rateBox), m_boxes[i]->text());
}

} // namespace varnek
