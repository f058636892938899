#include "app/warning_sound.h"

#include <QApplication>
#include <canberra.h>

namespace orv::app {

namespace {

// One context for the whole process, never destroyed: destroying a context unloads its
// driver module, while the thread that played the last sound may still be returning into
// it (the process then crashes at some later moment).
ca_context* SharedContext()
{
    static ca_context* const context = [] {
        ca_context* made = nullptr;
        if (ca_context_create(&made) != CA_SUCCESS) return static_cast<ca_context*>(nullptr);
        ca_context_change_props(made, CA_PROP_APPLICATION_NAME, "orvconv", nullptr);
        return made;
    }();
    return context;
}

}  // namespace

WarningSound::WarningSound() : context_(SharedContext()) { }

void WarningSound::Play()
{
    // Failing to find the sound or a device to play it on is reported here, not later.
    if (context_ == nullptr || ca_context_play(context_, 0, CA_PROP_EVENT_ID, "dialog-warning", nullptr) != CA_SUCCESS)
        QApplication::beep();
}

}  // namespace orv::app
