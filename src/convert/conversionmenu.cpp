#include "convert/conversionmenu.h"

#include "convert/conversionwindow.h"
#include "shell/services/guard.h"
#include "shell/services/windowhub.h"
#include "shell/types/tabletext.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QProxyStyle>

#include <functional>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

// The arrow keys stop on a command that cannot be given now as well, as they do in Windows' menus,
// so that a screen reader names it too, unavailable ("soluk"), where Qt's own styles would pass it
// over unheard.
class MenuStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_Menu_AllowActiveAndDisabled)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

class MenuBuilder {
public:
    MenuBuilder(ConversionWindow &window, WindowHub &hub) : m_window(window), m_hub(hub) {}

    QMenu *menu(const QString &name, const QString &caption)
    {
        auto *menu = new QMenu(caption, &m_window);
        static QPointer<MenuStyle> style;
        if (!style)
            style = new MenuStyle;
        // Shared by every menu, and gone with the program's own styles.
        style->setParent(qApp);
        menu->setStyle(style);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        m_menus.append(menu);
        return menu;
    }

    // An item that stands greyed and does nothing.
    void disabled(QMenu *menu, const QString &name, const QString &caption)
    {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        action->setEnabled(false);
    }

    void item(QMenu *menu, const QString &name, const QString &caption, std::function<void()> command)
    {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        QObject::connect(action, &QAction::triggered, &m_window,
                         guarded(m_hub.services(), std::move(command)));
    }

    QList<QMenu *> menus() const { return m_menus; }

private:
    ConversionWindow &m_window;
    WindowHub &m_hub;
    QList<QMenu *> m_menus;
};

void askForRates(ConversionWindow &window, Services &services)
{
    for (const CurrencyInfo &currency : currencyTable) {
        const std::optional<QString> answer =
            services.prompt(tableText(currency.promptText), tableText(currency.promptTitle));
        // Cancel keeps the rate the user had; an empty OK still empties the box.
        if (answer)
            window.setRate(currency.currency, *answer);
    }
}

} // namespace

QList<QMenu *> createConversionMenus(ConversionWindow &window, WindowHub &hub)
{
    MenuBuilder b(window, hub);
    Services &services = hub.services();
    const bool tlToCurrency = window.direction() == Direction::TlToCurrency;

    QMenu *dosya = b.menu(u"mnuDosya"_s, u"&Dosya"_s);
    b.disabled(dosya, u"mnuYardimal"_s, u"&Yardım Al"_s);
    b.disabled(dosya, u"mnuUpgrade"_s, u"&Upgrade"_s);
    b.item(dosya, u"mnuKapat"_s, u"&Kapat"_s, [&hub] { hub.show(WindowName::uyari); });

    QMenu *islemler = b.menu(u"mnuIslemler"_s, u"&Çevirme İşlemleri"_s);
    b.item(islemler, u"mnuDoviztoTL"_s, u"&Döviz'den TL'ye"_s,
           [&hub] { hub.setChildState(WindowName::adovizdentlye, Qt::WindowNoState); });
    b.item(islemler, u"mnuTLtoDoviz"_s, u"&TL'den Döviz'e"_s,
           [&hub] { hub.setChildState(WindowName::atldendovize, Qt::WindowNoState); });

    QMenu *ayarlar = b.menu(u"mnuAyarlar"_s, u"&Ayarlar"_s);
    b.item(ayarlar, u"mnuKurgirdilerinitemizle"_s, u"&Kur Girdilerini Temizle"_s, [&window] { window.clearBoxes(); });
    b.disabled(ayarlar, u"mnugerial"_s, u"&Geri Al"_s);
    b.disabled(ayarlar, u"mnuilerial"_s, u"&İleri Al"_s);

    QMenu *kurlar = b.menu(u"mnuGununkurları"_s, u"&Günün Kurları"_s);
    b.disabled(kurlar, u"mnuGuncelle"_s, tlToCurrency ? u"&Web ÜstündeGüncelle"_s : u"&Web Üstünde Güncelle"_s);
    b.disabled(kurlar, u"mnuBak"_s, u"&Kurlara Gözat"_s);
    b.item(kurlar, u"mnuOtomatikayarla"_s, u"&Otomatik Ayarla (Elle)"_s,
           [&window, &services] { askForRates(window, services); });
    b.item(kurlar, u"mnuElleayarla"_s, u"&Elle Ayarla"_s, [&hub] { hub.show(WindowName::Form2); });

    QMenu *ek = b.menu(u"mnuEk"_s, u"&Ek"_s);
    b.item(ek, u"mnuhmakinesi"_s, u"&Hesap Makinesi"_s, [&hub] { hub.show(WindowName::hesapmakinesi); });

    QMenu *pencere = b.menu(u"mnuPencere"_s, u"&Pencere"_s);
    b.item(pencere, u"mnuDose"_s, u"&Döşe"_s, [&hub] { hub.arrange(Arrangement::TileSideBySide); });
    b.item(pencere, u"mnuBasamakla"_s, u"&Basamakla"_s, [&hub] { hub.arrange(Arrangement::Cascade); });

    QMenu *yardim = b.menu(u"mnuYardim"_s, u"&Yardım"_s);
    b.disabled(yardim, u"mnuWebsitesi"_s, u"&Web Sitesi"_s);
    b.item(yardim, u"mnuKullanim"_s, u"&Nasıl Kullanılır?"_s, [&services] {
        services.message(u"Kullanım kılavuzu (Yardım.hlp) dosyasıdır."_s, u"Nasıl Kullanılır?"_s,
                         Services::Icon::Warning);
    });
    b.item(yardim, u"mnuhakkinda"_s, u"&Hakkında"_s, [&hub] { hub.show(WindowName::frmAbout); });

    return b.menus();
}

} // namespace varnek
