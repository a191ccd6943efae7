// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The state numbers the player reports, driven by scripted requests and
// engine events: each row is one story from setUrl to its end, including
// the stale events of replaced files that must change nothing.
#include "platform/player/play_state_machine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorinel::platform {
namespace {

enum class Op {
    Load,         // setUrl(path) with auto-start
    LoadPaused,   // setUrl(path) with auto-start off
    Issued,       // the engine accepted the file as entry `arg`
    IssueFailed,  // the engine refused the file
    Unload,       // setUrl("")
    Play,
    Pause,
    Stop,
    Started,          // engine: entry `arg` started
    Loaded,           // engine: the last started entry is loaded
    Restarted,        // engine: playback runs (after load or a seek)
    RestartedPaused,  // the same, with the engine still holding a pause
    Ended,            // engine: entry `arg` ended
    EndReached,       // engine: the last started entry reached its end
};

struct Step {
    Op op;
    long long arg = 0;
};

struct Story {
    std::string name;
    std::vector<Step> steps;
    std::vector<int> reports;
    int finalState;
    std::vector<EngineRequest> requests = {};  // made by Play/Pause/Stop, in order; empty: not checked
};

class Stories : public ::testing::TestWithParam<Story> {};

TEST_P(Stories, ReportExactlyTheExpectedStates) {
    const Story& story = GetParam();
    std::vector<int> reports;
    std::vector<EngineRequest> requests;
    PlayStateMachine m([&](int s) { reports.push_back(s); }, [&](EngineRequest r) { requests.push_back(r); });
    for (const Step& step : story.steps) {
        switch (step.op) {
        case Op::Load:
            m.beginLoad(true);
            break;
        case Op::LoadPaused:
            m.beginLoad(false);
            break;
        case Op::Issued:
            m.loadIssued(step.arg);
            break;
        case Op::IssueFailed:
            m.loadIssued(-1);
            break;
        case Op::Unload:
            m.unload();
            break;
        case Op::Play:
            m.play();
            break;
        case Op::Pause:
            m.pause();
            break;
        case Op::Stop:
            m.stop();
            break;
        case Op::Started:
            m.onFileStarted(step.arg);
            break;
        case Op::Loaded:
            m.onFileLoaded();
            break;
        case Op::Restarted:
            m.onPlaybackRestarted(false);
            break;
        case Op::RestartedPaused:
            m.onPlaybackRestarted(true);
            break;
        case Op::Ended:
            m.onFileEnded(step.arg);
            break;
        case Op::EndReached:
            m.onEndReached();
            break;
        }
    }
    EXPECT_EQ(reports, story.reports);
    EXPECT_EQ(m.state(), story.finalState);
    if (!story.requests.empty()) {
        EXPECT_EQ(requests, story.requests);
    }
}

using R = EngineRequest;
const std::vector<Step> playing1 = {{Op::Load}, {Op::Issued, 1}, {Op::Started, 1}, {Op::Loaded}, {Op::Restarted}};

std::vector<Step> then(std::vector<Step> a, const std::vector<Step>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    PlayState, Stories,
    ::testing::Values(
        Story{"OpensAndPlays", playing1, {9, 3}, 3},
        Story{"LoadedButNotYetRunningIsStillTransitioning",
              {{Op::Load}, {Op::Issued, 1}, {Op::Started, 1}, {Op::Loaded}},
              {9},
              9},
        Story{"SeeksWhilePlayingReportNothingMore", then(playing1, {{Op::Restarted}, {Op::Restarted}}), {9, 3}, 3},
        Story{"NaturalEndReportsStoppedOnce", then(playing1, {{Op::EndReached}, {Op::EndReached}}), {9, 3, 1}, 1},
        // From stopped, play announces itself as a new file does, so that an
        // advance armed on "transitioning" works after a stop and a play.
        Story{"PlayAfterTheEndRestartsFromTheStart",
              then(playing1, {{Op::EndReached}, {Op::Play}, {Op::Restarted}}),
              {9, 3, 1, 9, 3},
              3,
              {R::RestartFromStart}},
        Story{"StopPausesAtTheStartAndPlayRestarts",
              then(playing1, {{Op::Stop}, {Op::Restarted}, {Op::Play}}),
              {9, 3, 1, 9, 3},
              3,
              {R::PauseAtStart, R::RestartFromStart}},
        Story{"EveryResumeIsReported",
              then(playing1, {{Op::Pause}, {Op::Play}, {Op::Pause}, {Op::Play}}),
              {9, 3, 2, 3, 2, 3},
              3,
              {R::Pause, R::Resume, R::Pause, R::Resume}},
        Story{"PlayWhilePlayingChangesNothing", then(playing1, {{Op::Play}, {Op::Pause}}), {9, 3, 2}, 2, {R::Pause}},
        Story{"PauseWhenStoppedStaysStopped", then(playing1, {{Op::Stop}, {Op::Pause}}), {9, 3, 1}, 1},
        Story{"AFileThatFailsToOpenStops", {{Op::Load}, {Op::Issued, 1}, {Op::Started, 1}, {Op::Ended, 1}}, {9, 1}, 1},
        Story{"AFileTheEngineRefusesStops", {{Op::Load}, {Op::IssueFailed}}, {9, 1}, 1},
        Story{"AFileThatFailsLaterStops", then(playing1, {{Op::Ended, 1}}), {9, 3, 1}, 1},
        Story{
            "PlayAfterAFailureOpensTheFileAgain", {{Op::Load}, {Op::IssueFailed}, {Op::Play}}, {9, 1}, 1, {R::Reload}},
        Story{"ReplacingAPlayingFileGivesNoStoppedInBetween",
              then(playing1,
                   {{Op::Load}, {Op::Issued, 2}, {Op::Ended, 1}, {Op::Started, 2}, {Op::Loaded}, {Op::Restarted}}),
              {9, 3, 9, 3},
              3},
        Story{"TheOldFilesLateEventsAreStale",
              then(playing1, {{Op::Load},
                              {Op::EndReached},
                              {Op::Restarted},
                              {Op::Issued, 2},
                              {Op::Ended, 1},
                              {Op::Started, 2},
                              {Op::Loaded},
                              {Op::Restarted}}),
              {9, 3, 9, 3},
              3},
        Story{"AFileReplacedBeforeItStartedNeverCounts",
              {{Op::Load},
               {Op::Issued, 1},
               {Op::Load},
               {Op::Issued, 2},
               {Op::Ended, 1},
               {Op::Started, 2},
               {Op::Loaded},
               {Op::Restarted}},
              {9, 9, 3},
              3},
        Story{"UnloadReportsStoppedAndTheUnloadedEndIsIgnored",
              then(playing1, {{Op::Unload}, {Op::Ended, 1}}),
              {9, 3, 1},
              1},
        Story{"UnloadWhenStoppedReportsNothing", {{Op::Unload}}, {}, 1},
        Story{"NoAutoStartLoadsReady",
              {{Op::LoadPaused}, {Op::Issued, 1}, {Op::Started, 1}, {Op::Loaded}, {Op::Restarted}},
              {9, 10},
              10},
        Story{"PlayFromReadyPlays",
              {{Op::LoadPaused}, {Op::Issued, 1}, {Op::Started, 1}, {Op::Loaded}, {Op::Play}},
              {9, 10, 3},
              3,
              {R::Resume}},
        Story{"StopWhileOpeningStaysStoppedWhenLoaded",
              {{Op::Load}, {Op::Issued, 1}, {Op::Stop}, {Op::Started, 1}, {Op::Loaded}, {Op::Restarted}},
              {9, 1},
              1,
              {R::PauseAtStart}},
        Story{"PauseWhileOpeningShowsPausedWhenLoaded",
              {{Op::Load}, {Op::Issued, 1}, {Op::Pause}, {Op::Started, 1}, {Op::Loaded}, {Op::Restarted}},
              {9, 2},
              2},
        Story{"PlayWhileOpeningAfterAStopRunsWhenLoaded",
              {{Op::Load}, {Op::Issued, 1}, {Op::Stop}, {Op::Play}, {Op::Started, 1}, {Op::Loaded}, {Op::Restarted}},
              {9, 1, 9, 3},
              3},
        // The engine keeps its pause from one file to the next: a file set
        // over one it paused at its end opens paused. "Playing" must mean a
        // moving position, so the pause is lifted before it is reported.
        Story{
            "AFileThatOpensUnderTheEnginesOwnPauseIsResumedBeforePlaying",
            then(
                playing1,
                {{Op::EndReached}, {Op::Load}, {Op::Issued, 2}, {Op::Started, 2}, {Op::Loaded}, {Op::RestartedPaused}}),
            {9, 3, 1, 9, 3},
            3,
            {R::Resume}},
        Story{"APauseTheCallerAskedForIsKept",
              {{Op::Load}, {Op::Issued, 1}, {Op::Pause}, {Op::Started, 1}, {Op::Loaded}, {Op::RestartedPaused}},
              {9, 2},
              2,
              {R::Pause}},
        Story{"TheEndOfAnUnloadedFileIsNotReported",
              then(playing1, {{Op::Unload}, {Op::EndReached}, {Op::Restarted}}),
              {9, 3, 1},
              1}),
    [](const auto& info) { return info.param.name; });

TEST(Entries, ThoseAboveTheLastRequestedAreTheEnginesOwn) {
    PlayStateMachine m(nullptr, nullptr);
    EXPECT_TRUE(m.isForeign(1)) << "nothing requested yet";
    m.beginLoad(true);
    m.loadIssued(7);
    EXPECT_FALSE(m.isForeign(7));
    EXPECT_TRUE(m.isForeign(8)) << "an entry a play list added";
    m.beginLoad(true);
    m.loadIssued(9);
    EXPECT_FALSE(m.isForeign(7)) << "a replaced file starting late is stale, not foreign";
    EXPECT_TRUE(m.isForeign(10));
    m.onFileStarted(9);
    m.onFileEnded(9);  // a play list ends its own entry...
    EXPECT_TRUE(m.isForeign(10)) << "...and what it queued stays foreign";
    m.unload();
    EXPECT_FALSE(m.isForeign(9));
    EXPECT_TRUE(m.isForeign(11));
}

// The handler of a report may move the position at once (the start skip on
// "playing"); a request sent after the report would undo that move.
TEST(Requests, ReachTheEngineBeforeTheStateIsReported) {
    std::vector<std::string> log;
    PlayStateMachine m([&](int s) { log.push_back("report " + std::to_string(s)); },
                       [&](EngineRequest r) { log.push_back("request " + std::to_string(static_cast<int>(r))); });
    m.beginLoad(true);
    m.loadIssued(1);
    m.onFileStarted(1);
    m.onFileLoaded();
    m.onPlaybackRestarted(false);
    log.clear();
    m.stop();
    m.play();
    m.pause();
    m.play();
    const auto req = [](EngineRequest r) { return "request " + std::to_string(static_cast<int>(r)); };
    EXPECT_EQ(log, (std::vector<std::string>{
                       req(EngineRequest::PauseAtStart), "report 1", req(EngineRequest::RestartFromStart), "report 9",
                       "report 3", req(EngineRequest::Pause), "report 2", req(EngineRequest::Resume), "report 3"}));
}

// The handler of the transitioning report of a play from stopped may stop,
// pause or replace the file itself; "playing" must not follow that.
TEST(Requests, AHandlerThatActsOnTheTransitioningReportOfAPlayHasTheLastWord) {
    for (const Op inside : {Op::Stop, Op::Pause, Op::Load}) {
        std::vector<int> reports;
        PlayStateMachine* machine = nullptr;
        bool acted = false;
        PlayStateMachine m(
            [&](int s) {
                reports.push_back(s);
                if (s != 9 || acted || reports.size() < 4) return;
                acted = true;
                if (inside == Op::Stop) machine->stop();
                if (inside == Op::Pause) machine->pause();
                if (inside == Op::Load) machine->beginLoad(true);
            },
            nullptr);
        machine = &m;
        m.beginLoad(true);
        m.loadIssued(1);
        m.onFileStarted(1);
        m.onFileLoaded();
        m.onPlaybackRestarted(false);
        m.stop();
        m.play();
        ASSERT_GE(reports.size(), 5u);
        EXPECT_EQ(std::vector<int>(reports.begin(), reports.begin() + 4), (std::vector<int>{9, 3, 1, 9}));
        EXPECT_NE(reports.back(), 3) << "after " << static_cast<int>(inside);
        EXPECT_EQ(m.state(), reports.back());
    }
}

}  // namespace
}  // namespace sorinel::platform
