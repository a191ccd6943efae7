// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a user may type into the start and end seconds boxes, in the real
// window while a folder plays. The boxes hold four characters: a longer text
// is cut as it is typed, and what counts is what the box then holds. A text
// that is not a usable number changes nothing; no text brings a dialog, a
// freeze, or a file played twice or passed over.
#include <QInputMethodEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <ostream>

#include "bad_input_fixture.h"

namespace sorinel {
namespace {

enum class Box { Start, End };
enum class Effect {
    None,  // each clip plays from its start to its end
    Skip,  // each clip resumes at 3 s after the start pause
    Cut,   // each clip is left before its end
    // The cut falls in the clip's last seconds: the clip is left after the cut
    // point, by the cut or by its own end when that comes during the cut's
    // one-second wait; either way it plays once and the next one follows.
    LateCut,
};

// Typing: what the box holds after the text is typed into it.
struct TypedRow {
    const char* label;
    const char* typed;  // UTF-8
    const char* held;
};

const TypedRow kTyped[] = {
    {"Letters", "abc", "abc"},          {"Negative", "-5", "-5"},
    {"HugeFits", "9e99", "9e99"},       {"HugeCut", "9e999", "9e99"},
    {"FullWidthFits", "１０", "１０"},  {"FullWidthCut", "３０００００", "３０００"},  // cut by characters, not bytes
    {"SpacedFits", "  3 ", "  3 "},     {"SpacedCutToThree", "  3 5", "  3 "},  // the cut changes the value typed
    {"FiveDigitsCut", "12345", "1234"},
};

// Playing: a 6 s clip, then a 1 s one, with the text in one box.
struct SecondsRow {
    const char* label;
    Box box;
    const char* text;  // UTF-8, fits the box
    Effect effect;     // on the 6 s clip
};

void PrintTo(const SecondsRow& row, std::ostream* os) { *os << row.label; }
void PrintTo(const TypedRow& row, std::ostream* os) { *os << row.label; }

const SecondsRow kRows[] = {
    {"StartLetters", Box::Start, "abc", Effect::None},
    {"StartNegative", Box::Start, "-5", Effect::None},
    {"StartHuge", Box::Start, "9e99", Effect::None},  // fits no 32-bit count
    {"StartFullWidthPastTheEnd", Box::Start, "１０", Effect::None},
    {"StartSpaced", Box::Start, "  3 ", Effect::Skip},
    {"EndLetters", Box::End, "abc", Effect::None},
    {"EndNegative", Box::End, "-5", Effect::None},
    {"EndHuge", Box::End, "9e99", Effect::None},
    // A cut longer than the clip leaves it at the first check.
    {"EndFullWidthLongerThanTheClip", Box::End, "１０", Effect::Cut},
    // The cut comes in the clip's last three seconds, so the cut's own advance
    // is often still in its one-second wait when the clip ends by itself; the
    // end's advance then runs nested inside it and starts the next clip, which
    // the outer one must leave playing.
    {"EndSpaced", Box::End, "  3 ", Effect::LateCut},
};

// Typed as a person types: ASCII on the keyboard, anything else through the
// input method, which is how full-width digits arrive.
void type(window::TextBox& box, const QString& text) {
    box.setFocus();
    box.selectAll();
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(&box, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(&box, &commit);
        }
    }
}

class TypedText : public ::testing::TestWithParam<TypedRow> {};

TEST_P(TypedText, BoxHoldsWhatFits) {
    const TypedRow& row = GetParam();
    window::TextBox box(QString::fromUtf8("開始秒"));
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    type(box, QString::fromUtf8(row.typed));
    EXPECT_EQ(box.text(), QString::fromUtf8(row.held));
}

INSTANTIATE_TEST_SUITE_P(Texts, TypedText, ::testing::ValuesIn(kTyped),
                         [](const ::testing::TestParamInfo<TypedRow>& info) { return info.param.label; });

class SecondsBox : public testing::BadInputFixture, public ::testing::WithParamInterface<SecondsRow> {
protected:
    window::TextBox& probeTarget() override {
        return GetParam().box == Box::Start ? *form->EndTime_txt : *form->StartTime_txt;
    }
};

TEST_P(SecondsBox, FolderPlaysOnceWithTheText) {
    const SecondsRow& row = GetParam();
    window::TextBox& box = row.box == Box::Start ? *form->StartTime_txt : *form->EndTime_txt;
    type(box, QString::fromUtf8(row.text));
    ASSERT_EQ(box.text(), QString::fromUtf8(row.text));

    addClip("secs.avi", "a.avi");
    addClip("bad.mp3", "b.mp3");
    showFolder();
    form->listloop_chk->setValue(0);
    clickEntry(0);
    ASSERT_TRUE(playUntilEnd(90000));

    const auto& loads = log->episodes();
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[0].name, "a.avi");
    EXPECT_EQ(loads[1].name, "b.mp3");
    EXPECT_GE(loads[1].playingReports, 1) << "the clip after it did not play";

    const auto& e = loads[0];
    ASSERT_GE(e.playingReports, 1);
    // After a skip the resume's report comes first: it is raised from inside
    // the window's handling of the first one.
    if (row.effect != Effect::Skip) {
        EXPECT_LT(e.playingAt.front(), 0.5);
    }
    const bool resumedAtThree =
        std::any_of(e.playingAt.begin(), e.playingAt.end(), [](double p) { return p >= 2.9 && p < 4.0; });
    const bool toTheEnd = e.furthest > e.duration - 0.6;
    switch (row.effect) {
    case Effect::None:
        EXPECT_EQ(e.playingReports, 1);
        EXPECT_TRUE(toTheEnd) << "left at " << e.furthest << " of " << e.duration;
        break;
    case Effect::Skip:
        EXPECT_TRUE(resumedAtThree);
        EXPECT_TRUE(toTheEnd) << "left at " << e.furthest << " of " << e.duration;
        break;
    case Effect::Cut:
        EXPECT_EQ(e.playingReports, 1);
        EXPECT_FALSE(toTheEnd) << "played to " << e.furthest << " of " << e.duration;
        break;
    case Effect::LateCut:
        EXPECT_EQ(e.playingReports, 1);
        // The cut point is 3 s before the end of the 6 s clip.
        EXPECT_GT(e.furthest, 3.0) << "left at " << e.furthest << " of " << e.duration;
        break;
    }
    expectNoDialogNoFreeze();
}

INSTANTIATE_TEST_SUITE_P(Texts, SecondsBox, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<SecondsRow>& info) { return info.param.label; });

}  // namespace
}  // namespace sorinel
