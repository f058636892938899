#include "app/warning_sound.h"

#include <QApplication>
#include <canberra.h>

namespace orv::app {

WarningSound::WarningSound()
{
    if (ca_context_create(&context_) != CA_SUCCESS) {
        context_ = nullptr;
        return;
    }
    ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "orvconv", nullptr);
}

WarningSound::~WarningSound()
{
    if (context_ != nullptr) ca_context_destroy(context_);
}

void WarningSound::Play()
{
    // Failing to find the sound or a device to play it on is reported here, not later.
    if (context_ == nullptr || ca_context_play(context_, 0, CA_PROP_EVENT_ID, "dialog-warning", nullptr) != CA_SUCCESS)
        QApplication::beep();
}

}  // namespace orv::app
