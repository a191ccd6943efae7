// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form_fixture.h"

#include <QTest>

#include "desktop.h"

#include <gtest/gtest.h>

namespace sorinel::testing {

void FormUnderTest::start() {
    form->raiseLoad();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get())) << "the window never appeared";
    pumpFor(300);
}

}  // namespace sorinel::testing
