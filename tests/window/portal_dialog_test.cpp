// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The folder dialog as a desktop offers it: the XDG desktop portal's chooser
// where the session has one (a stand-in portal on the test's own bus), Qt's
// own dialog where it has none or the portal fails, and Qt's own dialog in
// Japanese with nothing cut in its columns.
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <gtest/gtest.h>

#include "desktop.h"
#include "dialog_driver.h"
#include "window/controls/open_file_dialog.h"
#include "window/controls/portal_file_chooser.h"

namespace sorinel::testing {

// A portal's file chooser on a connection of its own: records what it was
// asked and answers as told.
class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")
public:
    FakePortal() : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal"))) {}
    ~FakePortal() override { QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal")); }

    bool start(bool withChooser) {
        bus_.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
        if (withChooser && !bus_.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                                                QDBusConnection::ExportAllSlots))
            return false;
        return bus_.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }

    // The next answer.
    uint response = 0;
    QString uri;
    // The last request.
    int requests = 0;
    QString parentWindow, title;
    QVariantMap options;

public slots:
    QDBusObjectPath OpenFile(const QString& parent_window, const QString& title_, const QVariantMap& options_,
                             const QDBusMessage& call) {
        ++requests;
        parentWindow = parent_window;
        title = title_;
        options = options_;
        QString sender = call.service().mid(1);
        sender.replace(u'.', u'_');
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                 .arg(sender, options_.value(QStringLiteral("handle_token")).toString());
        // The person takes a moment to choose.
        QTimer::singleShot(200, this, [this, path] {
            QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                             QStringLiteral("Response"));
            signal << response << QVariantMap{{QStringLiteral("uris"), QStringList{uri}}};
            bus_.send(signal);
        });
        return QDBusObjectPath(path);
    }

private:
    QDBusConnection bus_;
};

namespace {

// The filters as the portal received them, a(sa(us)), written out as
// "label[kind:text,...]".
QString filtersOf(const QVariant& value) {
    QString out;
    const QDBusArgument arg = value.value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        QString label;
        arg.beginStructure();
        arg >> label;
        out += label + '[';
        arg.beginArray();
        while (!arg.atEnd()) {
            uint kind = 0;
            QString text;
            arg.beginStructure();
            arg >> kind >> text;
            arg.endStructure();
            out += QString("%1:%2,").arg(kind).arg(text);
        }
        arg.endArray();
        arg.endStructure();
        out += ']';
    }
    arg.endArray();
    return out;
}

class PortalDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
        window::retryPortalNextTime();
        parent.resize(300, 200);
        parent.show();
        dialog.setFilter(QString::fromUtf8("メディアファイル|*.*"));
        dialog.setDialogTitle(QString::fromUtf8("メディアファイル"));
        dialog.setInitDir(folder.path());
    }

    QTemporaryDir folder;
    QWidget parent;
    window::OpenFileDialog dialog{&parent};
};

TEST_F(PortalDialog, ThePortalsChooserIsAskedWithTheTitleFilterAndFolder) {
    FakePortal portal;
    ASSERT_TRUE(portal.start(true));
    portal.uri = QStringLiteral("file://") + folder.path() + QStringLiteral("/b%20c.wav");
    ASSERT_TRUE(dialog.showOpen());
    EXPECT_EQ(dialog.FileName(), folder.path() + "/b c.wav");
    EXPECT_EQ(dialog.FileTitle(), "b c.wav");

    EXPECT_EQ(portal.title, QString::fromUtf8("メディアファイル"));
    EXPECT_TRUE(portal.parentWindow.startsWith("x11:")) << portal.parentWindow.toStdString();
    EXPECT_TRUE(portal.options.value("modal").toBool());
    EXPECT_FALSE(portal.options.value("multiple").toBool());
    EXPECT_FALSE(portal.options.value("directory").toBool());
    EXPECT_EQ(portal.options.value("current_folder").toByteArray(), QFile::encodeName(folder.path()) + '\0');
    EXPECT_EQ(filtersOf(portal.options.value("filters")), QString::fromUtf8("メディアファイル[0:*,]"));

    // Cancelled in the portal: no choice, and the last one stands.
    portal.response = 1;
    EXPECT_FALSE(dialog.showOpen());
    EXPECT_EQ(dialog.FileName(), folder.path() + "/b c.wav");
    EXPECT_EQ(portal.requests, 2);
}

