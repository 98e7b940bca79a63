#include "platform/QtAudioDevice.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QFile>
#include <QMediaDevices>
#include <sndfile.h>

namespace {

struct SndFile {
    SNDFILE* f = nullptr;
    ~SndFile() {
        if (f) sf_close(f);
    }
};

} // namespace

QtAudioDevice::QtAudioDevice() = default;

QtAudioDevice::~QtAudioDevice() {
    close();
}

bool QtAudioDevice::fail(const QString& text) {
    error_ = text;
    return false;
}

qint64 QtAudioDevice::bytesToMs(qint64 bytes) const {
    const int perSecond = format_.bytesForDuration(1000000);
    return perSecond > 0 ? bytes * 1000 / perSecond : 0;
}

bool QtAudioDevice::open(const QString& path) {
    close();
    SF_INFO info{};
    SndFile file;
    file.f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file.f)
        return fail(QStringLiteral("Cannot open the sound file %1: %2").arg(path, sf_strerror(nullptr)));
    format_.setSampleRate(info.samplerate);
    format_.setChannelCount(info.channels);
    format_.setSampleFormat(QAudioFormat::Int16);
    sndFormat_ = info.format;
    samples_.resize(qsizetype(info.frames) * info.channels * 2);
    const sf_count_t read = sf_readf_short(file.f, reinterpret_cast<short*>(samples_.data()), info.frames);
    samples_.resize(qsizetype(read) * info.channels * 2);
    opened_ = true;
    startMs_ = 0;
    return true;
}

bool QtAudioDevice::record() {
    if (!opened_) return fail(QStringLiteral("No sound file is open"));
    const QAudioDevice input = QMediaDevices::defaultAudioInput();
    if (input.isNull() || QMediaDevices::audioInputs().isEmpty())
        return fail(QStringLiteral("No capture device"));
    if (!input.isFormatSupported(format_))
        return fail(QStringLiteral("The capture device cannot record this format"));
    samples_.clear();
    source_ = std::make_unique<QAudioSource>(input, format_);
    QIODevice* in = source_->start();
    if (!in || source_->error() != QAudio::NoError) {
        source_.reset();
        input_ = nullptr;
        return fail(QStringLiteral("The capture device cannot be started"));
    }
    input_ = in;
    QObject::connect(in, &QIODevice::readyRead, in, [this, in] { samples_.append(in->readAll()); });
    return true;
}

bool QtAudioDevice::save(const QString& path) {
    if (source_) {
        if (input_) samples_.append(input_->readAll());
        source_->stop();
        source_.reset();
        input_ = nullptr;
    }
    SF_INFO info{};
    info.samplerate = format_.sampleRate();
    info.channels = format_.channelCount();
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SndFile file;
    file.f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file.f) return fail(QStringLiteral("Cannot write the sound file %1").arg(path));
    const sf_count_t frames = samples_.size() / 2 / qMax(1, info.channels);
    if (sf_writef_short(file.f, reinterpret_cast<const short*>(samples_.constData()), frames) != frames)
        return fail(QStringLiteral("Cannot write the sound file %1").arg(path));
    return true;
}

bool QtAudioDevice::play() {
    if (!opened_) return fail(QStringLiteral("No sound file is open"));
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull() || QMediaDevices::audioOutputs().isEmpty())
        return fail(QStringLiteral("No playback device"));
    if (sink_) sink_->stop();
    buffer_.close();
    buffer_.setData(samples_);
    buffer_.open(QIODevice::ReadOnly);
    const qint64 offset =
        qBound<qint64>(0, qint64(format_.bytesForDuration(startMs_ * 1000)), qint64(samples_.size()));
    buffer_.seek(offset - offset % qMax(1, format_.bytesPerFrame()));
    sink_ = std::make_unique<QAudioSink>(output, format_);
    sink_->start(&buffer_);
    if (sink_->error() != QAudio::NoError) {
        sink_.reset();
        return fail(QStringLiteral("The playback device cannot be started"));
    }
    return true;
}

void QtAudioDevice::stop() {
    if (sink_) {
        startMs_ = position();
        sink_->stop();
        sink_.reset();
    }
    if (source_) source_->suspend();
}

void QtAudioDevice::close() {
    if (sink_) sink_->stop();
    sink_.reset();
    if (source_) source_->stop();
    source_.reset();
    input_ = nullptr;
    buffer_.close();
    samples_.clear();
    opened_ = false;
    startMs_ = 0;
}

qint64 QtAudioDevice::position() const {
    if (!sink_) return startMs_;
    return qMin(length(), startMs_ + sink_->processedUSecs() / 1000);
}

qint64 QtAudioDevice::length() const {
    return bytesToMs(samples_.size());
}

void QtAudioDevice::setPosition(qint64 ms) {
    startMs_ = qBound<qint64>(0, ms, length());
}

bool QtAudioDevice::finished() const {
    return sink_ && sink_->state() == QAudio::IdleState && buffer_.atEnd();
}

QString QtAudioDevice::lastError() const {
    return error_;
}
