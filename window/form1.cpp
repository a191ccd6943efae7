// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QPalette>
#include <stdexcept>
#include <type_traits>

#include "platform/failures.h"
#include "platform/engine/engine_log.h"
#include "platform/shell/notify_icon.h"
#include "platform/player/transport_bar.h"
#include "tray/lifecycle.h"
#include "tray/mod_wnd_proc.h"
#include "tray/tray_icon.h"
#include "tray/tray_record.h"
#include "window/folder_choice.h"
#include "window/form1_layout.h"
#include "window/form1_tray_access.h"
#include "window/accessible_roles.h"
#include "window/controls/list_name_tips.h"
#include "window/layout.h"
#include "window/list_play_gestures.h"
#include "window/option_handlers.h"
#include "window/play_pause_key.h"
#include "window/playback_ports.h"
#include "window/readable_fonts.h"
#include "window/screen_saver_while_video.h"
#include "desktop/screensaver/screen_saver_inhibitor.h"
#include "tray/tray_loss_watch.h"
#include "window/twips.h"
#include "platform/shell/window_handles.h"
#include "playback/failure_stop.h"

// The pictures live in a static library: their resource must be pulled in by
// hand, from outside any namespace.
static void initPictures() { Q_INIT_RESOURCE(resources); }

namespace sorinel::window {

// The play-list logic's view of the controls, owned by the window.
class Form1Ports {
public:
    Form1Ports(Form1& form, std::function<void()> urlChanged)
        : player(*form.MediaPlayer1, std::move(urlChanged)),
          list(*form.File1),
          loop(*form.loop_chk),
          randam(*form.randam_chk),
          listloop(*form.listloop_chk),
          full(*form.full_chk),
          startTime(*form.StartTime_txt),
          endTime(*form.EndTime_txt),
          timer1(*form.Timer1),
          timer2(*form.Timer2) {}

