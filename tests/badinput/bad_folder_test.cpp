// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Bad things in the played folder, in the real window with the real engine:
// a good clip, then the bad entry, then another good clip, played without
// wrap. Whatever the bad entry is, the user sees the good clips play in
// order, the bad one passed over (or played as far as it goes), no dialog,
// no crash, and a window that keeps answering clicks.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <ostream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "bad_input_fixture.h"

namespace sorinel {
namespace {

// Whether the bad entry plays between the good clips.
enum class Plays {
    Never,
    Maybe,   // it holds part of a clip: playing it or passing it over are both right
    Always,  // it is a good clip under an odd name
};

// How the bad entry is made in the folder `dir`, under a name starting
// with "b" so that it sorts between the good "a" and "c" clips.
struct BadEntry {
    const char* what;
    std::function<QByteArray(const QString& dir)> make;  // returns the name on disk
    bool listed;                                         // the file list shows it
    Plays plays;
    bool needsNonRoot;  // only a user without root's rights meets it
};

QByteArray writeFile(const QString& dir, const QByteArray& name, const QByteArray& content) {
    QFile f(QFile::decodeName(QFile::encodeName(dir) + "/" + name));
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(content);
    return name;
}

QByteArray clipBytes(const QString& kind) {
    QFile f(testing::badInputMedia() + "/bad." + kind);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Written byte for byte: names that are not valid UTF-8 cannot go through a
// QString unchanged.
QByteArray writeRaw(const QString& dir, const QByteArray& name, const QByteArray& content) {
    const QByteArray path = QFile::encodeName(dir) + "/" + name;
    FILE* f = std::fopen(path.constData(), "wb");
    if (!f) return {};
    std::fwrite(content.constData(), 1, content.size(), f);
    std::fclose(f);
    return name;
}

const BadEntry kBadEntries[] = {
    {"random bytes",
     [](const QString& d) {
         QByteArray junk(96 * 1024, 0);
         for (int k = 0; k < junk.size(); ++k) junk[k] = static_cast<char>((k * 7919 + 13) % 251);
         return writeFile(d, "b-junk.avi", junk);
     },
     true, Plays::Never, false},
    {"a clip cut off after its first third",
     [](const QString& d) {
         const QByteArray clip = clipBytes("mpg");
         return writeFile(d, "b-truncated.mpg", clip.left(clip.size() / 3));
     },
     true, Plays::Maybe, false},
    {"a clip whose middle is overwritten",
     [](const QString& d) {
         QByteArray clip = clipBytes("avi");
         for (qsizetype k = clip.size() / 4; k < clip.size() * 3 / 4; ++k) clip[k] = '\xff';
         return writeFile(d, "b-damaged.avi", clip);
     },
     true, Plays::Maybe, false},
    {"an empty file", [](const QString& d) { return writeFile(d, "b-empty.mpg", {}); }, true, Plays::Never, false},
    {"text under a media name",
     [](const QString& d) {
         return writeFile(d, "b-notes.wmv", QByteArray("これはメモです。\nnot a video at all\n").repeated(50));
     },
     true, Plays::Never, false},
    {"a file nobody may read",
     [](const QString& d) {
         const QByteArray name = writeFile(d, "b-locked.mov", clipBytes("mov"));
         ::chmod((QFile::encodeName(d) + "/" + name).constData(), 0);
         return name;
     },
     true, Plays::Never, true},
    {"a named pipe under a media name",
     [](const QString& d) {
         // Opening it for reading would wait for a writer for ever.
         const QByteArray name = "b-pipe.mp3";
         return ::mkfifo((QFile::encodeName(d) + "/" + name).constData(), 0644) == 0 ? name : QByteArray();
     },
     false, Plays::Never, false},
    {"a folder under a media name",
     [](const QString& d) { return QDir(d).mkdir("b-folder.mp3") ? QByteArray("b-folder.mp3") : QByteArray(); }, false,
     Plays::Never, false},
    {"a good clip whose name holds a newline",
     [](const QString& d) { return writeFile(d, "b-new\nline.avi", clipBytes("avi")); }, true, Plays::Always, false},
    {"a good clip whose name is not valid UTF-8",
     [](const QString& d) { return writeRaw(d, "b-\xff\xfe\x80.mov", clipBytes("mov")); }, true, Plays::Always, false},
};

void PrintTo(const BadEntry& bad, std::ostream* os) { *os << bad.what; }

class BadFolder : public testing::BadInputFixture, public ::testing::WithParamInterface<BadEntry> {};

TEST_P(BadFolder, TheGoodClipsAroundItPlayInOrder) {
    const BadEntry& bad = GetParam();
    if (bad.needsNonRoot && ::geteuid() == 0)
        GTEST_SKIP() << "running as root, which reads a file whatever its mode says";
    addClip("bad.avi", "a-first.avi");
    const QByteArray badName = bad.make(folder.path());
    ASSERT_FALSE(badName.isEmpty()) << "could not make " << bad.what;
    addClip("bad.mp3", "c-last.mp3");
    showFolder();
    ASSERT_EQ(form->File1->ListCount(), bad.listed ? 3 : 2) << bad.what;

    form->listloop_chk->setValue(0);
    clickEntry(0);
    ASSERT_TRUE(playUntilEnd());

    const auto names = playedNames();
    QStringList shown;
    for (const auto& n : names) shown << n;
    std::printf("%s: played %s\n", bad.what, qPrintable(shown.join(" | ")));
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "a-first.avi");
    EXPECT_EQ(names.back(), "c-last.mp3");
    switch (bad.plays) {
    case Plays::Never:
        EXPECT_EQ(names.size(), 2u) << bad.what << " played";
        break;
    case Plays::Maybe:
        EXPECT_LE(names.size(), 3u);
        break;
    case Plays::Always:
        ASSERT_EQ(names.size(), 3u) << bad.what << " was passed over";
        EXPECT_EQ(names[1], form->File1->entry(1));
        break;
    }
    expectNoDialogNoFreeze();
}

INSTANTIATE_TEST_SUITE_P(Entries, BadFolder, ::testing::ValuesIn(kBadEntries),
                         [](const ::testing::TestParamInfo<BadEntry>& info) {
                             std::string s;
                             for (const char* p = info.param.what; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p))) s += *p;
                             return s;
                         });

