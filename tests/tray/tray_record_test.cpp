// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The records TrayAdd and TrayDelete hand to the shell, byte for byte, and
// the tip field's forming at its edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/shell/ansi_codepage.h"
#include "platform/shell/notify_icon.h"
#include "playback/ports.h"
#include "tray/tray_icon.h"

namespace sorinel::tray {
namespace {

// Only what the record builders read; the rest must not be reached.
class RecordForm : public FormAccess {
public:
    std::uint32_t handle = 0;
    std::uint32_t picture = 0;
    std::uint32_t hWnd() const override { return handle; }
    std::uint32_t taskbarPictureHandle() const override { return picture; }
    int windowState() const override { return 0; }
    void setWindowState(int) override { ADD_FAILURE() << "record built from window state"; }
    void showWindow() override { ADD_FAILURE() << "record built by showing the window"; }
    playback::Timer& timer1() override { throw std::logic_error("timer1"); }
    playback::Timer& timer2() override { throw std::logic_error("timer2"); }
    playback::Player& player() override { throw std::logic_error("player"); }
    double waitTimer(std::int32_t) override { throw std::logic_error("waitTimer"); }
    void endProgram() override { ADD_FAILURE() << "endProgram"; }
};

std::vector<std::uint8_t> le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}

std::vector<std::uint8_t> expectedRecord(std::uint32_t hWnd, std::uint32_t flags, std::uint32_t hIcon,
                                         const std::vector<std::uint8_t>& tipBytes) {
    std::vector<std::uint8_t> r;
    for (auto v : {96u, hWnd, 1u, flags, 1025u, hIcon}) {
        const auto b = le32(v);
        r.insert(r.end(), b.begin(), b.end());
    }
    r.insert(r.end(), tipBytes.begin(), tipBytes.end());
    r.push_back(0);          // the tip's NUL
    r.resize(24 + 64, ' ');  // spaces to the end of the field
    r.resize(96, 0);         // two reserved fields
    return r;
}

TEST(TrayRecord, AddRecordByteForByte) {
    RecordForm form;
    form.handle = 0x12345678;
    form.picture = 0x00ABCDEF;
    // "左クリックでSorinel１０を表示" in CP932, written out independently.
    const std::vector<std::uint8_t> tip = {0x8d, 0xb6, 0x83, 0x4e, 0x83, 0x8a, 0x83, 0x62, 0x83, 0x4e,
                                           0x82, 0xc5, 'S',  'o',  'r',  'i',  'n',  'e',  'l',  0x82,
                                           0x50, 0x82, 0x4f, 0x82, 0xf0, 0x95, 0x5c, 0x8e, 0xa6};
    const TrayRecord record = trayAddRecord(form);
    EXPECT_EQ(std::vector<std::uint8_t>(record.begin(), record.end()), expectedRecord(0x12345678, 7, 0x00ABCDEF, tip));
}

TEST(TrayRecord, DeleteRecordByteForByte) {
    RecordForm form;
    form.handle = 0x80000001;  // high bit: little-endian, no sign trouble
    form.picture = 42;
    const TrayRecord record = trayDeleteRecord(form);
    EXPECT_EQ(std::vector<std::uint8_t>(record.begin(), record.end()), expectedRecord(0x80000001, 5, 42, {}));
}

TEST(TrayRecord, TheShellReadsBackWhatWasWritten) {
    RecordForm form;
    form.handle = 77;
    form.picture = 9;
    const TrayRecord add = trayAddRecord(form);
    const auto fields = platform::readNotifyIconRecord(add);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->cbSize, 96u);
    EXPECT_EQ(fields->hWnd, 77u);
    EXPECT_EQ(fields->uID, 1u);
    EXPECT_EQ(fields->uFlags, 7u);
    EXPECT_EQ(fields->uCallbackMessage, 1025u);
    EXPECT_EQ(fields->hIcon, 9u);
    EXPECT_EQ(fields->tip, std::string(kTrayTip));
    EXPECT_EQ(platform::readNotifyIconRecord(trayDeleteRecord(form))->tip, "");
}

struct TipRow {
    const char* name;
    std::string tip;
    std::string expectedField;  // 64 bytes
};

class TipField : public ::testing::TestWithParam<TipRow> {};

TEST_P(TipField, FormsSixtyFourBytes) {
    const auto field = makeTipField(GetParam().tip);
    EXPECT_EQ(std::string(field.begin(), field.end()), GetParam().expectedField);
}

