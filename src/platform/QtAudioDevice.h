#pragma once
// The wave-audio device over the system's audio input and output, with WAV files read and
// written by libsndfile. It checks the device lists itself: the audio library reports success
// when there is no device at all.

#include "platform/AudioDevice.h"

#include <QAudioFormat>
#include <QBuffer>
#include <memory>

class QAudioSink;
class QAudioSource;

class QtAudioDevice : public AudioDevice {
public:
    QtAudioDevice();
    ~QtAudioDevice() override;

    bool open(const QString& path) override;
    bool record() override;
    bool save(const QString& path) override;
    bool play() override;
    void stop() override;
    void close() override;
    qint64 position() const override;
    qint64 length() const override;
    void setPosition(qint64 ms) override;
    bool finished() const override;
    QString lastError() const override;

private:
    bool fail(const QString& text);
    qint64 bytesToMs(qint64 bytes) const;

    QAudioFormat format_;
    int sndFormat_ = 0;  // libsndfile format of the opened file
    QByteArray samples_; // the opened file's samples, or what was recorded
    QBuffer buffer_;
    std::unique_ptr<QAudioSource> source_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* input_ = nullptr; // what the capture device delivers
    qint64 startMs_ = 0;         // where the running playback started
    bool opened_ = false;
    QString error_;
};