    PlayerPort player;
    FileListPort list;
    CheckBoxPort loop;
    CheckBoxPort randam;
    CheckBoxPort listloop;
    CheckBoxPort full;
    TextBoxPort startTime;
    TextBoxPort endTime;
    TimerPort timer1;
    TimerPort timer2;
    QtEventPump events;
};

namespace {

constexpr const char* kPictureIcon = ":/sorinel-icon.ico";
constexpr const char* kPictureTitle = ":/title.gif";
constexpr const char* kDialogText = "メディアファイル";

// Creation geometry, in twips from the client area's top-left corner.
QRect fromTwips(float left, float top, float width, float height) {
    return QRect(pixelsFromTwips(left), pixelsFromTwips(top), sizeFromTwips(width), sizeFromTwips(height));
}

void setColours(QWidget* w, QPalette::ColorRole backRole, const QColor& back,
                QPalette::ColorRole textRole = QPalette::NoRole, const QColor& text = QColor()) {
    QPalette p = w->palette();
    p.setColor(backRole, back);
    if (textRole != QPalette::NoRole) p.setColor(textRole, text);
    w->setPalette(p);
    if (backRole == QPalette::Window) w->setAutoFillBackground(true);
}

// The seconds boxes ask for the desktop font they were designed with and fall
// back to an installed Japanese gothic of the same kind.
QFont secondsBoxFont() {
    const QString designed = QString::fromUtf8("ＭＳ Ｐゴシック");
    const QStringList fallbacks = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                   QStringLiteral("Noto Sans CJK JP")};
    QFont::insertSubstitutions(designed, fallbacks);
    QFont font(designed);
    font.setFamilies(QStringList{designed} + fallbacks);
    font.setPointSizeF(11.25);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

CheckBox* makeCheckBox(const char* text, QWidget* parent, QRect geometry) {
    auto* box = new CheckBox(QString::fromUtf8(text), parent);
    box->setGeometry(geometry);
    box->setBackgroundRole(QPalette::Window);  // buttons fill with the button colour otherwise
    setColours(box, QPalette::Window, Qt::black, QPalette::WindowText, Qt::white);
    return box;
}

TextBox* makeSecondsBox(const char* text, QWidget* parent, QRect geometry, const QColor& back) {
    auto* box = new TextBox(QString::fromUtf8(text), parent);
    box->setGeometry(geometry);
    box->setFont(secondsBoxFont());
    // The box is 250 twips high and its font 11.25 points: a drawn frame
    // would leave too little room and cut the text at top and bottom. The
    // box's colour marks it out instead.
    box->setFrame(false);
    setColours(box, QPalette::Base, back);
    return box;
}

// The dialog and the list as the folder choice sees them.
class DialogChooser final : public FileChooser {
public:
    explicit DialogChooser(OpenFileDialog& dialog) : dialog_(dialog) {}
    bool showOpen() override { return dialog_.showOpen(); }
    QString chosenPath() const override { return dialog_.FileName(); }
    QString chosenTitle() const override { return dialog_.FileTitle(); }

private:
    OpenFileDialog& dialog_;
};

class ListFolder final : public FolderTarget {
public:
    explicit ListFolder(FileListBox& list) : list_(list) {}
    void setFolder(const QString& folder) override { list_.setPath(folder); }

private:
    FileListBox& list_;
};

}  // namespace

Form1::Form1(playback::Clock& clock, playback::RandomSource& random, QWidget* parent)
    : QWidget(parent), random_(random) {
    installAccessibleRoles();  // before any control is asked for its role
    initPictures();
    createControls();
    applyPlayerSettings();
    setupTabOrder();

    ports_ = std::make_unique<Form1Ports>(*this, [this] {
        updateTitlePicture();
        emit mediaUrlChanged();
    });
    sequence_ = std::make_unique<playback::PlaybackSequence>(playback::SequenceControls{
        ports_->player, ports_->list, ports_->loop, ports_->randam, ports_->listloop, ports_->full, ports_->startTime,
        ports_->endTime, ports_->timer1, ports_->timer2, clock, random_, ports_->events});
    layout_ = std::make_unique<Form1Layout>(*this);
    trayAccess_ = std::make_unique<Form1TrayAccess>(*this, ports_->timer1, ports_->timer2, ports_->player);
    trayLossWatch_ = std::make_unique<tray::TrayLossWatch>(*this, [this] { return trayHoldsWindow(); });

    setupPlaybackConnections();
    setupFolderConnections();
    setupOptionConnections();
    setupKeyboardAndNames();
    fitTexts();
}

// A window destroyed without being closed (tests, a failed start) still takes
// its tray icon away and stops the hook from reaching it.
Form1::~Form1() {
    if (loaded_ && !unloading_) {
        playback::stopFailure("taking the tray icon away", [&] { tray::TrayDelete(*trayAccess_); });
    }
    tray::modWndProc::releaseForm(*trayAccess_);
}

void Form1::createControls() {
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowIcon(QIcon(QString::fromLatin1(kPictureIcon)));
    resize(sizeFromTwips(6270), sizeFromTwips(5010));
    // The desktop's window-frame colour: black in the classic schemes.
    setColours(this, QPalette::Window, Qt::black);

    listloop_chk = makeCheckBox("リストループ", this, fromTwips(4440, 4080, 1455, 255));
    listloop_chk->setObjectName("listloop_chk");
    listloop_chk->setValue(1);
    Timer2 = new IntervalTimer(0, true, this);
    Timer2->setObjectName("Timer2");
    full_chk = makeCheckBox("フルスクリーン", this, fromTwips(4440, 3840, 1455, 255));
    full_chk->setObjectName("full_chk");
    Timer1 = new IntervalTimer(kTimer1IntervalMs, true, this);
    Timer1->setObjectName("Timer1");
    EndTime_txt = makeSecondsBox("終了秒", this, fromTwips(5280, 4680, 855, 270), QColor(255, 192, 192));
    EndTime_txt->setObjectName("EndTime_txt");
    StartTime_txt = makeSecondsBox("開始秒", this, fromTwips(4440, 4680, 855, 270), QColor(192, 192, 255));
    StartTime_txt->setObjectName("StartTime_txt");
    randam_chk = makeCheckBox("ﾗﾝﾀﾞﾑ", this, fromTwips(5280, 3600, 975, 255));
    randam_chk->setObjectName("randam_chk");
    loop_chk = makeCheckBox("ﾙｰﾌﾟ", this, fromTwips(4440, 3600, 735, 255));
    loop_chk->setObjectName("loop_chk");
    CommonDialog1 = std::make_unique<OpenFileDialog>(this);
    CommonDialog1->setDialogTitle(QString::fromUtf8(kDialogText));
    File1 = new FileListBox(this);
    File1->setObjectName("File1");
    File1->setGeometry(fromTwips(4440, 0, 1695, 2790));
    setColours(File1, QPalette::Base, Qt::black, QPalette::Text, Qt::white);
    Command1 = new QPushButton(QString::fromUtf8("フォルダ設定"), this);
    Command1->setObjectName("Command1");
    Command1->setGeometry(fromTwips(4440, 3120, 1695, 420));
    setColours(Command1, QPalette::Button, Qt::white);
    Img_taskbar = new ImageBox(this);
    Img_taskbar->setObjectName("Img_taskbar");
    Img_taskbar->setGeometry(fromTwips(2400, 1680, 720, 720));
    Img_taskbar->setPictureFile(QString::fromLatin1(kPictureIcon));
    Img_taskbar->hide();
    MediaPlayer1 = new platform::MediaPlayer(this);
    MediaPlayer1->setObjectName("MediaPlayer1");
    MediaPlayer1->setPlacement(fromTwips(0, 0, 4440, 4275));
    new ScreenSaverWhileVideo(*MediaPlayer1, desktop::makeScreenSaverInhibitor(QCoreApplication::applicationName()));
    // Created after the player, so it lies over it.
    Image1 = new ImageBox(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(fromTwips(0, 0, 4380, 3780));
    Image1->setPictureFile(QString::fromLatin1(kPictureTitle));
}

void Form1::applyPlayerSettings() {
    MediaPlayer1->setUiMode(QStringLiteral("full"));
    MediaPlayer1->setAutoStart(true);
    MediaPlayer1->setVolume(100);
    MediaPlayer1->setMute(false);
    MediaPlayer1->setRate(1.0);
    MediaPlayer1->setBalance(0);
    MediaPlayer1->setStretchToFit(true);
    MediaPlayer1->setEnableContextMenu(true);
    MediaPlayer1->setEnabled(true);
}

void Form1::setupTabOrder() {
    if (MediaPlayer1->focusPolicy() == Qt::NoFocus) MediaPlayer1->setFocusPolicy(Qt::TabFocus);
    QList<QWidget*> order = {File1,       Command1, loop_chk,     randam_chk,  StartTime_txt,
                             EndTime_txt, full_chk, MediaPlayer1, listloop_chk};
    // The player's transport bar follows, so Tab reaches it as well.
    if (const auto* bar = MediaPlayer1->findChild<platform::TransportBar*>())
        for (QWidget* w : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->focusPolicy() & Qt::TabFocus) order.push_back(w);
    for (qsizetype k = 0; k + 1 < order.size(); ++k) setTabOrder(order[k], order[k + 1]);
    File1->setFocus();
}

// Every connection goes through guard(): once the program has ended no
// handler runs, and a handler that fails does not take the event loop down
// with it (nothing is reported to the user).
namespace {
template <typename Form, typename Fn>
auto guard(Form* form, Fn fn) {
    return [form, fn](auto... args) {
        if (form->ended()) return;
        platform::atEventLoopBoundary("window handler", [&] {
            if constexpr (std::is_invocable_v<Fn, decltype(args)...>)
                fn(args...);
            else
                fn();  // a handler that takes none of the signal's arguments
        });
    };
}
}  // namespace

void Form1::setupPlaybackConnections() {
    connect(File1, &FileListBox::Click, this, guard(this, [this] { File1_Click(); }));
    connect(File1, &FileListBox::EntryMoved, this,
            guard(this, [this](std::int16_t from, std::int16_t to) { File1_EntryMoved(from, to); }));
    connect(File1, &FileListBox::EntryRemoved, this,
            guard(this, [this](std::int16_t from, std::int16_t following) { File1_EntryRemoved(from, following); }));
    connect(Timer1, &IntervalTimer::Timer, this, guard(this, [this] { Timer1_Timer(); }));
    connect(Timer2, &IntervalTimer::Timer, this, guard(this, [this] { Timer2_Timer(); }));
    connect(MediaPlayer1, &platform::MediaPlayer::playStateChange, this,
            guard(this, [this](int state) { MediaPlayer1_PlayStateChange(state); }));
    connect(MediaPlayer1, &platform::MediaPlayer::click, this,
            guard(this, [this](int button, int shift, float x, float y) {
                MediaPlayer1_Click(static_cast<std::int16_t>(button), static_cast<std::int16_t>(shift), x, y);
            }));
    // A person's stop and play, on top of the ordinary reports: the folder
    // waits after a stop, and play with nothing loaded starts the list.
    connect(MediaPlayer1, &platform::MediaPlayer::stoppedByUser, this,
            guard(this, [this] { MediaPlayer1_StoppedByUser(); }));
    connect(MediaPlayer1, &platform::MediaPlayer::playWantedWithoutMedia, this,
            guard(this, [this] { MediaPlayer1_PlayWithoutMedia(); }));
}

void Form1::setupFolderConnections() {
    connect(Command1, &QPushButton::clicked, this, guard(this, [this] { Command1_Click(); }));
}

void Form1::setupOptionConnections() {
    connect(loop_chk, &CheckBox::Click, this, guard(this, [this] { loop_chk_Click(); }));
    connect(randam_chk, &CheckBox::Click, this, guard(this, [this] { randam_chk_Click(); }));
    connect(StartTime_txt, &TextBox::Click, this, guard(this, [this] { StartTime_txt_Click(); }));
    connect(EndTime_txt, &TextBox::Click, this, guard(this, [this] { EndTime_txt_Click(); }));
}

// What a person used to media players does with the keys and the mouse
// beyond the handlers, and the names a screen reader gives the controls that
// show no text of their own (or, the seconds boxes, lose it to what is typed).
void Form1::setupKeyboardAndNames() {
    new PlayPauseKey(*this, guard(this, [this] { MediaPlayer1->playPauseByUser(); }));
    new ListPlayGestures(*File1, *MediaPlayer1, *full_chk);
    new ListNameTips(*File1);
    File1->setAccessibleName(QString::fromUtf8("ファイル一覧"));
    StartTime_txt->setAccessibleName(QString::fromUtf8("開始秒"));
    EndTime_txt->setAccessibleName(QString::fromUtf8("終了秒"));
    Image1->setAccessibleName(QString::fromUtf8("タイトル画像"));
}

tray::FormAccess& Form1::trayAccess() { return *trayAccess_; }

std::uint32_t Form1::hWnd() { return platform::handleOfWindow(*this); }

void Form1::raiseLoad() {
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

void Form1::Form_Load() { tray::Form_Load(*trayAccess_); }
void Form1::Form_Resize() {
    const unsigned pass = ++layoutPasses_;
    laidOutOuterSize_ = frameGeometry().size();
    window::Form_Resize(*layout_);
    fitTexts();
    keepTransportBarInSight();
    // A pass nested in this one (at its yields, when the window manager's
    // frame or another size arrived meanwhile) laid out the newer size, and
    // this pass has just placed the controls over it from the size it read
    // before. One more pass lays out the size the window has now.
    if (layoutPasses_ != pass) raiseLater(&Form1::Form_Resize);
}

void Form1::Form_Activate() { sequence_->Form_Activate(); }
void Form1::Form_Unload() { tray::Form_Unload(*trayAccess_); }

void Form1::File1_Click() {
    platform::traceStep("list click");
    sequence_->File1_Click();
}
void Form1::File1_EntryMoved(std::int16_t from, std::int16_t to) { sequence_->File1_EntryMoved(from, to); }
void Form1::File1_EntryRemoved(std::int16_t from, std::int16_t following) {
    sequence_->File1_EntryRemoved(from, following);
}
void Form1::Timer1_Timer() { sequence_->Timer1_Timer(); }
void Form1::Timer2_Timer() { sequence_->Timer2_Timer(); }

void Form1::MediaPlayer1_PlayStateChange(int NewState) {
    updateTitlePicture();
    sequence_->MediaPlayer1_PlayStateChange(NewState);
}

void Form1::MediaPlayer1_StoppedByUser() { sequence_->MediaPlayer1_StoppedByUser(); }
void Form1::MediaPlayer1_PlayWithoutMedia() { sequence_->MediaPlayer1_PlayWithoutMedia(); }

void Form1::MediaPlayer1_Click(std::int16_t nButton, std::int16_t nShiftState, float fX, float fY) {
    sequence_->MediaPlayer1_Click(nButton, nShiftState, fX, fY);
}

void Form1::Command1_Click() {
    CommonDialog1->setInitDir(File1->Path());
    DialogChooser dialog(*CommonDialog1);
    ListFolder list(*File1);
    chooseFolder(dialog, list);
}

void Form1::loop_chk_Click() {
    OrderOptions options{*loop_chk, *randam_chk, sequence_->loopfl, sequence_->randfl, random_};
    window::loop_chk_Click(options);
}

void Form1::randam_chk_Click() {
    OrderOptions options{*loop_chk, *randam_chk, sequence_->loopfl, sequence_->randfl, random_};
    window::randam_chk_Click(options);
}

void Form1::StartTime_txt_Click() { selectToEnd(*StartTime_txt); }
void Form1::EndTime_txt_Click() { selectToEnd(*EndTime_txt); }

void Form1::openMedia(const QString& folder, const QByteArray& fileName) {
    // The list must know the fifteen kinds even before the first layout pass
    // has written them, as it may not have when the window has only just
    // been shown.
    const QString media = QString::fromLatin1(kMediaPattern);
    if (File1->Pattern() != media) File1->setPattern(media);
    File1->setPath(folder);
    if (fileName.isEmpty()) return;
    for (std::int16_t k = 0; k < File1->ListCount(); ++k) {
        if (File1->nativeEntry(k) != fileName) continue;
        // Selecting the entry that is already selected changes nothing:
        // deselect it first, as the advance does, so it plays from its start.
        if (File1->ListIndex() == k) File1->setSelected(k, false);
        File1->setSelected(k, true);
        return;
    }
    throw std::runtime_error("the file is not in the list");
}

bool Form1::trayHoldsWindow() {
    const QSystemTrayIcon* icon = platform::findNotifyIcon(hWnd(), tray::kTrayIconId);
    return icon && icon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void Form1::putAwayInTray() {
    hide();
    trayLossWatch_->windowPutAway();
}

void Form1::fitTexts() {
    fitReadableFonts({File1, Command1, {full_chk, listloop_chk}, {loop_chk, randam_chk}}, QApplication::font());
}

// The title picture takes fourteen sixteenths of the player's height, which
// leaves the transport bar its room only while the window is tall enough: in
// a small window the picture would cover the bar's buttons. What lies over
// the bar is cut away from the picture instead.
void Form1::keepTransportBarInSight() {
    const QRect player = MediaPlayer1->placement();
    const int barTop = player.bottom() + 1 - platform::TransportBar::BarHeight - Image1->y();
    if (MediaPlayer1->uiMode() == QStringLiteral("full") && barTop < Image1->height())
        Image1->setMask(QRegion(0, 0, Image1->width(), std::max(0, barTop)));
    else
        Image1->clearMask();
}

void Form1::updateTitlePicture() { Image1->setVisible(MediaPlayer1->url().isEmpty()); }

void Form1::endProgram() {
    if (ended_) return;
    ended_ = true;
    trayLossWatch_->stop();
    sequence_->endProgram();
    Timer1->setEnabled(false);
    Timer2->setEnabled(false);
    QCoreApplication::exit(0);
}

void Form1::raiseLater(void (Form1::*handler)()) {
    QMetaObject::invokeMethod(
        this,
        [this, handler] {
            if (ended_) return;
            platform::atEventLoopBoundary("window event", [&] { (this->*handler)(); });
        },
        Qt::QueuedConnection);
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    raiseLater(&Form1::Form_Resize);
}

// A window manager frames the window only after the first show: the first
// pass then read the client size as the outer size. The frame arrives with
// the move that places the framed window, so a move that changes the outer
// size is a size change like any other.
void Form1::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (frameGeometry().size() != laidOutOuterSize_) raiseLater(&Form1::Form_Resize);
}

void Form1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    raiseLater(&Form1::Form_Resize);
    if (activateWhenRestored_ && !isMinimized()) {
        activateWhenRestored_ = false;
        raiseLater(&Form1::Form_Activate);
    }
}

// A window that comes back minimised by itself has not been activated: that
// waits until the user restores the window.
void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    trayLossWatch_->stop();
    if (isMinimized())
        activateWhenRestored_ = true;
    else
        raiseLater(&Form1::Form_Activate);
}

void Form1::closeEvent(QCloseEvent* event) {
    if (unloading_ && !ended_) {
        event->ignore();  // already winding down
        return;
    }
    if (!unloading_) {
        unloading_ = true;
        playback::stopFailure("Form_Unload", [&] { Form_Unload(); });
        if (!ended_) endProgram();
    }
    event->accept();
}

}  // namespace sorinel::window
