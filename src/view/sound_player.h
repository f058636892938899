#pragma once

#include <QAudioFormat>
#include <QBuffer>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "engine/format/sound_format.h"

class QAudioSink;

namespace orv::view {

// Plays a sound entry's 16-bit PCM, as conversion writes it into its WAV file, on the
// desktop's default audio output.
class SoundPlayer : public QObject {
    Q_OBJECT

public:
    enum class State { Stopped, Playing, Paused };

    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    // Why sounds cannot be played here; empty when they can.
    QString Unavailable() const;
    // The sound to play from its start; what was playing stops.
    void SetSound(const SoundFormat& format, const QByteArray& samples);
    // Plays from where the sound stands.
    void Play();
    void Pause();
    // Stops and goes back to the start.
    void Stop();
    void Seek(qint64 ms);

    State state() const { return state_; }
    qint64 PositionMs() const;
    qint64 DurationMs() const;

signals:
    void StateChanged();
    void PositionChanged(qint64 ms);

private:
    void StartAt(qint64 byte);
    void SinkStateChanged();
    void SetState(State state);

    QAudioFormat format_;
    QByteArray samples_;
    QBuffer buffer_;
    std::unique_ptr<QAudioSink> sink_;
    qint64 startByte_ = 0;  // where the sink started in the samples
    State state_ = State::Stopped;
    QString error_;  // the output failed to open
    QTimer ticker_;  // position updates while playing
};

}  // namespace orv::view
