#pragma once
// An audio device for tests: it reads and writes real WAV files (libsndfile), records as many
// frames as the test says, and reports the position the test sets. It can refuse to open.

#include "platform/AudioDevice.h"

#include <QStringList>

class FakeAudioDevice : public AudioDevice {
public:
    // Installs a new fake as the audio device and returns it (owned by the audio layer).
    static FakeAudioDevice* install();

    bool open(const QString& path) override;
    bool record() override;
    bool save(const QString& path) override;
    bool play() override;
    void stop() override;
    void close() override;
    qint64 position() const override { return position_; }
    qint64 length() const override { return reportedLength >= 0 ? reportedLength : length_; }
    void setPosition(qint64 ms) override { position_ = ms; }
    bool finished() const override { return false; }
    QString lastError() const override { return error_; }

    // What the test drives.
    void recordSeconds(double seconds); // frames captured while recording
    bool refuseOpen = false;
    qint64 reportedLength = -1; // the length a device reports for the opened file; -1: the real one

    // What the test reads.
    int openCount = 0;
    int recordCount = 0;
    QStringList played; // files played, in order
    bool recording = false;
    bool playing = false;
    int sampleRate = 0;

private:
    QString opened_;
    qint64 recordedFrames_ = 0;
    int channels_ = 1;
    qint64 position_ = 0;
    qint64 length_ = 0;
    QString error_;
};
