// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// MIDI through fluidsynth, without a display: recognising MIDI files,
// the WAV header mpv reads, and a rendering that is as long as the song.
#include "platform/engine/midi_synth.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace sorinel::platform::midi {
namespace {

// A format-0 song at 120 beats a minute, 96 ticks a quarter: `notes`
// quarter notes, then `restTicks` of silence before the end of the track.
QByteArray song(int notes, int restTicks = 0) {
    QByteArray track("\x00\xff\x51\x03\x07\xa1\x20\x00\xc0\x00", 10);
    for (int n = 0; n < notes; ++n) {
        const char key = static_cast<char>(60 + n % 8);
        track.append(QByteArray("\x00\x90", 2)).append(key).append('\x64');
        track.append(QByteArray("\x60\x80", 2)).append(key).append('\x40');
    }
    // The rest as a variable-length delta (two bytes is enough here).
    track.append(static_cast<char>(0x80 | ((restTicks >> 7) & 0x7f))).append(static_cast<char>(restTicks & 0x7f));
    track.append(QByteArray("\xff\x2f\x00", 3));
    QByteArray file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60MTrk", 18);
    char len[4];
    qToBigEndian(static_cast<quint32>(track.size()), len);
    file.append(len, 4).append(track);
    return file;
}

QByteArray write(const QTemporaryDir& dir, const QString& name, const QByteArray& data) {
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
    return QFile::encodeName(path);
}

QByteArray readFd(int fd) {
    QByteArray all;
    char buf[65536];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) all.append(buf, n);
    return all;
}

TEST(MidiFiles, AreRecognisedByNameOrSignature) {
    QTemporaryDir dir;
    struct Row {
        const char* name;
        QByteArray content;
        bool midi;
    } rows[] = {
        {"a.mid", "", true},           {"b.MIDI", "", true},
        {"song.dat", song(1), true},                             // the signature, whatever the name
        {"c.mp3", "ID3\x03", false},   {"d.mp3", "MTh", false},  // one byte short of the signature
        {"e.midi.mp3", "RIFF", false},
    };
    for (const Row& r : rows) EXPECT_EQ(isMidiFile(write(dir, r.name, r.content)), r.midi) << r.name;
    EXPECT_FALSE(isMidiFile(QFile::encodeName(dir.filePath("missing.wav"))));
}

TEST(MidiFiles, SoundFontIsThePreferredOneElseAnyInTheDirectory) {
    QTemporaryDir only, both, none;
    write(only, "other.sf2", "x");
    write(both, "aaa.sf2", "x");
    write(both, "TimGM6mb.sf2", "x");
    EXPECT_EQ(findSoundFont({only.path()}), only.filePath("other.sf2"));
    EXPECT_EQ(findSoundFont({both.path()}), both.filePath("TimGM6mb.sf2"));
    EXPECT_EQ(findSoundFont({none.path()}), "");
    EXPECT_EQ(findSoundFont({none.path(), only.path()}), only.filePath("other.sf2"));
}

TEST(WavHeader, DescribesSixteenBitPcm) {
    const QByteArray h = wavHeader(44100, 2, 1000);
    ASSERT_EQ(h.size(), 44);
    EXPECT_EQ(h.left(4), "RIFF");
    EXPECT_EQ(h.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(qFromLittleEndian<quint32>(h.constData() + 4), 36u + 4000u);
    EXPECT_EQ(qFromLittleEndian<quint16>(h.constData() + 20), 1);        // PCM
    EXPECT_EQ(qFromLittleEndian<quint16>(h.constData() + 22), 2);        // channels
    EXPECT_EQ(qFromLittleEndian<quint32>(h.constData() + 24), 44100u);   // rate
    EXPECT_EQ(qFromLittleEndian<quint32>(h.constData() + 28), 176400u);  // bytes a second
    EXPECT_EQ(qFromLittleEndian<quint16>(h.constData() + 32), 4);        // block align
    EXPECT_EQ(qFromLittleEndian<quint16>(h.constData() + 34), 16);       // bits
    EXPECT_EQ(h.mid(36, 4), "data");
    EXPECT_EQ(qFromLittleEndian<quint32>(h.constData() + 40), 4000u);
    EXPECT_EQ(qFromLittleEndian<quint32>(wavHeader(8000, 1, 0).constData() + 40), 0u);
}

class MidiRendering : public ::testing::Test {
protected:
    void SetUp() override {
        font = findSoundFont();
        if (font.isEmpty()) GTEST_SKIP() << "no General MIDI sound font installed";
    }
    QString font;
    QTemporaryDir dir;
};

TEST_F(MidiRendering, LastsAsLongAsTheSongWithoutTheReleaseTail) {
    struct Row {
        int notes;
        int restTicks;
        double seconds;
    } rows[] = {{2, 0, 1.0}, {8, 0, 4.0}, {4, 192, 2.0}};
    // With a rest before the end of the track the song still ends with its
    // last note-off: the end-of-track marker itself is not an event heard.
    for (const Row& r : rows) {
        const midi::Rendering out = renderToMemoryWav(write(dir, "s.mid", song(r.notes, r.restTicks)), font);
        ASSERT_GE(out.fd, 0) << r.notes;
        EXPECT_NEAR(out.seconds, r.seconds, 0.06) << r.notes;
        const QByteArray wav = readFd(out.fd);
        ::close(out.fd);
        ASSERT_GT(wav.size(), 44);
        const quint32 dataBytes = qFromLittleEndian<quint32>(wav.constData() + 40);
        EXPECT_EQ(static_cast<qsizetype>(dataBytes) + 44, wav.size()) << "the header tells the real length";
        EXPECT_NEAR(dataBytes / 176400.0, r.seconds, 0.06);
        // The music is there: not all samples are silent.
        bool sound = false;
        for (qsizetype i = 44; i + 1 < wav.size() && !sound; i += 2)
            sound = qFromLittleEndian<qint16>(wav.constData() + i) != 0;
        EXPECT_TRUE(sound);
    }
}

TEST_F(MidiRendering, FailsOnFilesThatAreNotSongs) {
    const QByteArray noTrack("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14);
    const QByteArray truncatedTrack("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\x10\0\x00\x90", 24);
    for (const QByteArray& bad : {QByteArray(), QByteArray("not midi at all"), noTrack, truncatedTrack}) {
        const midi::Rendering out = renderToMemoryWav(write(dir, "bad.mid", bad), font);
        EXPECT_EQ(out.fd, -1) << bad.toHex().toStdString();
        if (out.fd >= 0) ::close(out.fd);
    }
    EXPECT_EQ(renderToMemoryWav(QFile::encodeName(dir.filePath("missing.mid")), font).fd, -1);
    EXPECT_EQ(renderToMemoryWav(write(dir, "ok.mid", song(2)), "").fd, -1) << "no sound font, no music";
}

}  // namespace
}  // namespace sorinel::platform::midi