std::string withNulAndSpaces(const std::string& ansi) {
    std::string s = ansi;
    s.push_back('\0');
    s.resize(64, ' ');
    return s;
}

const std::string kKanji = "\xe8\xa1\xa8";  // 表 in UTF-8
const std::string kKanjiAnsi = "\x95\x5c";  // 表 in CP932 (trail byte is '\')

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int k = 0; k < n; ++k) out += s;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TipField,
    ::testing::Values(TipRow{"Empty", "", withNulAndSpaces("")},
                      TipRow{"Ascii63KeepsItsNul", std::string(63, 'a'), std::string(63, 'a') + std::string(1, '\0')},
                      TipRow{"Ascii64LosesTheNul", std::string(64, 'a'), std::string(64, 'a')},
                      // Spaces count characters before conversion: 10 two-byte characters,
                      // a NUL and 53 spaces make 74 bytes, cut to 64.
                      TipRow{"SpacesCountCharacters", repeat(kKanji, 10),
                             repeat(kKanjiAnsi, 10) + std::string(1, '\0') + std::string(43, ' ')},
                      TipRow{"CutOnACharacterBoundary", repeat(kKanji, 40), repeat(kKanjiAnsi, 32)},
                      TipRow{"CutNeverLeavesHalfACharacter", "a" + repeat(kKanji, 40),
                             "a" + repeat(kKanjiAnsi, 31) + " "},
                      TipRow{"HalfWidthKatakanaIsOneByte", "\xef\xbd\xb1", withNulAndSpaces("\xb1")},
                      TipRow{"UnconvertibleBecomesQuestionMark", "x\xf0\x9f\x98\x80y", withNulAndSpaces("x?y")}),
    [](const auto& info) { return std::string(info.param.name); });

struct AnsiRow {
    const char* name;
    std::string ansi;
    std::string utf8;
};

class AnsiDecoding : public ::testing::TestWithParam<AnsiRow> {};

TEST_P(AnsiDecoding, ToUtf8) { EXPECT_EQ(platform::ansiToUtf8(GetParam().ansi), GetParam().utf8); }

INSTANTIATE_TEST_SUITE_P(Cp932, AnsiDecoding,
                         ::testing::Values(AnsiRow{"Ascii", "Sorinel", "Sorinel"},
                                           AnsiRow{"TrailByteIsBackslash", "\x95\x5c", "\xe8\xa1\xa8"},
                                           AnsiRow{"FullWidthDigits", "\x82\x50\x82\x4f", "\xef\xbc\x91\xef\xbc\x90"},
                                           AnsiRow{"LoneLeadByteAtEnd", "a\x95", "a\xef\xbf\xbd"},
                                           AnsiRow{"LeadByteWithBadTrailKeepsTheAscii", "\x81\x20z", "\xef\xbf\xbd z"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RecordSizeRow {
    const char* name;
    std::size_t bufferSize;
    std::uint32_t cbSize;
    bool accepted;
};

class RecordSize : public ::testing::TestWithParam<RecordSizeRow> {};

TEST_P(RecordSize, ShellAcceptsOnlyWholeRecords) {
    std::vector<std::uint8_t> buffer(GetParam().bufferSize, 0);
    const auto cb = le32(GetParam().cbSize);
    std::copy(cb.begin(), cb.begin() + std::min<std::size_t>(4, buffer.size()), buffer.begin());
    EXPECT_EQ(platform::readNotifyIconRecord(buffer).has_value(), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, RecordSize,
    ::testing::Values(RecordSizeRow{"Full96", 96, 96, true}, RecordSizeRow{"FirstLayout88", 88, 88, true},
                      RecordSizeRow{"CbSize87", 96, 87, false}, RecordSizeRow{"Buffer87", 87, 87, false},
                      RecordSizeRow{"CbSizeBeyondBuffer", 96, 97, false}, RecordSizeRow{"Empty", 0, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TrayRecord, ShellWithoutApplicationFailsAndChangesNothing) {
    RecordForm form;
    form.handle = 5;
    EXPECT_FALSE(platform::Shell_NotifyIconA(platform::NIM_ADD, trayAddRecord(form)));
    EXPECT_EQ(platform::findNotifyIcon(5, 1), nullptr);
}

}  // namespace
}  // namespace sorinel::tray
