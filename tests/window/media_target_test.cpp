// What a request from outside may open (the command line, MPRIS OpenUri):
// which paths are taken and how, which are refused, how file URIs decode to
// bytes, and that the MIME types offered agree with the desktop entry.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "window/media_target.h"

namespace sorinel::window {
namespace {

using Kind = MediaTarget::Kind;

void touch(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ::close(fd);
}

class MediaTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = QFile::encodeName(dir.path());
    }
    QTemporaryDir dir;
    QByteArray root;
};

// Each of the fifteen kinds, in any letter case and with any bytes in the
// name, is a file of its folder; the name keeps its bytes.
TEST_F(MediaTargetTest, FilesOfTheFifteenKindsAreTakenWithTheirBytes) {
    const char* names[] = {"a.mpeg", "a.WMA", "a.wmv", "a.Avi", "a.mov", "a.mpg", "a.mp3", "a.mp2",
                           "a.m2p", "a.wav", "a.asf", "a.midi", "a.aiff", "a.au", "a.dvr-ms",
                           "\xff\xfe clip.mpg", "\x83\x65\x83\x58\x83\x67.wav", "sp ace;semi.mp3"};
    for (const char* name : names) {
        const QByteArray path = root + '/' + name;
        touch(path);
        const MediaTarget t = resolveMediaTarget(path);
        EXPECT_EQ(t.kind, Kind::File) << name << ": " << t.refusal.toStdString();
        EXPECT_EQ(t.folder, dir.path()) << name;
        EXPECT_EQ(t.fileName, QByteArray(name));
        EXPECT_TRUE(t.refusal.isEmpty());
    }
}

TEST_F(MediaTargetTest, RefusalsSayWhy) {
    touch(root + "/movie.mp4");
    touch(root + "/a.midi.txt");
    touch(root + "/.hidden.mpg");
    ASSERT_EQ(::mkfifo((root + "/pipe.mpg").constData(), 0644), 0);
    ASSERT_EQ(::symlink("nowhere.mpg", (root + "/dangling.mpg").constData()), 0);
    const struct {
        QByteArray path;
        const char* why;
    } rows[] = {
        {root + "/movie.mp4", "not a kind of media file"},
        {root + "/a.midi.txt", "not a kind of media file"},
        {root + "/.hidden.mpg", "hidden"},
        {root + "/pipe.mpg", "not a file or folder"},
        {root + "/missing.mpg", "no such file or folder"},
        {root + "/dangling.mpg", "no such file or folder"},
        {root + "/movie.mp4/x.mpg", "no such file or folder"},
        {"", "no such file or folder"},
    };
    for (const auto& row : rows) {
        const MediaTarget t = resolveMediaTarget(row.path);
        EXPECT_EQ(t.kind, Kind::Refused) << row.path.constData();
        EXPECT_TRUE(t.refusal.contains(QLatin1String(row.why))) << row.path.constData() << ": " << t.refusal.toStdString();
        EXPECT_TRUE(t.folder.isEmpty() && t.fileName.isEmpty());
    }
}

// What the program may not read is refused. Root reads everything, so the
// test looks as an ordinary user does.
TEST_F(MediaTargetTest, UnreadableFilesAndFoldersAreRefused) {
    touch(root + "/locked.mpg");
    ASSERT_EQ(::chmod((root + "/locked.mpg").constData(), 0), 0);
    ASSERT_EQ(::mkdir((root + "/closed").constData(), 0755), 0);
    touch(root + "/closed/in.mpg");
    ASSERT_EQ(::chmod((root + "/closed").constData(), 0311), 0);  // not listable
    touch(root + "/open.mpg");
    ASSERT_EQ(::chmod(root.constData(), 0755), 0);
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) ASSERT_EQ(::seteuid(65534), 0);  // nobody
    const MediaTarget locked = resolveMediaTarget(root + "/locked.mpg");
    const MediaTarget inClosed = resolveMediaTarget(root + "/closed/in.mpg");
    const MediaTarget closed = resolveMediaTarget(root + "/closed");
    const MediaTarget open = resolveMediaTarget(root + "/open.mpg");
    if (asRoot) ASSERT_EQ(::seteuid(0), 0);
    ::chmod((root + "/closed").constData(), 0755);
    EXPECT_EQ(locked.kind, Kind::Refused);
    EXPECT_TRUE(locked.refusal.contains(QLatin1String("cannot be read"))) << locked.refusal.toStdString();
    EXPECT_EQ(inClosed.kind, Kind::Refused);
    EXPECT_EQ(closed.kind, Kind::Refused);
    EXPECT_TRUE(closed.refusal.contains(QLatin1String("cannot be read"))) << closed.refusal.toStdString();
    EXPECT_EQ(open.kind, Kind::File) << "the check itself refuses: " << open.refusal.toStdString();
}

