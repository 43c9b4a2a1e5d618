#include "gk/Mixer.h"

#include "platform/Bytes.h"

#include <algorithm>
#include <cmath>

namespace gk {

struct Mixer::Samples {
    std::vector<int16_t> data; // interleaved stereo at OutputRate
    uint32_t frames = 0;
};

struct Mixer::Voice {
    std::shared_ptr<const Samples> samples;
    BufferId id = NoBuffer; // NoBuffer marks a free slot
    DeviceId device = NoDevice;
    Format fmt;
    size_t srcFrames = 0;
    uint32_t pos = 0; // output frame
    // Bumped whenever the UI moves pos or changes playing, so that a render pass that copied
    // the voice before does not write back a stale position.
    uint32_t serial = 0;
    bool playing = false;
    bool looping = false;
    bool lost = false;
    int volume = 0;
    int pan = 0;
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
};

struct Mixer::Active {
    const int16_t *data;
    uint32_t frames;
    uint32_t pos;
    uint32_t serial;
    int slot;
    float gainLeft;
    float gainRight;
    bool looping;
    bool playing;
};

namespace {

constexpr int BlockFrames = 512;
constexpr int BatchVoices = 64;

bool validFormat(const Format &fmt) {
    return (fmt.channels == 1 || fmt.channels == 2) && (fmt.bits == 8 || fmt.bits == 16) &&
           fmt.rate >= 4000 && fmt.rate <= 96000;
}

float decodeSample(const uint8_t *p, int bits) {
    if (bits == 8) {
        return (static_cast<float>(*p) - 128.0f) * 256.0f;
    }
    return static_cast<float>(static_cast<int16_t>(platform::LoadU16(p)));
}

uint32_t outputFrames(size_t srcFrames, int rate) {
    return static_cast<uint32_t>((static_cast<uint64_t>(srcFrames) * Mixer::OutputRate + rate - 1) /
                                 rate);
}

// Linear interpolation with the phase kept exact in integers: output frame j sits at source
// time j * rate / OutputRate. Past the last source frame the signal is taken as silence.
std::vector<int16_t> convert(const Format &fmt, const uint8_t *data, size_t srcFrames,
                             uint32_t outFrames) {
    const int ch = fmt.channels;
    const int sampleBytes = fmt.bits / 8;
    std::vector<float> src(srcFrames * ch);
    for (size_t i = 0; i < src.size(); ++i) {
        src[i] = decodeSample(data + i * sampleBytes, fmt.bits);
    }
    std::vector<int16_t> out(static_cast<size_t>(outFrames) * 2);
    for (uint32_t j = 0; j < outFrames; ++j) {
        const uint64_t num = static_cast<uint64_t>(j) * fmt.rate;
        const size_t i = num / Mixer::OutputRate;
        const float frac = static_cast<float>(num % Mixer::OutputRate) / Mixer::OutputRate;
        for (int c = 0; c < 2; ++c) {
            const int sc = ch == 1 ? 0 : c;
            const float a = i < srcFrames ? src[i * ch + sc] : 0.0f;
            const float b = i + 1 < srcFrames ? src[(i + 1) * ch + sc] : 0.0f;
            // Between two int16 samples, so always in range.
            out[j * 2 + c] = static_cast<int16_t>(std::lrint(a + (b - a) * frac));
        }
    }
    return out;
}

float attenuation(int hundredthsDb) {
    if (hundredthsDb <= -10000) {
        return 0.0f;
    }
    return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

} // namespace

Mixer::Mixer() = default;

// Whoever drives render() stops it before the mixer goes away, so nothing is in flight.
Mixer::~Mixer() = default;

int Mixer::slotOf(BufferId buffer) const {
    const auto it = slots_.find(buffer);
    return it == slots_.end() ? -1 : it->second;
}

// One field or figure of a buffer's voice, read under the lock; `none` for an unknown buffer.
template <typename T, typename Read> T Mixer::readVoice(BufferId buffer, T none, Read read) const {
    const int slot = slotOf(buffer);
    if (slot < 0) {
        return none;
    }
    std::lock_guard lock(mutex_);
    return read(voices_[slot]);
}

// Changes a buffer's voice under the lock; InvalidBuffer for an unknown buffer.
template <typename Change> Result Mixer::changeVoice(BufferId buffer, Change change) {
    const int slot = slotOf(buffer);
    if (slot < 0) {
        return Result::InvalidBuffer;
    }
    std::lock_guard lock(mutex_);
    return change(voices_[slot]);
}

DeviceId Mixer::createDevice() {
    collectGarbage();
    devices_.push_back(nextDevice_);
    return nextDevice_++;
}

void Mixer::destroyDevice(DeviceId device) {
    const auto it = std::find(devices_.begin(), devices_.end(), device);
    if (it == devices_.end()) {
        return;
    }
    devices_.erase(it);
    std::vector<BufferId> owned;
    {
        std::lock_guard lock(mutex_);
        for (const Voice &v : voices_) {
            if (v.id != NoBuffer && v.device == device) {
                owned.push_back(v.id);
            }
        }
    }
    for (BufferId id : owned) {
        destroyBuffer(id);
    }
}

BufferId Mixer::addVoice_locked(DeviceId device, const Format &fmt,
                                std::shared_ptr<const Samples> samples, size_t srcFrames) {
    int slot;
    if (freeSlots_.empty()) {
        slot = static_cast<int>(voices_.size());
        voices_.emplace_back();
    } else {
        slot = freeSlots_.back();
        freeSlots_.pop_back();
    }
    Voice &v = voices_[slot];
    const uint32_t serial = v.serial + 1;
    v = Voice{};
    v.serial = serial;
    v.samples = std::move(samples);
    v.id = nextBuffer_++;
    v.device = device;
    v.fmt = fmt;
    v.srcFrames = srcFrames;
    slots_.emplace(v.id, slot);
    return v.id;
}

BufferId Mixer::createBuffer(DeviceId device, const Format &fmt, const uint8_t *data,
                             size_t bytes) {
    collectGarbage();
    if (std::find(devices_.begin(), devices_.end(), device) == devices_.end() ||
        !validFormat(fmt)) {
        return NoBuffer;
    }
    const size_t srcFrames = bytes / fmt.frameBytes();
    auto samples = std::make_shared<Samples>();
    samples->frames = outputFrames(srcFrames, fmt.rate);
    samples->data = data == nullptr
                        ? std::vector<int16_t>(static_cast<size_t>(samples->frames) * 2, 0)
                        : convert(fmt, data, srcFrames, samples->frames);
    slots_.reserve(slots_.size() + 1);
    std::lock_guard lock(mutex_);
    return addVoice_locked(device, fmt, std::move(samples), srcFrames);
}

Result Mixer::writeBuffer(BufferId buffer, const uint8_t *data, size_t bytes) {
    collectGarbage();
    const int slot = slotOf(buffer);
    if (slot < 0) {
        return Result::InvalidBuffer;
    }
    Format fmt;
    size_t frames;
    uint32_t outFrames;
    {
        std::lock_guard lock(mutex_);
        const Voice &v = voices_[slot];
        if (v.lost) {
            return Result::BufferLost;
        }
        fmt = v.fmt;
        frames = v.srcFrames;
        outFrames = v.samples->frames;
    }
    // Converted outside the lock; the old samples wait in the graveyard for any render pass
    // still reading them.
    auto samples = std::make_shared<Samples>();
    samples->frames = outFrames;
    const size_t written = data == nullptr ? 0 : std::min(frames, bytes / fmt.frameBytes());
    samples->data = convert(fmt, data, written, outFrames);
    graveyard_.reserve(graveyard_.size() + 1);
    std::lock_guard lock(mutex_);
    Voice &v = voices_[slot];
    graveyard_.push_back({std::move(v.samples), passStarted_});
    v.samples = std::move(samples);
    return Result::Ok;
}

BufferId Mixer::duplicateBuffer(BufferId source) {
    collectGarbage();
    const int slot = slotOf(source);
    if (slot < 0) {
        return NoBuffer;
    }
    slots_.reserve(slots_.size() + 1);
    std::lock_guard lock(mutex_);
    // Copied first: adding a voice may move the vector.
    const Voice src = voices_[slot];
    const BufferId id = addVoice_locked(src.device, src.fmt, src.samples, src.srcFrames);
    Voice &copy = voices_[slots_.at(id)];
    copy.volume = src.volume;
    copy.pan = src.pan;
    updateGains_locked(copy);
    return id;
}

void Mixer::releaseSlot_locked(int slot) {
    Voice &v = voices_[slot];
    graveyard_.push_back({std::move(v.samples), passStarted_});
    v.id = NoBuffer;
    v.playing = false;
    ++v.serial;
}

Result Mixer::destroyBuffer(BufferId buffer) {
    const int slot = slotOf(buffer);
    if (slot < 0) {
        return Result::InvalidBuffer;
    }
    slots_.erase(buffer);
    freeSlots_.reserve(freeSlots_.size() + 1);
    graveyard_.reserve(graveyard_.size() + 1);
    {
        std::lock_guard lock(mutex_);
        releaseSlot_locked(slot);
    }
    freeSlots_.push_back(slot);
    collectGarbage();
    return Result::Ok;
}

// Frees the sample data no render pass can still be reading: everything released before
// the last finished pass began.
void Mixer::collectGarbage() {
    if (graveyard_.empty()) {
        return;
    }
    uint64_t finished;
    {
        std::lock_guard lock(mutex_);
        finished = passFinished_;
    }
    std::erase_if(graveyard_,
                  [finished](const Grave &g) { return g.releasedDuringPass <= finished; });
}

Result Mixer::play(BufferId buffer, bool looping) {
    collectGarbage();
    return changeVoice(buffer, [looping](Voice &v) {
        if (v.lost) {
            return Result::BufferLost;
        }
        v.looping = looping;
        if (!v.playing) {
            v.playing = true;
            ++v.serial;
        }
        return Result::Ok;
    });
}

Result Mixer::stop(BufferId buffer) {
    return changeVoice(buffer, [](Voice &v) {
        if (v.playing) {
            v.playing = false;
            ++v.serial;
        }
        return Result::Ok;
    });
}

Result Mixer::setPosition(BufferId buffer, size_t bytes) {
    return changeVoice(buffer, [bytes](Voice &v) {
        const size_t srcFrame = std::min(bytes / v.fmt.frameBytes(), v.srcFrames);
        // Rounding up keeps position() returning what was set for every rate up to OutputRate.
        v.pos = std::min(outputFrames(srcFrame, v.fmt.rate), v.samples->frames);
        ++v.serial;
        return Result::Ok;
    });
}

size_t Mixer::position(BufferId buffer) const {
    return readVoice(buffer, size_t{0}, [](const Voice &v) {
        const size_t srcFrame =
            std::min<size_t>(static_cast<uint64_t>(v.pos) * v.fmt.rate / OutputRate, v.srcFrames);
        return srcFrame * v.fmt.frameBytes();
    });
}

size_t Mixer::sizeBytes(BufferId buffer) const {
    return readVoice(buffer, size_t{0},
                     [](const Voice &v) { return v.srcFrames * v.fmt.frameBytes(); });
}

bool Mixer::isPlaying(BufferId buffer) const {
    return readVoice(buffer, false, [](const Voice &v) { return v.playing; });
}

void Mixer::updateGains_locked(Voice &v) {
    const float amplitude = attenuation(v.volume);
    v.gainLeft = amplitude * (v.pan > 0 ? attenuation(-v.pan) : 1.0f);
    v.gainRight = amplitude * (v.pan < 0 ? attenuation(v.pan) : 1.0f);
}

Result Mixer::setVolume(BufferId buffer, int volume) {
    return changeVoice(buffer, [this, volume](Voice &v) {
        v.volume = std::clamp(volume, -10000, 0);
        updateGains_locked(v);
        return Result::Ok;
    });
}

int Mixer::volume(BufferId buffer) const {
    return readVoice(buffer, 0, [](const Voice &v) { return v.volume; });
}

Result Mixer::setPan(BufferId buffer, int pan) {
    return changeVoice(buffer, [this, pan](Voice &v) {
        v.pan = std::clamp(pan, -10000, 10000);
        updateGains_locked(v);
        return Result::Ok;
    });
}

int Mixer::pan(BufferId buffer) const {
    return readVoice(buffer, 0, [](const Voice &v) { return v.pan; });
}

Result Mixer::loseBuffer(BufferId buffer) {
    return changeVoice(buffer, [](Voice &v) {
        v.lost = true;
        if (v.playing) {
            v.playing = false;
            ++v.serial;
        }
        return Result::Ok;
    });
}

Result Mixer::restoreBuffer(BufferId buffer) {
    return changeVoice(buffer, [](Voice &v) {
        v.lost = false;
        return Result::Ok;
    });
}

bool Mixer::isLost(BufferId buffer) const {
    return readVoice(buffer, false, [](const Voice &v) { return v.lost; });
}

int Mixer::snapshot_locked(int &cursor, Active *dst, int capacity) {
    int count = 0;
    const int size = static_cast<int>(voices_.size());
    while (cursor < size && count < capacity) {
        const int slot = cursor++;
        const Voice &v = voices_[slot];
        if (v.id == NoBuffer || !v.playing) {
            continue;
        }
        dst[count++] = Active{v.samples->data.data(),
                              v.samples->frames,
                              v.pos,
                              v.serial,
                              slot,
                              v.gainLeft,
                              v.gainRight,
                              v.looping,
                              true};
    }
    return count;
}

void Mixer::writeBack_locked(const Active *src, int count) {
    for (int i = 0; i < count; ++i) {
        Voice &v = voices_[src[i].slot];
        if (v.serial == src[i].serial) {
            v.pos = src[i].pos;
            v.playing = src[i].playing;
        }
    }
}

void Mixer::mixVoice(Active &a, float *acc, int n) {
    int done = 0;
    while (done < n) {
        const uint32_t m = std::min<uint32_t>(static_cast<uint32_t>(n - done), a.frames - a.pos);
        const int16_t *src = a.data + static_cast<size_t>(a.pos) * 2;
        float *dst = acc + static_cast<size_t>(done) * 2;
        const float gl = a.gainLeft;
        const float gr = a.gainRight;
        for (uint32_t i = 0; i < m; ++i) {
            dst[2 * i] += src[2 * i] * gl;
            dst[2 * i + 1] += src[2 * i + 1] * gr;
        }
        a.pos += m;
        done += static_cast<int>(m);
        if (a.pos >= a.frames) {
            a.pos = 0;
            if (!a.looping || a.frames == 0) {
                a.playing = false;
                return;
            }
        }
    }
}

void Mixer::render(int16_t *out, int frames) {
    float acc[BlockFrames * 2];
    Active batch[BatchVoices];
    uint64_t pass;
    {
        std::lock_guard lock(mutex_);
        pass = ++passStarted_;
    }
    while (frames > 0) {
        const int n = std::min(frames, BlockFrames);
        std::fill_n(acc, n * 2, 0.0f);
        int cursor = 0;
        for (;;) {
            int count;
            {
                std::lock_guard lock(mutex_);
                count = snapshot_locked(cursor, batch, BatchVoices);
            }
            if (count == 0) {
                break;
            }
            for (int i = 0; i < count; ++i) {
                mixVoice(batch[i], acc, n);
            }
            std::lock_guard lock(mutex_);
            writeBack_locked(batch, count);
        }
        for (int i = 0; i < n * 2; ++i) {
            const float s = std::clamp(acc[i], -32768.0f, 32767.0f);
            out[i] = static_cast<int16_t>(std::lrint(s));
        }
        out += n * 2;
        frames -= n;
    }
    std::lock_guard lock(mutex_);
    passFinished_ = pass;
}

} // namespace gk
