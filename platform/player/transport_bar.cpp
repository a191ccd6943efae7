// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/player/transport_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <cmath>

namespace sorinel::platform {

namespace {

// Seek-bar steps are tenths of a second.
constexpr int StepsPerSecond = 10;
// An arrow key moves the seek bar by 5 s, Page Up and Down by 30 s; the
// volume by 5 and 10.
constexpr int SeekArrowSeconds = 5;
constexpr int SeekPageSeconds = 30;
constexpr int VolumeArrowStep = 5;
constexpr int VolumePageStep = 10;
// The least width at which the seek bar is still worth dragging.
constexpr int SeekMinimumWidth = 48;

// A slider that jumps to where it is clicked instead of paging towards it.
class JumpSlider : public QSlider {
public:
    using QSlider::QSlider;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && maximum() > minimum()) {
            QStyleOptionSlider opt;
            initStyleOption(&opt);
            const QRect handle = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
            if (!handle.contains(event->position().toPoint())) {
                const int span = std::max(1, width() - handle.width());
                const int x = static_cast<int>(event->position().x()) - handle.width() / 2;
                setValue(QStyle::sliderValueFromPosition(minimum(), maximum(), x, span));
                emit sliderReleased();
                event->accept();
                return;
            }
        }
        QSlider::mousePressEvent(event);
    }
};

// A transport button that Enter and Return press as Space does: a keyboard
// user of a media player expects either.
class BarButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
            animateClick();
            event->accept();
            return;
        }
        QToolButton::keyPressEvent(event);
    }
};

enum class Glyph { Play, Pause, Stop, Sound, Muted };

// Drawn here rather than taken from the style: the desktop's icon theme may
// have no media icons, or dark ones that vanish on the bar's dark ground.
QIcon glyphIcon(Glyph glyph) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 235, 235));
    switch (glyph) {
    case Glyph::Play:
        p.drawPolygon(QPolygonF({QPointF(9, 6), QPointF(26, 16), QPointF(9, 26)}));
        break;
    case Glyph::Pause:
        p.drawRect(QRectF(8, 6, 6, 20));
        p.drawRect(QRectF(18, 6, 6, 20));
        break;
    case Glyph::Stop:
        p.drawRect(QRectF(8, 8, 16, 16));
        break;
    case Glyph::Sound:
    case Glyph::Muted: {
        p.drawPolygon(QPolygonF(
            {QPointF(4, 12), QPointF(10, 12), QPointF(17, 5), QPointF(17, 27), QPointF(10, 20), QPointF(4, 20)}));
        QPen pen(QColor(235, 235, 235), 2.5);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        if (glyph == Glyph::Sound) {
            p.drawArc(QRectF(12, 9, 10, 14), -60 * 16, 120 * 16);
            p.drawArc(QRectF(12, 4, 16, 24), -60 * 16, 120 * 16);
        } else {
            p.drawLine(QPointF(20, 11), QPointF(29, 21));
            p.drawLine(QPointF(29, 11), QPointF(20, 21));
        }
        break;
    }
    }
    return QIcon(pm);
}

// Reached with Tab, not taken by a click: the keyboard stays where a person
// working with the mouse left it.
QToolButton* makeButton(QWidget* parent, Glyph glyph, const QString& name) {
    auto* b = new BarButton(parent);
    b->setIcon(glyphIcon(glyph));
    b->setToolTip(name);
    b->setAccessibleName(name);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::TabFocus);
    b->setIconSize(QSize(16, 16));
    return b;
}

QSlider* makeSlider(QWidget* parent, const QString& name, int arrowStep, int pageStep) {
    auto* slider = new JumpSlider(Qt::Horizontal, parent);
    slider->setFocusPolicy(Qt::TabFocus);
    slider->setToolTip(name);
    slider->setAccessibleName(name);
    slider->setSingleStep(arrowStep);
    slider->setPageStep(pageStep);
    return slider;
}

}  // namespace

QString formatPlayTime(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    const long long total = static_cast<long long>(std::floor(seconds));
    const long long h = total / 3600;
    const long long m = (total / 60) % 60;
    const long long s = total % 60;
    if (h > 0) return QString("%1:%2:%3").arg(h).arg(m, 2, 10, QChar('0')).arg(s, 2, 10, QChar('0'));
    return QString("%1:%2").arg(m).arg(s, 2, 10, QChar('0'));
}

PlayTimeLabel::PlayTimeLabel(QWidget* parent) : QLabel(parent) { setTimes(0, 0); }

void PlayTimeLabel::setTimes(double position, double duration) {
    // Floored alike, a position held at most at the duration never shows a
    // second beyond it ("0:12 / 0:11" when the last frame ends at 11.96 s).
    if (duration > 0 && position > duration) position = duration;
    const QString shownPosition = formatPlayTime(position);
    const QString shownDuration = formatPlayTime(duration);
    const bool longer = shownPosition.size() != position_.size() || shownDuration.size() != duration_.size();
    position_ = shownPosition;
    duration_ = shownDuration;
    setText(position_ + " / " + duration_);
    if (longer) updateGeometry();
}

