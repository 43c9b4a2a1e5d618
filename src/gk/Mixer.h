#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace gk {

using DeviceId = uint32_t;
using BufferId = uint32_t;
inline constexpr DeviceId NoDevice = 0;
inline constexpr BufferId NoBuffer = 0;

// Layout of the sample data handed to createBuffer: 8-bit samples are unsigned (0x80 is
// silence), 16-bit ones signed little-endian; stereo frames are left then right.
struct Format {
    int channels = 1; // 1 or 2
    int rate = 22050; // 4000 .. 96000 Hz
    int bits = 8;     // 8 or 16

    int frameBytes() const { return channels * bits / 8; }
};

// InvalidArgument is the sound platform's: the mixer itself clamps what it is given.
enum class Result { Ok, BufferLost, InvalidBuffer, InvalidArgument };

// Software mixer: any number of devices, each owning static sound buffers, rendered
// together as 44,100 Hz interleaved stereo int16.
//
// render() is meant for the audio callback; every other member is for one other thread (the
// UI). The callback takes the lock only to copy or write back a few words per voice and never
// allocates or frees: sample data of removed buffers waits in a graveyard until the render
// pass that might still read it has finished, and is freed by a later UI call.
class Mixer {
public:
    static constexpr int OutputRate = 44100;

    Mixer();
    ~Mixer();
    Mixer(const Mixer &) = delete;
    Mixer &operator=(const Mixer &) = delete;

    DeviceId createDevice();
    // Stops and drops every buffer of the device.
    void destroyDevice(DeviceId device);

    // The data is converted once, here; without data the buffer holds `bytes` of silence.
    // Returns NoBuffer for an unknown device or an unsupported format; a trailing partial
    // frame is ignored.
    BufferId createBuffer(DeviceId device, const Format &fmt, const uint8_t *data, size_t bytes);
    // Replaces the samples from the buffer's start with `bytes` of data in its format, at most
    // its length; anything after them becomes silence. Position and playing are kept. Refused
    // with BufferLost while the buffer is lost.
    Result writeBuffer(BufferId buffer, const uint8_t *data, size_t bytes);
    // A second buffer on the same sample data with its own position, volume and pan.
    BufferId duplicateBuffer(BufferId source);
    Result destroyBuffer(BufferId buffer);

    // Plays from the current position. A one-shot buffer stops at its end and rewinds to 0;
    // a looping one wraps. Playing an already playing buffer changes only its looping.
    Result play(BufferId buffer, bool looping = false);
    // Keeps the position.
    Result stop(BufferId buffer);
    // In bytes of the buffer's original format; clamped to the buffer's length.
    Result setPosition(BufferId buffer, size_t bytes);
    // In bytes of the buffer's original format, whole frames; 0 for an unknown buffer.
    size_t position(BufferId buffer) const;
    size_t sizeBytes(BufferId buffer) const;
    bool isPlaying(BufferId buffer) const;

    // Hundredths of a decibel: 0 is full, -10000 silent. Clamped to that range.
    Result setVolume(BufferId buffer, int volume);
    int volume(BufferId buffer) const;
    // -10000 .. 10000: negative attenuates the right channel by |pan| hundredths of a dB,
    // positive the left.
    Result setPan(BufferId buffer, int pan);
    int pan(BufferId buffer) const;

    // Simulates the loss of a buffer's memory: it stops and refuses play and writeBuffer
    // until restored. Its data stays as it was, and its position can still be set.
    Result loseBuffer(BufferId buffer);
    Result restoreBuffer(BufferId buffer);
    bool isLost(BufferId buffer) const;

    // Adds every playing buffer into out (frames × 2 samples), clipping to int16.
    void render(int16_t *out, int frames);

private:
    struct Samples; // 44.1 kHz interleaved stereo int16, immutable once built
    struct Voice;
    struct Active;

    int slotOf(BufferId buffer) const;
    template <typename T, typename Read> T readVoice(BufferId buffer, T none, Read read) const;
    template <typename Change> Result changeVoice(BufferId buffer, Change change);
    BufferId addVoice_locked(DeviceId device, const Format &fmt,
                             std::shared_ptr<const Samples> samples, size_t bytes);
    void releaseSlot_locked(int slot);
    void updateGains_locked(Voice &v);
    int snapshot_locked(int &cursor, Active *dst, int capacity);
    void writeBack_locked(const Active *src, int count);
    void collectGarbage();
    static void mixVoice(Active &a, float *acc, int n);

    mutable std::mutex mutex_;
    // Guarded by mutex_: the render thread reads and writes these.
    std::vector<Voice> voices_;
    uint64_t passStarted_ = 0;
    uint64_t passFinished_ = 0;

    // UI thread only.
    std::unordered_map<BufferId, int> slots_;
    std::vector<int> freeSlots_;
    std::vector<DeviceId> devices_;
    struct Grave {
        std::shared_ptr<const Samples> samples;
        uint64_t releasedDuringPass;
    };
    std::vector<Grave> graveyard_;
    DeviceId nextDevice_ = 1;
    BufferId nextBuffer_ = 1;
};

} // namespace gk
