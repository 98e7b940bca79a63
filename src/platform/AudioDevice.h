#pragma once
// The wave-audio device the player records into and plays from: one WAV file at a time,
// positions and lengths in milliseconds. Recording and playing never block the caller.
// The real device lives with the windows (it needs the audio library); tests install a fake.

#include <QByteArray>
#include <QString>
#include <memory>

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Opens a WAV file; its header fixes the format of a recording. False: see lastError().
    virtual bool open(const QString& path) = 0;
    virtual bool record() = 0;
    // Writes what was recorded into path as a complete WAV file before it returns.
    virtual bool save(const QString& path) = 0;
    virtual bool play() = 0;
    virtual void stop() = 0;
    virtual void close() = 0;
    virtual qint64 position() const = 0;
    virtual qint64 length() const = 0;
    virtual void setPosition(qint64 ms) = 0;
    // True once a playback has run out by itself.
    virtual bool finished() const = 0;
    virtual QString lastError() const = 0;
};

namespace Audio {
// The installed device, or nullptr when none was installed yet.
AudioDevice* device();
void setDevice(std::unique_ptr<AudioDevice> device); // nullptr removes it
// The alarm sounds on a device of its own, so that it never cuts into a recording.
AudioDevice* alarmDevice();
void setAlarmDevice(std::unique_ptr<AudioDevice> device);

// A WAV header of 16-bit PCM with dataBytes of samples following it.
QByteArray pcmWavHeader(int sampleRate, int channels, quint32 dataBytes);
// The header a recording starts from when no template is stored: 8000 Hz, 16-bit, mono.
QByteArray builtInRecordingTemplate();
} // namespace Audio
