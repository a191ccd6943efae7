// Interim start and shutdown until the tray layer lands: no icon or hook yet.
#include "tray/lifecycle.h"

#include "playback/ports.h"

namespace sorinel::tray {

void Form_Load(FormAccess&) {}

void Form_Unload(FormAccess& form) {
    form.timer1().setEnabled(false);
    form.timer2().setEnabled(false);
    form.player().stop();
    form.waitTimer(2);
    form.endProgram();
}

}  // namespace sorinel::tray
