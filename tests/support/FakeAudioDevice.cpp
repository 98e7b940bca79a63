#include "support/FakeAudioDevice.h"

#include <QFile>
#include <sndfile.h>
#include <vector>

FakeAudioDevice* FakeAudioDevice::install() {
    auto fake = std::make_unique<FakeAudioDevice>();
    FakeAudioDevice* raw = fake.get();
    Audio::setDevice(std::move(fake));
    return raw;
}

bool FakeAudioDevice::open(const QString& path) {
    ++openCount;
    if (refuseOpen) {
        error_ = QStringLiteral("No capture device");
        return false;
    }
    SF_INFO info{};
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!f) {
        error_ = QStringLiteral("Not a sound file: ") + path;
        return false;
    }
    sf_close(f);
    opened_ = path;
    sampleRate = info.samplerate;
    channels_ = info.channels;
    length_ = info.samplerate > 0 ? info.frames * 1000 / info.samplerate : 0;
    position_ = 0;
    return true;
}

bool FakeAudioDevice::record() {
    ++recordCount;
    recording = true;
    recordedFrames_ = 0;
    return true;
}

void FakeAudioDevice::recordSeconds(double seconds) {
    if (recording) recordedFrames_ += qint64(seconds * sampleRate);
}

bool FakeAudioDevice::save(const QString& path) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels_;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f) {
        error_ = QStringLiteral("Cannot write ") + path;
        return false;
    }
    std::vector<short> samples(size_t(recordedFrames_ * channels_));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = short((i % 20) * 1000);
    sf_writef_short(f, samples.data(), recordedFrames_);
    sf_close(f);
    recording = false;
    return true;
}

bool FakeAudioDevice::play() {
    playing = true;
    played << opened_;
    return true;
}

void FakeAudioDevice::stop() {
    playing = false;
}

void FakeAudioDevice::close() {
    playing = false;
    recording = false;
    opened_.clear();
}