QString PlayTimeLabel::shownText() const {
    const QFontMetrics metrics = fontMetrics();
    const int room = contentsRect().width();
    for (const QString& candidate : {text(), position_})
        if (metrics.horizontalAdvance(candidate) <= room) return candidate;
    return {};
}

QSize PlayTimeLabel::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    int widestDigit = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widestDigit = std::max(widestDigit, metrics.horizontalAdvance(QChar(digit)));
    int width = 0;
    for (const QChar c : text()) width += c.isDigit() ? widestDigit : metrics.horizontalAdvance(c);
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right() + 2, metrics.height() + margins.top() + margins.bottom()};
}

QSize PlayTimeLabel::minimumSizeHint() const { return sizeHint(); }

void PlayTimeLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

TransportBar::TransportBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(BarHeight);
    setAccessibleName("再生操作");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(32, 32, 32));
    pal.setColor(QPalette::WindowText, Qt::white);
    // The panel a button shows under the mouse is drawn in the button
    // colour, which is near white in a light scheme: the light glyphs would
    // vanish in it.
    pal.setColor(QPalette::Button, QColor(72, 72, 72));
    pal.setColor(QPalette::ButtonText, Qt::white);
    setPalette(pal);

    playPause_ = makeButton(this, Glyph::Play, "再生");
    stop_ = makeButton(this, Glyph::Stop, "停止");
    seek_ = makeSlider(this, "再生位置", SeekArrowSeconds * StepsPerSecond, SeekPageSeconds * StepsPerSecond);
    seek_->setRange(0, 0);
    time_ = new PlayTimeLabel(this);
    mute_ = makeButton(this, Glyph::Sound, "ミュート");
    volume_ = makeSlider(this, "音量", VolumeArrowStep, VolumePageStep);
    volume_->setRange(0, 100);
    volume_->setValue(100);
    volume_->setFixedWidth(70);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 6, 2);
    row->setSpacing(4);
    row->addWidget(playPause_);
    row->addWidget(stop_);
    row->addWidget(seek_, 1);
    row->addWidget(time_);
    row->addWidget(mute_);
    row->addWidget(volume_);

    connect(playPause_, &QToolButton::clicked, this, &TransportBar::playPauseClicked);
    connect(stop_, &QToolButton::clicked, this, &TransportBar::stopClicked);
    connect(mute_, &QToolButton::clicked, this, &TransportBar::muteClicked);
    connect(seek_, &QSlider::sliderReleased, this,
            [this] { emit seekRequested(static_cast<double>(seek_->value()) / StepsPerSecond); });
    connect(seek_, &QSlider::actionTriggered, this, [this](int action) {
        // Keyboard and wheel steps; drags are sent once, on release.
        if (action == QSlider::SliderMove) return;
        emit seekRequested(static_cast<double>(seek_->sliderPosition()) / StepsPerSecond);
    });
    connect(volume_, &QSlider::valueChanged, this, [this](int v) { emit volumeRequested(v); });
}

void TransportBar::showPlaying(bool playing) {
    if (playing == playing_) return;
    playing_ = playing;
    playPause_->setIcon(glyphIcon(playing ? Glyph::Pause : Glyph::Play));
    const QString name = playing ? "一時停止" : "再生";
    playPause_->setToolTip(name);
    playPause_->setAccessibleName(name);
}

void TransportBar::showTimes(double position, double duration) {
    const int max = static_cast<int>(std::lround(std::max(0.0, duration) * StepsPerSecond));
    if (seek_->maximum() != max) seek_->setRange(0, max);
    // Leave the handle alone while the user holds it.
    if (!seek_->isSliderDown()) {
        const QSignalBlocker block(seek_);
        seek_->setValue(static_cast<int>(std::lround(std::max(0.0, position) * StepsPerSecond)));
    }
    time_->setTimes(position, duration);
}

void TransportBar::showMute(bool muted) {
    if (muted == muted_) return;
    muted_ = muted;
    mute_->setIcon(glyphIcon(muted ? Glyph::Muted : Glyph::Sound));
    // The name stays: what the button does is switch the sound off and on.
    mute_->setAccessibleDescription(muted ? "消音中" : QString());
}

bool TransportBar::compact() const { return !seek_->isVisibleTo(this); }

// Below the width that the seek bar, the mute button and the volume need
// beside play, stop and the time, they give way, so what stays is large
// enough to use rather than everything squeezed past use.
void TransportBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QMargins m = layout()->contentsMargins();
    const int spacing = static_cast<const QHBoxLayout*>(layout())->spacing();
    const int fullWidth = m.left() + m.right() + playPause_->sizeHint().width() + stop_->sizeHint().width() +
                          SeekMinimumWidth + time_->sizeHint().width() + mute_->sizeHint().width() + volume_->width() +
                          5 * spacing;
    const bool roomy = width() >= fullWidth;
    if (roomy == !compact()) return;
    for (QWidget* w : {static_cast<QWidget*>(seek_), static_cast<QWidget*>(mute_), static_cast<QWidget*>(volume_)})
        w->setVisible(roomy);
}

void TransportBar::showVolume(int volume) {
    const QSignalBlocker block(volume_);
    volume_->setValue(volume);
}

}  // namespace sorinel::platform