// A portal without a chooser: Qt's own dialog, at once and from then on.
TEST_F(PortalDialog, APortalThatFailsGivesQtsOwnDialog) {
    FakePortal portal;
    ASSERT_TRUE(portal.start(false));
    QFile(folder.filePath("a.mpg")).open(QIODevice::WriteOnly);
    driveNextFileDialog(folder.filePath("a.mpg"));
    ASSERT_TRUE(dialog.showOpen());
    EXPECT_TRUE(lastDialogWasDriven());
    EXPECT_EQ(dialog.FileName(), folder.filePath("a.mpg"));

    // The portal is not asked again, even once it could answer.
    ASSERT_TRUE(portal.start(true));
    driveNextFileDialog(QString());
    EXPECT_FALSE(dialog.showOpen());
    EXPECT_TRUE(lastDialogWasDriven());
    EXPECT_EQ(portal.requests, 0);
}

// No portal at all: Qt's own dialog, in Japanese, every heading and entry
// whole.
TEST_F(PortalDialog, QtsOwnDialogSpeaksJapaneseAndCutsNothing) {
    QTranslator japanese;
    ASSERT_TRUE(japanese.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QApplication::installTranslator(&japanese);
    QFile(folder.filePath(QString::fromUtf8("とても長い名前のメディアファイル.mpg"))).open(QIODevice::WriteOnly);

    QStringList headings, cut;
    bool looked = false;
    std::function<void(int)> look = [&](int attemptsLeft) {
        auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!shown || !shown->isVisible()) {
            if (attemptsLeft > 0) QTimer::singleShot(100, [&, attemptsLeft] { look(attemptsLeft - 1); });
            return;
        }
        // A file that arrives while the dialog is open, its size and date
        // read after its name, as on a busy machine.
        QFile late(folder.filePath(QString::fromUtf8("あとから来たファイル.mpg")));
        if (late.open(QIODevice::WriteOnly)) late.write(QByteArray(2'000'000, 'x'));
        late.close();
        pumpFor(2500);  // the folder's watcher reports it
        looked = true;
        auto* view = shown->findChild<QTreeView*>(QStringLiteral("treeView"));
        if (view && view->isVisible()) {
            QHeaderView* header = view->header();
            for (int k = 0; k < header->count(); ++k) {
                const QString heading = header->model()->headerData(k, Qt::Horizontal).toString();
                headings << heading;
                const int wanted =
                    std::max(header->sectionSizeHint(k), static_cast<QAbstractItemView*>(view)->sizeHintForColumn(k));
                const int visibleEnd = header->sectionViewportPosition(k) + header->sectionSize(k);
                if (header->sectionSize(k) < wanted || visibleEnd > view->viewport()->width())
                    cut << QStringLiteral("%1 (%2 of %3)").arg(heading).arg(header->sectionSize(k)).arg(wanted);
            }
        }
        if (auto* sidebar = shown->findChild<QListView*>(QStringLiteral("sidebar"))) {
            const int wanted = static_cast<QAbstractItemView*>(sidebar)->sizeHintForColumn(0);
            if (sidebar->viewport()->width() < wanted)
                cut << QStringLiteral("places (%1 of %2)").arg(sidebar->viewport()->width()).arg(wanted);
        }
#ifdef SORINEL_DIALOG_SCREENSHOT
        screenshot(QStringLiteral(SORINEL_DIALOG_SCREENSHOT));
#endif
        shown->reject();
    };
    QTimer::singleShot(200, [&] { look(50); });
    EXPECT_FALSE(dialog.showOpen());
    QApplication::removeTranslator(&japanese);
    ASSERT_TRUE(looked) << "no dialog came up";
    ASSERT_FALSE(headings.isEmpty()) << "no detail view";
    EXPECT_EQ(headings.first(), QString::fromUtf8("名前")) << headings.join(", ").toStdString();
    EXPECT_TRUE(cut.isEmpty()) << "cut: " << cut.join(", ").toStdString();
}

}  // namespace
}  // namespace sorinel::testing

#include "portal_dialog_test.moc"
