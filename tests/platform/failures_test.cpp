// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one place a failure stops: nothing escapes into the event loop, and
// nothing is printed unless the category's debug level is asked for.

#include "platform/failures.h"

#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <stdexcept>

namespace sorinel::platform {
namespace {

QStringList printed;

void keep(QtMsgType, const QMessageLogContext& context, const QString& text) {
    printed << QString("%1: %2").arg(context.category, text);
}

TEST(Failures, StopAtTheBoundarySilentlyUnlessAskedFor) {
    const QtMessageHandler previous = qInstallMessageHandler(keep);
    reportFailuresAtDebugLevel();
    bool after = false;
    atEventLoopBoundary("a handler", [] { throw std::runtime_error("disk gone"); });
    atEventLoopBoundary("a handler", [] { throw 42; });
    atEventLoopBoundary("a handler", [&] { after = true; });
    EXPECT_TRUE(after);
    EXPECT_TRUE(printed.isEmpty()) << printed.join('\n').toStdString();

    QLoggingCategory::setFilterRules("sorinel.failures.debug=true");
    atEventLoopBoundary("a handler", [] { throw std::runtime_error("disk gone"); });
    QLoggingCategory::setFilterRules({});
    qInstallMessageHandler(previous);
    ASSERT_EQ(printed.size(), 1);
    EXPECT_TRUE(printed[0].startsWith("sorinel.failures: ")) << printed[0].toStdString();
    EXPECT_TRUE(printed[0].contains("disk gone")) << printed[0].toStdString();
}

}  // namespace
}  // namespace sorinel::platform
