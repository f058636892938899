#pragma once

namespace orv {

// One settings file read whole: per animation and frame, how a frame is composed.
class SettingsFile;

}  // namespace orv
