#include "platform/AudioDevice.h"

#include <QtEndian>

namespace {
std::unique_ptr<AudioDevice>& installed() {
    static std::unique_ptr<AudioDevice> d;
    return d;
}

void putLe32(QByteArray& b, quint32 v) {
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

void putLe16(QByteArray& b, quint16 v) {
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}
} // namespace

namespace Audio {

AudioDevice* device() {
    return installed().get();
}

void setDevice(std::unique_ptr<AudioDevice> d) {
    installed() = std::move(d);
}

namespace {
std::unique_ptr<AudioDevice>& alarmInstalled() {
    static std::unique_ptr<AudioDevice> d;
    return d;
}
} // namespace

AudioDevice* alarmDevice() {
    return alarmInstalled().get();
}

void setAlarmDevice(std::unique_ptr<AudioDevice> d) {
    alarmInstalled() = std::move(d);
}

QByteArray pcmWavHeader(int sampleRate, int channels, quint32 dataBytes) {
    const int bits = 16;
    QByteArray h("RIFF");
    putLe32(h, 36 + dataBytes);
    h.append("WAVEfmt ");
    putLe32(h, 16);
    putLe16(h, 1); // PCM
    putLe16(h, quint16(channels));
    putLe32(h, quint32(sampleRate));
    putLe32(h, quint32(sampleRate * channels * bits / 8));
    putLe16(h, quint16(channels * bits / 8));
    putLe16(h, bits);
    h.append("data");
    putLe32(h, dataBytes);
    return h;
}

QByteArray builtInRecordingTemplate() {
    return pcmWavHeader(8000, 1, 0);
}

} // namespace Audio
