// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What happens around an advance must not make it pass over a file, stall
// or override a person: another start or a person's stop during its wait,
// an entry chosen that is still selected, a re-read that moves the playing
// file, and a person's own stop and play buttons.

#include <gtest/gtest.h>

#include "rig.h"

namespace sorinel::playback::testing {
namespace {

enum class DuringTheWait { NothingElse, ClipEnds, ClickOnEntry2, PersonStops };

struct WaitRow {
    const char* name;
    DuringTheWait what;
    std::vector<int> started;  // entries, in order
    std::int32_t stateAfter;
};

void PrintTo(const WaitRow& row, std::ostream* os)
{
    *os << row.name;
}

class OvertakenAdvanceTest : public ::testing::TestWithParam<WaitRow> {};

// An end cut of 3 falls due near a file's end; its advance waits about 1.4 s
// (the clock reads .6 past a whole second at the start). The 10 s file ends
// inside that wait, the 30 s one plays on through it.
TEST_P(OvertakenAdvanceTest, LeavesWhatHappenedDuringItsWaitStanding)
{
    const auto& row = GetParam();
    const bool clipEnds = row.what == DuringTheWait::ClipEnds;
    Rig rig(numberedFiles(4));
    rig.clock.local += 0.6;
    rig.timer1.prime(0, true);  // the cut's tick is made by hand below
    rig.player.defaultDuration = clipEnds ? 10.0 : 30.0;
    rig.list.userSelects(0);
    rig.pump.runFor(clipEnds ? 9.3 : 27.8);
    rig.endTime.content = "3";
    if (row.what == DuringTheWait::ClickOnEntry2)
        rig.pump.after(0.4, [&] { rig.list.userSelects(2); });
    if (row.what == DuringTheWait::PersonStops)
        rig.pump.after(0.4, [&] { rig.player.personStops(); });

    rig.seq->Timer1_Timer();  // the cut: its advance runs, wait and all
    rig.pump.runFor(5.0);

    std::vector<std::string> expected;
    for (int k : row.started)
        expected.push_back(rig.path(k));
    EXPECT_EQ(rig.filesStarted(), expected);
    EXPECT_EQ(rig.player.playState(), row.stateAfter);
    EXPECT_EQ(rig.seq->i, row.started.back());
    EXPECT_EQ(rig.player.url(), rig.path(row.started.back()));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OvertakenAdvanceTest,
    ::testing::Values(WaitRow{"CutAloneGoesOn", DuringTheWait::NothingElse, {0, 1}, PlayState::Playing},
                      // The clip's own end advances inside the cut's wait: entry 1 plays
                      // and is not stopped for entry 2.
                      WaitRow{"ClipEndsInsideTheCutsWait", DuringTheWait::ClipEnds, {0, 1}, PlayState::Playing},
                      WaitRow{"ClickedEntryPlaysOn", DuringTheWait::ClickOnEntry2, {0, 2}, PlayState::Playing},
                      // The folder waits with the stopped file loaded, for a person's play.
                      WaitRow{"PersonsStopHolds", DuringTheWait::PersonStops, {0}, PlayState::Stopped}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AdvanceHoldsTest, EntryChosenThatIsStillSelectedPlays)
{
    // i need not address the selected entry (a change of folder keeps i):
    // list order from 0 chooses entry 1, still selected.
    Rig rig;
    rig.list.userSelects(1);
    rig.seq->i = 0;
    rig.seq->NextPlay();
    EXPECT_EQ(rig.filesStarted(), (std::vector<std::string>{rig.path(1), rig.path(1)}));
    EXPECT_EQ(rig.player.playState(), PlayState::Playing);
    EXPECT_EQ(rig.seq->i, 1);
}

struct MoveRow {
    const char* name;
    std::vector<std::string> reread;  // the folder after b.mp4 (row 1) started
    bool repeat;
    bool duringTheAdvance;  // the re-read comes after NextPlay deselected b
    const char* next;
};

void PrintTo(const MoveRow& row, std::ostream* os)
{
    *os << row.name;
}

class RereadTest : public ::testing::TestWithParam<MoveRow> {};

TEST_P(RereadTest, IndexFollowsThePlayingFileToItsNewRow)
{
    const auto& row = GetParam();
    Rig rig({"a0.mp4", "b.mp4", "c.mp4", "d.mp4"});
    rig.list.userSelects(1);
    rig.seq->loopfl = row.repeat ? 1 : 0;
    if (row.duringTheAdvance) {
        rig.pump.atPendingWhen([&] { return rig.player.url().empty(); }, [&] { rig.list.reread(row.reread); });
    } else {
        rig.list.reread(row.reread);
        EXPECT_EQ(rig.list.fileName(), "b.mp4");
        EXPECT_EQ(rig.seq->i, rig.list.listIndex());
    }
    rig.seq->NextPlay();
    EXPECT_EQ(rig.player.url(), rig.list.folder + "/" + row.next);
    EXPECT_EQ(rig.player.playState(), PlayState::Playing);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RereadTest,
    ::testing::Values(
        MoveRow{"AddedAbove", {"a0.mp4", "a1.mp4", "b.mp4", "c.mp4", "d.mp4"}, false, false, "c.mp4"},
        MoveRow{"RemovedAboveRepeat", {"b.mp4", "c.mp4", "d.mp4"}, true, false, "b.mp4"},
        MoveRow{"AddedBelowMovesNothing", {"a0.mp4", "b.mp4", "bb.mp4", "c.mp4"}, false, false, "bb.mp4"},
        MoveRow{"AddedAboveWhileNothingIsSelected", {"a0.mp4", "a1.mp4", "b.mp4", "c.mp4"}, false, true, "c.mp4"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RemovedRow {
    const char* name;
    std::int16_t playing;                 // row of {a, b, c, d} that plays
    std::vector<std::string> rereads[2];  // the folder read again, once or twice
    bool repeat;
    bool wrap;
    std::vector<std::string> next;  // what the next advances start ("" for nothing)
};

void PrintTo(const RemovedRow& row, std::ostream* os)
{
    *os << row.name;
}

class RemovedPlayingFileTest : public ::testing::TestWithParam<RemovedRow> {};

// The playing file leaves the folder and the folder is read again before it
// ends: the advances go on from where it stood.
TEST_P(RemovedPlayingFileTest, TheEntryThatFollowedItComesNext)
{
    const auto& row = GetParam();
    Rig rig({"a.mp4", "b.mp4", "c.mp4", "d.mp4"});
    rig.list.userSelects(row.playing);
    rig.seq->loopfl = row.repeat ? 1 : 0;
    rig.listloop_chk.checked = row.wrap ? 1 : 0;
    for (const auto& folder : row.rereads)
        if (!folder.empty())
            rig.list.reread(folder);
    for (const auto& expected : row.next) {
        rig.seq->NextPlay();
        const std::string url = rig.player.url();
        EXPECT_EQ(url.empty() ? "" : url.substr(rig.list.folder.size() + 1), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RemovedPlayingFileTest,
    ::testing::Values(
        RemovedRow{"ListOrder", 1, {{"a.mp4", "c.mp4", "d.mp4"}}, false, true, {"c.mp4", "d.mp4"}},
        RemovedRow{"LastWithoutWrapEndsTheList", 3, {{"a.mp4", "b.mp4", "c.mp4"}}, false, false, {""}},
        RemovedRow{"LastWithWrapStartsOver", 3, {{"a.mp4", "b.mp4", "c.mp4"}}, false, true, {"a.mp4"}},
        RemovedRow{"FirstOfTheList", 0, {{"b.mp4", "c.mp4", "d.mp4"}}, false, true, {"b.mp4"}},
        // Nothing is left to repeat: list order once, then the new file repeats.
        RemovedRow{"RepeatFollowsListOrderOnce", 1, {{"a.mp4", "c.mp4", "d.mp4"}}, true, true, {"c.mp4", "c.mp4"}},
        // Later re-reads shift its place; it is followed there.
        RemovedRow{"PlaceFollowedThroughLaterRereads",
                   1,
                   {{"a.mp4", "c.mp4", "d.mp4"}, {"a0.mp4", "a1.mp4", "a2.mp4", "c.mp4", "d.mp4"}},
                   false,
                   true,
                   {"c.mp4"}},
        RemovedRow{"ComesBackAndIsTheCurrentEntryAgain",
                   1,
                   {{"a.mp4", "c.mp4"}, {"a.mp4", "b.mp4", "c.mp4"}},
                   false,
                   true,
                   {"c.mp4"}},
        // Back between two re-reads, in repeat order: it repeats, also where
        // it comes back at the very row its place was kept at.
        RemovedRow{
            "ComesBackInRepeatAndRepeats", 1, {{"a.mp4", "c.mp4"}, {"a.mp4", "b.mp4", "c.mp4"}}, true, true, {"b.mp4"}},
        RemovedRow{"ComesBackAtItsKeptRowInRepeatAndRepeats",
                   1,
                   {{"a.mp4", "c.mp4"}, {"b.mp4", "c.mp4"}},
                   true,
                   true,
                   {"b.mp4", "b.mp4"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The desktop's Next pressed again during the pause between two files: each
// press moves one file on.
TEST(AdvanceHoldsTest, EveryPressOfNextMovesOneFileOn)
{
    for (const int presses : {1, 2, 3}) {
        Rig rig(numberedFiles(6));
        rig.list.userSelects(0);
        for (int k = 1; k < presses; ++k)
            rig.pump.after(0.2 * k, [&] { rig.seq->NextWanted(); });
        rig.seq->NextWanted();
        EXPECT_EQ(rig.filesStarted(), (std::vector<std::string>{rig.path(0), rig.path(presses)}));
        // Presses do not outlive their advance.
        rig.seq->NextWanted();
        EXPECT_EQ(rig.player.url(), rig.path(presses + 1));
    }
    // A press while the advance after a file's end waits: the next file, as
    // the end alone would bring.
    Rig rig(numberedFiles(6));
    rig.list.userSelects(0);
    rig.pump.after(0.2, [&] { rig.seq->NextWanted(); });
    rig.seq->NextPlay();
    EXPECT_EQ(rig.player.url(), rig.path(1));
}

// Two presses of Next close to a file's end, or to the end-cut tick that
// falls due, swept over their moments: the end and the first press ask for
// the same move, so the folder lands two files on from the one that played at
// the first press. A press pair that moved one file lost the second press to
// the advance the end started inside the first press's wait.
TEST(AdvanceHoldsTest, TwoPressesOfNextNearAnEndMoveTwoFiles)
{
    for (const bool byCut : {false, true}) {
        int pairs = 0;
        int wrong = 0;
        // The end at 10 s, or a cut of 3 on a 30 s file: due from 27.5 s, cut
        // at the first 2-s tick after that.
        const double end = byCut ? 28.0 : 10.0;
        for (double first = end - 1.6; first < end + 1.6; first += 0.1) {
            for (double gap = 0.05; gap < 1.5; gap += 0.2) {
                Rig rig(numberedFiles(6));
                rig.player.defaultDuration = byCut ? 30.0 : 10.0;
                rig.endTime.content = byCut ? "3" : "";
                rig.list.userSelects(0);
                const double start = rig.clock.monotonic;
                int playingAtFirst = -1;
                rig.pump.at(start + first, [&] {
                    for (int k = 0; k < 6; ++k)
                        if (rig.player.url() == rig.path(k))
                            playingAtFirst = k;
                    rig.seq->NextWanted();
                });
                rig.pump.at(start + first + gap, [&] { rig.seq->NextWanted(); });
                rig.pump.runFor(first + gap + 4.0);
                ++pairs;
                // Nothing loaded at the first press: the end's advance was on
                // its way from file 0.
                const int from = playingAtFirst < 0 ? 0 : playingAtFirst;
                if (rig.player.url() != rig.path(from + 2))
                    ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << wrong << " of " << pairs << " press pairs around "
                            << (byCut ? "an end cut" : "a file's end") << " did not move two files";
    }
}

struct PlayRow {
    const char* name;
    int entries;
    std::int16_t selected;  // -1: none
    std::int16_t i;
    int plays;  // the entry that plays, -1: none
};

void PrintTo(const PlayRow& row, std::ostream* os)
{
    *os << row.name;
}

class PlayWithoutMediaTest : public ::testing::TestWithParam<PlayRow> {};

TEST_P(PlayWithoutMediaTest, PlaysTheSelectedEntryOrElseTheOneIAddresses)
{
    const auto& row = GetParam();
    Rig rig(numberedFiles(row.entries));
    rig.list.selected = row.selected;  // selected with nothing loaded
    rig.seq->i = row.i;
    rig.player.personPlays();
    if (row.plays < 0) {
        EXPECT_TRUE(rig.filesStarted().empty());
    } else {
        EXPECT_EQ(rig.filesStarted(), std::vector<std::string>{rig.path(row.plays)});
        EXPECT_EQ(rig.seq->i, row.plays);
        EXPECT_EQ(rig.list.selected, row.plays);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, PlayWithoutMediaTest,
                         ::testing::Values(PlayRow{"TheEndOfTheListPlaysTheLastFileAgain", 3, -1, 2, 2},
                                           PlayRow{"SelectedEntryWins", 3, 1, 2, 1},
                                           PlayRow{"IndexPastTheListPlaysTheLast", 3, -1, 7, 2},
                                           PlayRow{"IndexBelowTheListPlaysTheFirst", 3, -1, -1, 0},
                                           PlayRow{"EmptyListDoesNothing", 0, -1, 0, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sorinel::playback::testing