// Things that happen to the folder while it plays.
TEST_F(BadInput, AFileDeletedBeforeItsTurnIsPassedOver) {
    addClip("bad.avi", "a.avi");
    addClip("bad.mov", "b.mov");
    addClip("bad.wma", "c.wma");
    showFolder();
    form->listloop_chk->setValue(0);
    clickEntry(0);
    ASSERT_TRUE(testing::waitUntil([&] { return playedCount() >= 1; }, 20000));
    ASSERT_TRUE(QFile::remove(folder.filePath("b.mov")));
    ASSERT_TRUE(playUntilEnd());
    const auto names = playedNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "a.avi");
    EXPECT_EQ(names[1], "c.wma");
    expectNoDialogNoFreeze();
}

TEST_F(BadInput, TheFolderDeletedWhileAFileFromItPlaysEndsQuietly) {
    addClip("bad.avi", "a.avi");
    addClip("bad.mov", "b.mov");
    addClip("bad.wma", "c.wma");
    showFolder();
    form->listloop_chk->setValue(0);
    clickEntry(0);
    ASSERT_TRUE(testing::waitUntil([&] { return playedCount() >= 1; }, 20000));
    ASSERT_TRUE(QDir(folder.path()).removeRecursively());
    // The clip already open plays on; the rest is gone and is passed over,
    // and without wrap the run ends.
    ASSERT_TRUE(playUntilEnd());
    const auto names = playedNames();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "a.avi");
    expectNoDialogNoFreeze();
}

TEST_F(BadInput, TheFolderDeletedWithWrapOnKeepsTheWindowAlive) {
    addClip("bad.avi", "a.avi");
    addClip("bad.mov", "b.mov");
    showFolder();
    ASSERT_EQ(form->listloop_chk->Value(), 1);
    clickEntry(0);
    ASSERT_TRUE(testing::waitUntil([&] { return playedCount() >= 1; }, 20000));
    ASSERT_TRUE(QDir(folder.path()).removeRecursively());
    // With wrap the player keeps trying the vanished entries: that must stay
    // a quiet loop, not a storm of loads, a dialog or a freeze.
    const int loadsBefore = loadCount();
    watchFor(12000);
    EXPECT_EQ(playedCount(), 1);
    EXPECT_LE(loadCount() - loadsBefore, 12) << "more than a load a second";
    expectNoDialogNoFreeze();
}

}  // namespace
}  // namespace sorinel
