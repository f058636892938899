#pragma once

struct ca_context;

namespace orv::app {

// The desktop's warning sound: the sound theme's event "dialog-warning", played through
// libcanberra, or the toolkit's beep where no sound can be played.
class WarningSound {
public:
    WarningSound();
    ~WarningSound();
    WarningSound(const WarningSound&) = delete;
    WarningSound& operator=(const WarningSound&) = delete;

    // Returns at once; the sound plays on while this object lives.
    void Play();

private:
    ca_context* context_ = nullptr;
};

}  // namespace orv::app
