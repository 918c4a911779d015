#include "about/frmabout.h"

#include "assets/assets.h"
#include "shell/services/contrast.h"
#include "shell/services/layout.h"
#include "shell/services/look.h"

#include <QLabel>
#include <QPainter>
#include <QtMath>
#include <QPushButton>

#include <cmath>


using namespace Qt::StringLiterals;

namespace varnek {

namespace {

// A rectangle outline drawn over the backdrop; it never takes a click from what lies beneath.
class Rectangle final : public QWidget {
public:
    explicit Rectangle(QWidget *parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        // Its line grows with the twips, on whole pixels, inside the rectangle.
        const int width = std::max(1, qRound(twipScale()));
        painter.setPen(QPen(palette().color(QPalette::WindowText), width));
        if (width == 1)
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        else
            painter.drawRect(QRectF(rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
    }
};

// Half an x of the plain desktop's 9-pt font, where the heading was drawn.
constexpr int noticeIndent = 3;

QLabel *makeLabel(QWidget *parent, const QString &name, const Twips &geometry, const QString &text)
{
    auto *label = makeControl<QLabel>(parent, name, geometry);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

frmAbout::frmAbout()
    : OnBackdrop(nullptr, dialogWindowFlags())
{
    setObjectName(u"frmAbout"_s);
    // A test holds the caption's version to the project's.
    setWindowTitle(u"Varnek Version 1.6 Hakkında"_s);
    setWindowIcon(assets::icon(assets::Picture::AboutIcon));
    setAttribute(Qt::WA_DeleteOnClose);
    fixClientSize(this, 5370, 4275);

    // Made first so that the heading, which straddles its top edge, covers it.
    auto *outline = makeControl<Rectangle>(this, u"Shape1"_s, {120, 240, 2175, 2775});

    auto *notice = makeLabel(this, u"lblNotice"_s, {240, 120, 1005, 255}, u" HAKKINDA"_s);
    // The system's window colours, those of a text box, not the dialog face.
    notice->setForegroundRole(QPalette::Text);
    notice->setBackgroundRole(QPalette::Base);
    notice->setAutoFillBackground(true);
    // Centred on its line: an indent at the top would leave no line of 9 pt in its 17 pixels.
    notice->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    notice->setFrameStyle(QFrame::Box | QFrame::Plain);
    // Its frame grows with the twips, never thinner than they are: the tables have the note below
    // start on the frame's bottom line.
    keepLaidOut(notice, [notice] { notice->setLineWidth(int(std::ceil(twipScale()))); });
    // Set, not left to Qt, whose own indent for a framed label is half an x of whatever font it has.
    notice->setIndent(noticeIndent);

    auto *note = makeLabel(this, u"Label1"_s, {240, 360, 1935, 2535},
                           u"Varnek Serisinin çok işinize yarayacağından eminim.Şu an kullandığınız bu versiyon pek "
                           u"kapsamlı olmasa bile yine de benim için bir başlangıç olarak iyi sayılır.Program ile "
                           u"neler yapabileceğiniz hakkında hazırladığım \"Yardım.hlp\" dosyasında her sorunuza "
                           u"cevap bulabilirsiniz..."_s
                               + QString(67, u' ') + u"VARNEK GELİŞTİRME EKİBİ"_s);
    note->setWordWrap(true);

    auto *rights = makeLabel(this, u"Label2"_s, {3840, 1920, 1455, 255}, u"Tüm hakları saklıdır."_s);

    // Drawn straight on the picture in the desktop's colour, which a dark scheme makes too light to see there.
    standOutFromWhatIsBehind(outline, lineContrast);
    standOutFromWhatIsBehind(note, textContrast);
    standOutFromWhatIsBehind(rights, textContrast);

    auto *ok = makeControl<PictureButton>(this, u"cmdOK"_s, {4080, 3600, 1260, 345});
    ok->setText(u"TAMAM"_s);
    // Enter presses it as the default button; Esc reaches the dialog's own reject, which closes too.
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
}

} // namespace varnek