TEST_F(MediaTargetTest, FoldersAndRelativePaths) {
    ASSERT_EQ(::mkdir((root + "/sub").constData(), 0755), 0);
    touch(root + "/sub/b.wav");
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const MediaTarget folder = resolveMediaTarget("sub/");
    const MediaTarget file = resolveMediaTarget("sub/b.wav");
    const MediaTarget here = resolveMediaTarget(".");
    QDir::setCurrent(cwd);
    EXPECT_EQ(folder.kind, Kind::Folder);
    EXPECT_EQ(QDir::cleanPath(folder.folder), dir.path() + "/sub");
    EXPECT_TRUE(folder.fileName.isEmpty());
    EXPECT_EQ(file.kind, Kind::File);
    EXPECT_EQ(QDir::cleanPath(file.folder), dir.path() + "/sub");
    EXPECT_EQ(file.fileName, QByteArray("b.wav"));
    EXPECT_EQ(here.kind, Kind::Folder);
    EXPECT_EQ(QDir::cleanPath(here.folder), dir.path());
    EXPECT_EQ(resolveMediaTarget("/").kind, Kind::Folder);
}

// Only local file URIs decode; everything the engine could open some other
// way (a network, its own protocols) is not a file URI at all.
TEST(FileUri, OnlyLocalFileUrisDecode) {
    const struct {
        const char* uri;
        const char* path;  // nullptr: refused
    } rows[] = {
        {"file:///m/a%20b.mpg", "/m/a b.mpg"},
        {"file://localhost/m/a.mpg", "/m/a.mpg"},
        {"FILE:///m/a.mpg", "/m/a.mpg"},
        {"file:/m/a.mpg", "/m/a.mpg"},
        {"file:///m/%FF%FE.mpg", "/m/\xff\xfe.mpg"},
        {"file:///m/%E3%83%86.mpg", "/m/\xe3\x83\x86.mpg"},
        {"file:///m/%23%3F.mpg", "/m/#?.mpg"},
        {"file://example.com/m/a.mpg", nullptr},
        {"file:///m/a.mpg?x=1", nullptr},
        {"file:///m/a.mpg#t=3", nullptr},
        {"file:///m/a%00.mpg", nullptr},
        {"file:m/a.mpg", nullptr},
        {"file://", nullptr},
        {"/m/a.mpg", nullptr},
        {"http://example.com/a.mpg", nullptr},
        {"ftp://example.com/a.mpg", nullptr},
        {"lavfi://testsrc", nullptr},
        {"av://lavfi:sine", nullptr},
        {"memory://abc", nullptr},
        {"edl://%10%/m/a.mpg", nullptr},
        {"fd://0", nullptr},
    };
    for (const auto& row : rows) {
        const auto path = localPathOfFileUri(QString::fromUtf8(row.uri));
        if (row.path) {
            ASSERT_TRUE(path.has_value()) << row.uri;
            EXPECT_EQ(*path, QByteArray(row.path)) << row.uri;
        } else {
            EXPECT_FALSE(path.has_value()) << row.uri;
        }
    }
}

// Every byte a name can hold survives the way to a URI and back, and the
// URI itself is plain ASCII (D-Bus strings must be UTF-8).
TEST(FileUri, EveryByteRoundTrips) {
    QByteArray path("/d/");
    for (int b = 1; b < 256; ++b) path += static_cast<char>(b);
    const QString uri = fileUriOfLocalPath(path);
    for (QChar c : uri) ASSERT_LT(c.unicode(), 0x80);
    const auto back = localPathOfFileUri(uri);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, path);
}

// What MPRIS offers is what the desktop entry lists, and a folder.
TEST(MediaMimeTypes, AgreeWithTheDesktopEntry) {
    QFile entry(QStringLiteral(SORINEL_SOURCE_DIR "/packaging/sorinel.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    QStringList listed;
    for (const QByteArray& line : entry.readAll().split('\n'))
        if (line.startsWith("MimeType="))
            listed = QString::fromUtf8(line.mid(9)).split(u';', Qt::SkipEmptyParts);
    ASSERT_FALSE(listed.isEmpty());
    listed << QStringLiteral("inode/directory");
    QStringList offered = mediaTargetMimeTypes();
    listed.sort();
    offered.sort();
    EXPECT_EQ(offered, listed);
}

}  // namespace
}  // namespace sorinel::window
