// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window Form1: its fourteen controls in their initial state, the
// window's events, and the handlers wired to them.
//
// Events and when they are raised:
//   Load     once, by raiseLoad(), after the controls exist and before the
//            first show (the composition root calls it);
//   Resize   on the first show, every size change and every change between
//            minimised and normal (the layout pass); the size is the outer
//            one, so a frame that the window manager adds or changes after
//            the first show raises it too;
//   Activate on the first show and on every show after a hide, not when the
//            user merely switches back from another program; a window that
//            shows itself minimised (its tray gone) is activated when the
//            user restores it;
//   Unload   on close; the close always goes ahead, and a second close while
//            the first is still winding down is ignored.
// Resize and Activate are raised from the event loop right after the Qt event
// that causes them, in that order, because their handlers pump events and
// must not run inside Qt's own show and resize code.

#include <QPushButton>
#include <QWidget>
#include <memory>

#include "platform/player/media_player.h"
#include "playback/ports.h"
#include "playback/sequence.h"
#include "tray/form_access.h"
#include "window/controls/check_box.h"
#include "window/controls/file_list_box.h"
#include "window/controls/image_box.h"
#include "window/controls/interval_timer.h"
#include "window/controls/open_file_dialog.h"
#include "window/controls/text_box.h"

namespace sorinel::tray {
class TrayLossWatch;
}

namespace sorinel::window {

class Form1Ports;
class Form1Layout;
class Form1TrayAccess;

class Form1 : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Sorinel！　Ver10.03";

    // clock and random must outlive the window.
    Form1(playback::Clock& clock, playback::RandomSource& random, QWidget* parent = nullptr);
    ~Form1() override;

    // Controls, in creation order, under the names the handlers use.
    CheckBox* listloop_chk;
    IntervalTimer* Timer2;
    CheckBox* full_chk;
    IntervalTimer* Timer1;
    TextBox* EndTime_txt;
    TextBox* StartTime_txt;
    CheckBox* randam_chk;
    CheckBox* loop_chk;
    std::unique_ptr<OpenFileDialog> CommonDialog1;
    FileListBox* File1;
    QPushButton* Command1;
    ImageBox* Img_taskbar;
    platform::MediaPlayer* MediaPlayer1;
    ImageBox* Image1;

    playback::PlaybackSequence& sequence() { return *sequence_; }
    tray::FormAccess& trayAccess();
    std::uint32_t hWnd();

    // The Load event.
    void raiseLoad();

    // Handlers. The play-list ones forward to the sequence.
    void Form_Load();
    void Form_Resize();
    void Form_Activate();
    void Form_Unload();
    void File1_Click();
    void File1_EntryMoved(std::int16_t from, std::int16_t to);
    void File1_EntryRemoved(std::int16_t from, std::int16_t following);
    void Command1_Click();
    void loop_chk_Click();
    void randam_chk_Click();
    void StartTime_txt_Click();
    void EndTime_txt_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void MediaPlayer1_PlayStateChange(int NewState);
    void MediaPlayer1_Click(std::int16_t nButton, std::int16_t nShiftState, float fX, float fY);
    void MediaPlayer1_StoppedByUser();
    void MediaPlayer1_PlayWithoutMedia();

    // A file or folder handed over from outside (the command line, the
    // desktop's media controls): the list shows the folder, and a file's
    // entry is selected, so it plays as after a click and the folder goes on
    // from there. Throws when the folder cannot be shown or the file is not
    // in the list; the list then keeps what it could do.
    void openMedia(const QString& folder, const QByteArray& fileName);

    // Whether the tray icon is there to bring the window back once hidden.
    bool trayHoldsWindow();
    // Hides the window, which lives on as the tray icon (the layout pass of a
    // minimised window).
    void putAwayInTray();

    // Ends the program: no handler runs afterwards and the event loop exits
    // with status 0.
    void endProgram();
    bool ended() const { return ended_; }

signals:
    // The player was handed a file, or the empty string that unloads it.
    void mediaUrlChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void applyPlayerSettings();
    void setupTabOrder();
    void setupPlaybackConnections();
    void setupFolderConnections();
    void setupOptionConnections();
    void setupKeyboardAndNames();
    void raiseLater(void (Form1::*handler)());
    // Sizes the texts that have no font of their own to their controls.
    void fitTexts();
    // Shows the title picture over the idle player, never over media.
    void updateTitlePicture();
    void keepTransportBarInSight();

    playback::RandomSource& random_;
    std::unique_ptr<Form1Ports> ports_;
    std::unique_ptr<playback::PlaybackSequence> sequence_;
    std::unique_ptr<Form1Layout> layout_;
    std::unique_ptr<Form1TrayAccess> trayAccess_;
    std::unique_ptr<tray::TrayLossWatch> trayLossWatch_;
    bool activateWhenRestored_ = false;
    // The outer size the last layout pass started from.
    QSize laidOutOuterSize_;
    unsigned layoutPasses_ = 0;  // layout passes begun, nested ones included
    bool loaded_ = false;
    bool unloading_ = false;
    bool ended_ = false;
};

}  // namespace sorinel::window
