#pragma once

struct ca_context;

namespace orv::app {

// The desktop's warning sound: the sound theme's event "dialog-warning", played through
// libcanberra, or the toolkit's beep where no sound can be played.
class WarningSound {
public:
    WarningSound();

    // Returns at once; the sound plays on to its end.
    void Play();

private:
    ca_context* context_ = nullptr;
};

}  // namespace orv::app
