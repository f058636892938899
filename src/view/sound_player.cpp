#include "view/sound_player.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>

namespace orv::view {

namespace {

constexpr int kTickMs = 50;

}  // namespace

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent)
{
    buffer_.setBuffer(&samples_);
    ticker_.setInterval(kTickMs);
    connect(&ticker_, &QTimer::timeout, this, [this] { emit PositionChanged(PositionMs()); });
}

SoundPlayer::~SoundPlayer() = default;

QString SoundPlayer::Unavailable() const
{
    if (QMediaDevices::defaultAudioOutput().isNull())
        return tr("No audio output device is available, so sounds cannot be played here.");
    return error_;
}

void SoundPlayer::SetSound(const SoundFormat& format, const QByteArray& samples)
{
    Stop();
    sink_.reset();
    buffer_.close();
    samples_ = samples;
    // Whole sample frames only: a cut last frame would shift every channel after it.
    if (format.blockAlign != 0) samples_.truncate(samples_.size() - samples_.size() % format.blockAlign);
    format_.setSampleRate(static_cast<int>(format.rate));
    format_.setChannelCount(format.channels);
    format_.setSampleFormat(QAudioFormat::Int16);
    error_.clear();
    emit PositionChanged(0);
}

qint64 SoundPlayer::DurationMs() const
{
    return format_.isValid() ? format_.durationForBytes(static_cast<qint32>(samples_.size())) / 1000 : 0;
}

qint64 SoundPlayer::PositionMs() const
{
    if (!format_.isValid()) return 0;
    qint64 played = format_.durationForBytes(static_cast<qint32>(startByte_)) / 1000;
    if (state_ != State::Stopped && sink_) played += sink_->processedUSecs() / 1000;
    return std::min(played, DurationMs());
}

void SoundPlayer::Play()
{
    if (state_ == State::Playing || !format_.isValid() || !Unavailable().isEmpty()) return;
    if (state_ == State::Paused && sink_) {
        sink_->resume();
        SetState(State::Playing);
        return;
    }
    StartAt(startByte_);
}

void SoundPlayer::Pause()
{
    if (state_ != State::Playing) return;
    sink_->suspend();
    SetState(State::Paused);
}

void SoundPlayer::Stop()
{
    if (sink_) sink_->stop();
    buffer_.close();
    startByte_ = 0;
    SetState(State::Stopped);
    emit PositionChanged(0);
}

void SoundPlayer::Seek(qint64 ms)
{
    if (!format_.isValid()) return;
    const bool paused = state_ == State::Paused;
    qint64 byte = format_.bytesForDuration(std::clamp<qint64>(ms, 0, DurationMs()) * 1000);
    byte -= byte % std::max(format_.bytesPerFrame(), 1);
    if (state_ == State::Stopped) {
        // Playing starts there.
        startByte_ = byte;
        emit PositionChanged(PositionMs());
        return;
    }
    StartAt(byte);
    if (paused) Pause();
}

void SoundPlayer::StartAt(qint64 byte)
{
    if (sink_) sink_->stop();
    buffer_.close();
    sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format_);
    connect(sink_.get(), &QAudioSink::stateChanged, this, &SoundPlayer::SinkStateChanged);
    buffer_.open(QIODevice::ReadOnly);
    buffer_.seek(byte);
    startByte_ = byte;
    sink_->start(&buffer_);
    if (sink_->error() == QAudio::OpenError) {
        error_ = tr("The audio output could not be opened.");
        sink_.reset();
        buffer_.close();
        startByte_ = 0;
        SetState(State::Stopped);
        return;
    }
    SetState(State::Playing);
}

void SoundPlayer::SinkStateChanged()
{
    // Idle once every sample has been handed to the output: the sound has ended. The
    // sink is left to play what the output still holds; stopping it would cut the end off.
    if (state_ == State::Playing && sink_ && sink_->state() == QAudio::IdleState && buffer_.atEnd()) {
        startByte_ = 0;
        SetState(State::Stopped);
        emit PositionChanged(0);
    }
}

void SoundPlayer::SetState(State state)
{
    if (state == State::Playing)
        ticker_.start();
    else
        ticker_.stop();
    if (state_ == state) return;
    state_ = state;
    emit StateChanged();
}

}  // namespace orv::view
