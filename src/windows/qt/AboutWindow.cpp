#include "windows/qt/AboutWindow.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

#include "platform/qt/QtDispatcher.h"
#include "windows/qt/ControlView.h"

namespace vornel {

namespace {

// The window's design in twips.
constexpr int kWidthTwips = 7500;
constexpr int kHeightTwips = 3480;
constexpr int kMarginTwips = 240;
constexpr int kIconTwips = 480;
constexpr int kTextLeftTwips = 960;
constexpr int kNameTopTwips = 150;
constexpr int kVersionTopTwips = 840;
constexpr int kMakerTopTwips = 1140;
constexpr int kMailTopTwips = 1680;
constexpr int kWebTopTwips = 2040;
constexpr int kOkTopTwips = 2700;
constexpr int kOkWidthTwips = 1500;
constexpr int kOkHeightTwips = 420;

// Image1: a small piano keyboard.
QPixmap keyboardIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(1.5, size * 0.25, size - 3.0, size * 0.55);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(body, 2, 2);
    const int whites = 7;
    const double keyWidth = body.width() / whites;
    for (int i = 1; i < whites; ++i) {
        const double x = body.left() + i * keyWidth;
        p.drawLine(QPointF(x, body.top()), QPointF(x, body.bottom()));
    }
    // Black keys between the white ones, none after the third and seventh.
    p.setBrush(QColor(30, 30, 30));
    p.setPen(Qt::NoPen);
    for (int i : {1, 2, 4, 5, 6}) {
        const double x = body.left() + i * keyWidth - keyWidth * 0.3;
        p.drawRect(QRectF(x, body.top(), keyWidth * 0.6, body.height() * 0.6));
    }
    return pixmap;
}

// Image2: a pair of beamed eighth notes.
QPixmap musicIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(20, 60, 140);
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    const double s = size;
    const QPointF heads[2] = {{s * 0.28, s * 0.78}, {s * 0.72, s * 0.70}};
    for (const QPointF& head : heads) {
        p.save();
        p.translate(head);
        p.rotate(-20);
        p.drawEllipse(QPointF(0, 0), s * 0.13, s * 0.09);
        p.restore();
    }
    p.setPen(QPen(ink, std::max(1.5, s * 0.06)));
    const double stemX[2] = {heads[0].x() + s * 0.11, heads[1].x() + s * 0.11};
    p.drawLine(QPointF(stemX[0], heads[0].y()), QPointF(stemX[0], s * 0.18));
    p.drawLine(QPointF(stemX[1], heads[1].y()), QPointF(stemX[1], s * 0.10));
    QPainterPath beam;
    beam.moveTo(stemX[0], s * 0.18);
    beam.lineTo(stemX[1], s * 0.10);
    beam.lineTo(stemX[1], s * 0.22);
    beam.lineTo(stemX[0], s * 0.30);
    beam.closeSubpath();
    p.setPen(Qt::NoPen);
    p.drawPath(beam);
    return pixmap;
}

}  // namespace

AboutWindow::AboutWindow(AboutForm& model, QtDispatcher& dispatcher, QWidget* parent)
    : ModelWindow(dispatcher, model.window, [&model] { model.Cmd_Ab_Ok_Click(); }, parent),
      model_(model),
      image1_(plainLabel("Image1", this)),
      image2_(plainLabel("Image2", this)),
      label8_(plainLabel("Label8", this)),
      label1_(plainLabel("Label1", this)),
      label7_(plainLabel("Label7", this)),
      mail_(plainLabel("Lbl_Ab_Mail", this)),
      web_(plainLabel("Lbl_Ab_Web", this)),
      ok_(new QPushButton(this)) {
    setObjectName("frmAbout");
    ok_->setObjectName("Cmd_Ab_Ok");

    const int icon = px(kIconTwips);
    image1_->setGeometry(px(kMarginTwips), px(kMarginTwips), icon, icon);
    image1_->setPixmap(keyboardIcon(icon));
    image2_->setGeometry(px(kWidthTwips - kMarginTwips - kIconTwips), px(kMarginTwips), icon, icon);
    image2_->setPixmap(musicIcon(icon));

    QFont big = label8_->font();
    big.setPointSize(std::max(18, big.pointSize() * 2));
    big.setBold(true);
    label8_->setFont(big);
    label8_->move(px(kTextLeftTwips), px(kNameTopTwips));
    label1_->move(px(kTextLeftTwips), px(kVersionTopTwips));
    label7_->move(px(kTextLeftTwips), px(kMakerTopTwips));
    mail_->move(px(kMarginTwips), px(kMailTopTwips));

    QPalette linkColours = web_->palette();
    linkColours.setColor(QPalette::WindowText, QColor(0, 0, 192));
    web_->setPalette(linkColours);
    QFont underlined = web_->font();
    underlined.setUnderline(true);
    web_->setFont(underlined);
    web_->setCursor(Qt::PointingHandCursor);
    web_->installEventFilter(this);

    ok_->setGeometry(px((kWidthTwips - kOkWidthTwips) / 2), px(kOkTopTwips), px(kOkWidthTwips),
                     px(kOkHeightTwips));
    setFixedSize(px(kWidthTwips), px(kHeightTwips));

    connect(ok_, &QPushButton::clicked, this,
            [this] { forward([this] { model_.Cmd_Ab_Ok_Click(); }); });
    // OK is the window's only button: Enter and Escape both close it.
    setDialogKeys([this] { model_.Cmd_Ab_Ok_Click(); }, [this] { model_.Cmd_Ab_Ok_Click(); });

    // The owner may have given the model its own way to open the address
    // (a test does); otherwise the desktop's browser opens it.
    if (!model_.openUrl) model_.openUrl = &AboutWindow::openInBrowser;

    followModel();
}

bool AboutWindow::openInBrowser(const std::string& address) {
    const QUrl url(qtString(address), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != "https" && url.scheme() != "http")) return false;
    return QDesktopServices::openUrl(url);
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != web_) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        linkPressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = linkPressed_ && mouse->button() == Qt::LeftButton &&
                           web_->rect().contains(mouse->position().toPoint());
        linkPressed_ = false;
        if (click) forward([this] { model_.Lbl_Ab_Web_Click(); });
    }
    return false;
}

void AboutWindow::sync() {
    setWindowTitle(qtString(model_.window.caption));
    for (auto [label, control] :
         {std::pair{label8_, &model_.Label8}, std::pair{label1_, &model_.Label1},
          std::pair{label7_, &model_.Label7}, std::pair{mail_, &model_.Lbl_Ab_Mail},
          std::pair{web_, &model_.Lbl_Ab_Web}}) {
        if (mirrorCaptioned(*label, *control)) label->adjustSize();
    }
    mirrorControl(*image1_, model_.Image1);
    mirrorControl(*image2_, model_.Image2);
    web_->move(px(model_.Lbl_Ab_Web_Left), px(kWebTopTwips));
    mirrorCaptioned(*ok_, model_.Cmd_Ab_Ok);
    fitWidth();
    followVisibility();
}

void AboutWindow::fitWidth() {
    // The design leaves room for the link at its furthest place; a larger
    // system font may still need more, and a text is never cut off.
    int needed = px(kWidthTwips);
    for (const QLabel* label : {label8_, label1_, label7_, mail_, web_})
        needed = std::max(needed, label->geometry().right() + 1 + px(kMarginTwips));
    if (needed != width()) {
        setFixedWidth(needed);
        image2_->move(needed - px(kMarginTwips + kIconTwips), px(kMarginTwips));
        ok_->move((needed - ok_->width()) / 2, ok_->y());
    }
}

}  // namespace vornel
