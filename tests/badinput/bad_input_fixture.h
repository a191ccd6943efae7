// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real window on a folder of the test's own, with what a user would
// notice recorded: what played (from the player's own reports), whether a
// new window (a dialog) appeared, and how long posted clicks waited.

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "../soak/click_probe.h"
#include "../soak/play_log.h"
#include "desktop.h"
#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "window/form1.h"

namespace sorinel::testing {

inline QString badInputMedia() { return QStringLiteral(BADINPUT_MEDIA_DIR); }

// A click that waits this long means the window froze.
constexpr long long kFreezeMs = 2000;

class BadInputFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) before.insert(w);
        form = std::make_unique<window::Form1>(clock, random);
        log = std::make_unique<PlayLog>(*form->MediaPlayer1);
        form->raiseLoad();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        pumpFor(300);
        probe = std::make_unique<ClickProbe>(probeTarget(), 250);
    }

    void TearDown() override {
        if (probe) probe->stop();
        probe.reset();
        form->MediaPlayer1->setUrl(QString());
        log.reset();
        form.reset();
    }

    // The box the click probe clicks: one the test does not type into.
    virtual window::TextBox& probeTarget() { return *form->EndTime_txt; }

    // Copies a generated clip into the folder under a new name.
    void addClip(const QString& source, const QString& name) {
        ASSERT_TRUE(QFile::copy(badInputMedia() + "/" + source, folder.filePath(name))) << source.toStdString();
    }

    void showFolder() {
        form->File1->setPath(folder.path());
        pumpFor(100);
    }

    void clickEntry(int index) {
        auto* list = form->File1;
        const QRect r = list->visualItemRect(list->item(index));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }

    // Handles events until pred() holds, watching for dialogs and freezes.
    bool watchUntil(const std::function<bool()>& pred, int timeoutMs) {
        return waitUntil(
            [&] {
                look();
                return pred();
            },
            timeoutMs);
    }
    void watchFor(int ms) {
        watchUntil([] { return false; }, ms);
    }

    // Without wrap: waits for the run to end (nothing loaded, the player
    // stopped) and stay ended.
    bool playUntilEnd(int timeoutMs = 60000) {
        const auto ended = [&] {
            return playedCount() >= 1 && form->MediaPlayer1->url().isEmpty() && form->MediaPlayer1->playState() == 1;
        };
        if (!watchUntil(ended, timeoutMs)) return false;
        watchFor(1500);  // nothing starts again by itself
        return ended();
    }

    std::vector<QString> playedNames() const {
        std::vector<QString> names;
        for (const auto& e : log->played()) names.push_back(e.name);
        return names;
    }
    int playedCount() const { return static_cast<int>(log->playedCount()); }
    int loadCount() const { return static_cast<int>(log->episodes().size()); }

    void expectNoDialogNoFreeze() {
        look();
        EXPECT_TRUE(newWindows.isEmpty()) << "a new window appeared: " << newWindows.values().join(", ").toStdString();
        EXPECT_LT(frozenMs, kFreezeMs) << "a click waited " << frozenMs << " ms";
        EXPECT_LT(probe->worst(), kFreezeMs);
        EXPECT_GT(probe->latencies().size(), 0u) << "no click was answered";
        EXPECT_TRUE(form->isVisible());
    }

    playback::SystemClock clock;
    playback::SystemRandom random;
    QTemporaryDir folder;
    std::unique_ptr<window::Form1> form;
    std::unique_ptr<PlayLog> log;
    std::unique_ptr<ClickProbe> probe;

private:
    void look() {
        frozenMs = std::max(frozenMs, probe ? probe->waiting() : 0);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w == form.get() || before.contains(w)) continue;
            newWindows.insert(QString("%1 \"%2\"").arg(w->metaObject()->className(), w->windowTitle()));
        }
        if (QWidget* modal = QApplication::activeModalWidget())
            newWindows.insert(QString("modal %1").arg(modal->metaObject()->className()));
    }

    QSet<QWidget*> before;
    QSet<QString> newWindows;
    long long frozenMs = 0;
};

}  // namespace sorinel::testing

namespace sorinel {
using BadInput = testing::BadInputFixture;
}
