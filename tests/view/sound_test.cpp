// The sound pane, on a machine without a sound server and with a PulseAudio server whose
// null sink is recorded (run under scripts/with-pulseaudio, which names the sink in
// ORVTEST_SINK). ctest runs each case in the setting it needs.
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <random>

#include "viewer_fixture.h"
#include "temp_dir.h"
#include "tools/pack_writer.h"
#include "view/entry_filter.h"
#include "view/entry_model.h"
#include "view/sound_pane.h"
#include "view/sound_player.h"
#include "view/viewer_window.h"

using orv::tools::Bytes;

namespace {

// Stereo 22050 Hz samples (format code 7) of noise, that cannot be found in a recording
// by chance.
QByteArray Noise(int frames)
{
    std::mt19937 random(7);
    QByteArray samples;
    for (int i = 0; i < frames * 4; ++i) samples.append(static_cast<char>(random()));
    return samples;
}

}  // namespace

class SoundTest : public ViewerFixture {
    Q_OBJECT

private:
    // A window showing the sound entry of an archive that holds these samples.
    std::unique_ptr<orv::view::ViewerWindow> ShowSound(const QByteArray& samples)
    {
        Bytes sound{0, 0, 0, 7};
        sound.insert(sound.end(), samples.begin(), samples.end());
        const std::string path = Write("voice.dat", orv::tools::BuildPack({{"a.txt", {1}}, {"voice.pcm", sound}}));
        auto window = std::make_unique<orv::view::ViewerWindow>(dialogs);
        window->show();
        if (!window->OpenInput(path)) return nullptr;
        QSignalSpy shown(window.get(), &orv::view::ViewerWindow::PreviewShown);
        auto* list = window->findChild<QTableView*>("entryList");
        list->setCurrentIndex(list->model()->index(1, 0));
        if (!shown.wait(20000) && window->preview().entry != 1) return nullptr;
        return window;
    }

private slots:
    void init() { dir = std::make_unique<TempDir>(); }

    void withoutASoundServerTheControlsSayWhy()
    {
        const auto window = ShowSound(Noise(22050));
        QVERIFY(window != nullptr);
        auto* pane = window->findChild<orv::view::SoundPane*>("soundPane");
        QVERIFY(pane->isVisible());
        QCOMPARE(pane->findChild<QLabel*>("soundInfo")->text(), QString("22050 Hz, stereo, 1.00 s of 16-bit sound."));
        QVERIFY(!pane->findChild<QToolButton*>("soundPlay")->isEnabled());
        const auto* why = pane->findChild<QLabel*>("soundUnavailable");
        QVERIFY(why->isVisible());
        QVERIFY2(why->text().contains("No audio output"), qPrintable(why->text()));
        pane->player().Play();
        QCOMPARE(pane->player().state(), orv::view::SoundPlayer::State::Stopped);
    }

    void playingDeliversTheSamplesToTheSink()
    {
        const QString sink = qEnvironmentVariable("ORVTEST_SINK");
        QVERIFY2(!sink.isEmpty(), "run under scripts/with-pulseaudio");
        const QByteArray samples = Noise(11025);
        const auto window = ShowSound(samples);
        QVERIFY(window != nullptr);
        auto* pane = window->findChild<orv::view::SoundPane*>("soundPane");
        auto* play = pane->findChild<QToolButton*>("soundPlay");
        QVERIFY(play->isEnabled());

        QProcess recorder;
        recorder.start(
            "parec",
            {"-d", sink + ".monitor", "--format=s16le", "--rate=22050", "--channels=2", "--raw", "--latency-msec=20"});
        QVERIFY(recorder.waitForStarted());
        // Playing starts once the recording stream is connected.
        QTRY_VERIFY_WITH_TIMEOUT(
            [] {
                QProcess list;
                list.start("pactl", {"list", "short", "source-outputs"});
                list.waitForFinished();
                return !list.readAllStandardOutput().trimmed().isEmpty();
            }(),
            10000);
        QSignalSpy position(&pane->player(), &orv::view::SoundPlayer::PositionChanged);
        play->click();
        QCOMPARE(pane->player().state(), orv::view::SoundPlayer::State::Playing);
        QTRY_COMPARE_WITH_TIMEOUT(pane->player().state(), orv::view::SoundPlayer::State::Stopped, 20000);
        QTest::qWait(300);
        recorder.terminate();
        QVERIFY(recorder.waitForFinished(5000));
        const QByteArray recorded = recorder.readAllStandardOutput();
        QVERIFY2(recorded.indexOf(samples) >= 0,
                 qPrintable(QString("%1 bytes recorded, samples not among them").arg(recorded.size())));
        const bool advanced
            = std::ranges::any_of(position, [](const QList<QVariant>& call) { return call.at(0).toLongLong() > 0; });
        QVERIFY(advanced);
    }
};

QTEST_MAIN(SoundTest)
#include "sound_test.moc"
