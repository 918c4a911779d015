#include "shell/uyari.h"

#include "assets/assets.h"
#include "shell/services/guard.h"
#include "shell/services/layout.h"
#include "shell/services/look.h"
#include "shell/services/widgets.h"
#include "shell/services/windowhub.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace varnek {

uyari::uyari(WindowHub &hub) : NoCancelDialog(nullptr, dialogWindowFlags()), m_hub(hub)
{
    setObjectName(u"uyari"_s);
    setWindowTitle(u"Dikkat!"_s);
    setWindowIcon(assets::icon(assets::Picture::WarningIcon));
    fixClientSize(this, 3495, 1545);

    auto *picture = makeControl<QLabel>(this, u"Picture1"_s, {240, 240, 600, 615});
    showPicture(picture, assets::Picture::WarningIcon);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setAccessibleName(u"Uyarı"_s);

    auto *text = makeControl<QLabel>(this, u"Label1"_s, {840, 240, 2415, 615});
    text->setText(u"Programdan çıkarsanız çalışmanız sonlandırılacak.Çımak istediğinize emin misiniz?"_s);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *yes = makeControl<PictureButton>(this, u"Command1"_s, {1200, 960, 975, 375});
    yes->setText(u"Evet"_s);
    m_no = makeControl<PictureButton>(this, u"Command2"_s, {2280, 960, 975, 375});
    m_no->setText(u"Hayır"_s);
    m_no->setDefault(true);
    setTabOrder(yes, m_no);

    Services &services = hub.services();
    connect(yes, &QPushButton::clicked, this, guarded(services, [&services] { services.endProgram(); }));
    connect(m_no, &QPushButton::clicked, this, guarded(services, [this] { answerNo(); }));
}

void uyari::answerNo()
{
    // Creating the main window again runs its load step, which shows it.
    m_hub.load(WindowName::MDIForm1);
    m_hub.hide(WindowName::uyari);
}

void uyari::showEvent(QShowEvent *event)
{
    // Enter right after the question appears must answer "Hayır".
    m_no->setFocus();
    QDialog::showEvent(event);
}

void uyari::closeEvent(QCloseEvent *event)
{
    // Closing the question never leaves the program running with no window on the screen.
    answerNo();
    event->accept();
}

} // namespace varnek
