#include "view/sound_pane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "view/sound_player.h"

namespace orv::view {

namespace {

// "1:05.3"
QString Clock(qint64 ms)
{
    return QStringLiteral("%1:%2.%3").arg(ms / 60000).arg(ms / 1000 % 60, 2, 10, QLatin1Char('0')).arg(ms / 100 % 10);
}

}  // namespace

SoundPane::SoundPane(QWidget* parent) : QWidget(parent), player_(new SoundPlayer(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    info_ = new QLabel(this);
    info_->setObjectName("soundInfo");
    info_->setAlignment(Qt::AlignCenter);
    layout->addWidget(info_);

    auto* controls = new QHBoxLayout;
    play_ = new QToolButton(this);
    play_->setObjectName("soundPlay");
    connect(play_, &QToolButton::clicked, this, &SoundPane::TogglePlaying);
    stop_ = new QToolButton(this);
    stop_->setObjectName("soundStop");
    stop_->setText(tr("Stop"));
    connect(stop_, &QToolButton::clicked, player_, &SoundPlayer::Stop);
    position_ = new QSlider(Qt::Horizontal, this);
    position_->setObjectName("soundPosition");
    connect(position_, &QSlider::sliderMoved, player_, &SoundPlayer::Seek);
    time_ = new QLabel(this);
    time_->setObjectName("soundTime");
    controls->addWidget(play_);
    controls->addWidget(stop_);
    controls->addWidget(position_, 1);
    controls->addWidget(time_);
    layout->addLayout(controls);

    why_ = new QLabel(this);
    why_->setObjectName("soundUnavailable");
    why_->setAlignment(Qt::AlignCenter);
    why_->setWordWrap(true);
    layout->addWidget(why_);
    layout->addStretch();

    connect(player_, &SoundPlayer::StateChanged, this, &SoundPane::UpdateControls);
    connect(player_, &SoundPlayer::PositionChanged, this, &SoundPane::UpdatePosition);
    UpdateControls();
}

void SoundPane::SetSound(const SoundFormat& format, const QByteArray& samples)
{
    player_->SetSound(format, samples);
    const qint64 ms = player_->DurationMs();
    info_->setText(tr("%1 Hz, %2, %3 s of 16-bit sound.")
                       .arg(format.rate)
                       .arg(format.channels == 1 ? tr("mono") : tr("stereo"))
                       .arg(static_cast<double>(ms) / 1000, 0, 'f', 2));
    position_->setRange(0, static_cast<int>(ms));
    UpdatePosition(0);
    UpdateControls();
}

void SoundPane::Stop()
{
    player_->Stop();
}

void SoundPane::TogglePlaying()
{
    if (!WhyNotPlayable().isEmpty()) return;
    if (player_->state() == SoundPlayer::State::Playing)
        player_->Pause();
    else
        player_->Play();
    UpdateControls();
}

QString SoundPane::WhyNotPlayable() const
{
    QString why = player_->Unavailable();
    if (!why.isEmpty()) return why;
    return player_->DurationMs() > 0 ? QString() : tr("The sound holds no samples.");
}

void SoundPane::UpdateControls()
{
    const QString why = player_->Unavailable();
    const bool playable = WhyNotPlayable().isEmpty();
    why_->setText(why);
    why_->setVisible(!why.isEmpty());
    play_->setEnabled(playable);
    stop_->setEnabled(playable && player_->state() != SoundPlayer::State::Stopped);
    position_->setEnabled(playable);
    play_->setText(player_->state() == SoundPlayer::State::Playing ? tr("Pause") : tr("Play"));
}

void SoundPane::UpdatePosition(qint64 ms)
{
    if (!position_->isSliderDown()) {
        const QSignalBlocker blocker(position_);
        position_->setValue(static_cast<int>(ms));
    }
    time_->setText(tr("%1 / %2").arg(Clock(ms), Clock(player_->DurationMs())));
}

}  // namespace orv::view
