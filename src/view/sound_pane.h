#pragma once

#include <QByteArray>
#include <QWidget>

#include "engine/format/sound_format.h"

class QLabel;
class QSlider;
class QToolButton;

namespace orv::view {

class SoundPlayer;

// A sound entry: its format and length, play/pause, stop and a position bar; where no
// sound can be played, the controls are disabled and a line says why.
class SoundPane : public QWidget {
    Q_OBJECT

public:
    explicit SoundPane(QWidget* parent = nullptr);

    // The sound shown, stopped at its start.
    void SetSound(const SoundFormat& format, const QByteArray& samples);
    // Stops what plays, as when another entry is shown.
    void Stop();
    // Plays, or pauses what plays.
    void TogglePlaying();
    // Why the sound cannot be played; empty when it can.
    QString WhyNotPlayable() const;
    SoundPlayer& player() { return *player_; }

private:
    void UpdateControls();
    void UpdatePosition(qint64 ms);

    SoundPlayer* player_ = nullptr;
    QLabel* info_ = nullptr;
    QLabel* why_ = nullptr;
    QToolButton* play_ = nullptr;
    QToolButton* stop_ = nullptr;
    QSlider* position_ = nullptr;
    QLabel* time_ = nullptr;
};

}  // namespace orv::view
