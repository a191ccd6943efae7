#include "form_fixture.h"

#include <QTest>

#include "desktop.h"

namespace sorinel::testing {

void FormUnderTest::start() {
    form->raiseLoad();
    form->show();
    QTest::qWaitForWindowExposed(form.get());
    pumpFor(300);
}

}  // namespace sorinel::testing
