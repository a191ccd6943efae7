// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The play-list state and the handlers that play one file after another:
// playing the selected entry, choosing the next one, the player's state
// reports, the end-cut and stop-confirmation timers, click-to-pause and the
// cooperative wait.
//
// Re-entrancy is part of the design: the handlers pump pending events at
// fixed points, so any handler (this class's or the window's) may run nested
// inside another; the steps after each pumping point use the state as they
// find it.

#include <cstdint>
#include <vector>

#include "playback/ports.h"

namespace sorinel::playback {

struct SequenceControls {
    Player& MediaPlayer1;
    FileList& File1;
    CheckBox& loop_chk;
    CheckBox& randam_chk;
    CheckBox& listloop_chk;
    CheckBox& full_chk;
    TextBox& StartTime_txt;
    TextBox& EndTime_txt;
    Timer& Timer1;
    Timer& Timer2;
    Clock& clock;
    RandomSource& random;
    EventPump& events;
};

class PlaybackSequence {
public:
    explicit PlaybackSequence(const SequenceControls& controls);

    // Play-list state. i: index of the current entry; loopfl: repeat;
    // randfl: random order; nextfl: a transitioning report has armed the
    // advance. The window's option handlers write loopfl and randfl.
    std::int16_t i = 0;
    std::int16_t loopfl = 0;
    std::int16_t randfl = 0;
    std::int16_t nextfl = 0;

    void NextPlay();
    void File1_Click();
    void Form_Activate();
    void MediaPlayer1_PlayStateChange(std::int32_t NewState);
    void Timer1_Timer();
    void Timer2_Timer();
    void MediaPlayer1_Click(std::int16_t nButton, std::int16_t nShiftState, float fX, float fY);

    // A person stopped playback (the player's stop button or menu), reported
    // right after the player's ordinary stopped report. The folder then
    // waits: no confirmation tick advances, and an advance or a start skip
    // that is waiting ends after its wait without touching the player.
    void MediaPlayer1_StoppedByUser();
    // A person asked to play while nothing is loaded (after the end of the
    // list, say): plays the selected entry, or else the entry i addresses,
    // kept inside the list. An empty list does nothing.
    void MediaPlayer1_PlayWithoutMedia();
    // A re-read of the list found its current entry (the one last selected,
    // also after it was deselected) at row `to`, having stood at `from`:
    // moved, or back in the folder. i follows it when it addressed that
    // entry.
    void File1_EntryMoved(std::int16_t from, std::int16_t to);
    // A re-read does not find the current entry, whose place was row `from`;
    // the entries from row `following` on list after it (raised again when a
    // later re-read shifts that place). When i addressed it, the next
    // advance goes on with the entry that followed, in every order but
    // random (repeat has nothing left to repeat).
    void File1_EntryRemoved(std::int16_t from, std::int16_t following);

    // The desktop's Next: moves one file on, like the end of a file. Pressed
    // again while the advance it started waits for its pause, each press
    // moves one file further when that advance chooses, or when the file's
    // end or end cut, falling due inside that wait, chooses in its stead.
    void NextWanted();

    // NextPlay calls on the stack now (nested ones included).
    int advancesInProgress() const { return advancesInProgress_; }

    // Waits sc whole seconds (within half a second) while events are handled.
    // Returns the clock reading when the wait ended, 0 after an error.
    double WaitTimer(std::int32_t sc);

    // Closing the window: after beginShutdown() no handler starts a file;
    // after endProgram() every wait ends at once and the handlers that are
    // still on the stack return without touching the player.
    void beginShutdown();
    void endProgram();
    bool shuttingDown() const;
    bool ended() const;

private:
    // Handles pending events once; false when the program ended meanwhile,
    // so the caller returns without touching the player.
    bool pumpOnce();
    void playSelectedEntry();
    void selectToPlay(std::int16_t index);
    void advance();
    void startHandling();
    void endCutCheck();
    // The next index by the order options, or nothing to select.
    bool chooseNextIndex(std::int16_t highest);
    bool chooseInListOrder(std::int16_t highest);

    SequenceControls c_;
    int skipsInProgress_ = 0;  // start skips on the stack, nested in one another
    int advancesInProgress_ = 0;
    // Counts what a waiting advance or start skip must not undo: a file handed
    // to the player or announced by it as starting (a nested advance, a
    // click, a person's play) and a person's stop. One that sees it change
    // during its wait ends after the wait and leaves the player alone.
    unsigned takeovers_ = 0;
    // The entry i addressed has left the folder; i stands just before the
    // entry that followed it.
    bool currentGone_ = false;
    // Advances started by Next that still wait to choose their next file,
    // each with takeovers_ as it began (the innermost last), and the presses
    // of Next that came while the innermost stood, each one more file for
    // the advance that chooses first.
    bool nextPressesCount() const;
    bool startedByNext_ = false;
    std::vector<unsigned> nextAdvancesWaiting_;
    int extraSteps_ = 0;
    bool shuttingDown_ = false;
    bool ended_ = false;
};

}  // namespace sorinel::playback
