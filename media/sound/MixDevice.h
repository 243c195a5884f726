// The buffer layer that playback runs on: secondary buffers of PCM data with volume (hundredths
// of a decibel), pan, frequency, looping and a playing status, mixed into one SDL audio device.
// Buffers are driven from the game's thread; the mixing runs on SDL's audio thread, so every
// buffer operation takes the device's lock for a moment.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tonvella {

constexpr int MIX_RATE = 44100;
constexpr int MIX_FRAMES = 256; // device buffer; a started sound is heard within about 6 ms

constexpr int MIX_VOLUME_MIN = -10000; // silent
constexpr int MIX_VOLUME_MAX = 0;
constexpr int MIX_PAN_LEFT = -10000;
constexpr int MIX_PAN_RIGHT = 10000;
constexpr int MIX_FREQUENCY_MIN = 100;
constexpr int MIX_FREQUENCY_MAX = 200000;
constexpr int MIX_FREQUENCY_ORIGINAL = 0; // the rate of the buffer's own data

constexpr int MIX_STATUS_PLAYING = 1;

// A buffer stopped while it sounds is not cut off, which clicks: the mixer lets what it was
// playing fade out over this long (raised cosine). The buffer itself is stopped at once.
constexpr int MIX_STOP_FADE_MS = 8;

// Once nothing has sounded for this long, the mixer rests: SDL's audio thread sleeps in the
// callback instead of mixing silence every period, until a buffer plays. The silence mixed
// first fills the device's own buffers, so that a device that runs dry meanwhile has only
// silence left to repeat.
constexpr int MIX_REST_AFTER_MS = 1000;

// Error codes of buffer operations (0 is success).
constexpr int MIX_ERR_INVALID = 0x57;
constexpr int MIX_ERR_NO_DEVICE = 0x15;

struct TWaveFormat {
    int channels = 0; // 1 or 2
    int hertz = 0;
    int bits = 0; // 8 (unsigned) or 16 (signed little-endian)
};

class TMixDevice;

class TMixBuffer {
public:
    ~TMixBuffer();
    TMixBuffer(const TMixBuffer&) = delete;
    TMixBuffer& operator=(const TMixBuffer&) = delete;

    // The whole sample memory for writing. Fill it before the buffer plays: the data is shared
    // with every duplicate and read by the mixer without a copy.
    std::uint8_t* Lock(int& bytes);
    int Unlock();

    int Play(bool looping);
    int Stop();
    int SetCurrentPosition(int frame);
    int SetVolume(int hundredths_db);
    int SetPan(int pan);
    int SetFrequency(int hertz);
    int GetStatus(int& status);
    int GetVolume() const { return _volume; }
    int GetPan() const { return _pan; }
    int GetFrequency() const { return _frequency; }

    const TWaveFormat& Format() const { return _data->format; }

private:
    friend class TMixDevice;
    struct TData {
        TWaveFormat format;
        int frames = 0;
        std::uint8_t* bytes = nullptr;
        int size = 0;
        std::shared_ptr<void> owner; // keeps `bytes` alive
    };
    // Where a playback is in its data and how loud it is.
    struct TVoice {
        std::uint64_t pos = 0;  // frames in 32.32 fixed point
        std::uint64_t step = 0; // per output frame, 32.32
        bool looping = false;
        float gain_left = 1, gain_right = 1;
    };
    TMixBuffer(std::shared_ptr<TMixDevice> device, std::shared_ptr<TData> data);
    void UpdateGains();
    // Mixer side, under the device lock.
    void MixInto(float* out, int frames);
    TVoice Voice() const;
    // Adds up to `frames` frames of the voice to `out`, each scaled by the matching entry of
    // `fade` when there is one; returns the frames mixed, fewer when a one-shot ran out.
    static int MixVoice(const TData& data, TVoice& voice, float* out, int frames,
                        const float* fade);

    std::shared_ptr<TMixDevice> _device;
    std::shared_ptr<TData> _data;
    bool _playing = false;
    bool _looping = false;
    std::uint64_t _pos = 0; // frames in 32.32 fixed point
    int _volume = 0;
    int _pan = 0;
    int _frequency = 0;
    float _gain_left = 1, _gain_right = 1;
};

using TMixBufferHandle = std::shared_ptr<TMixBuffer>;

class TMixDevice : public std::enable_shared_from_this<TMixDevice> {
public:
    // Opens SDL's audio subsystem and its default output device at MIX_RATE, 16-bit stereo,
    // MIX_FRAMES frames; none with the reason in `error` when there is no device.
    static std::shared_ptr<TMixDevice> Open(std::string& error);
    ~TMixDevice();

    // Stops mixing and lets go of SDL's device. Buffers stay valid objects but are no longer heard.
    void Close();

    // A buffer of `bytes` bytes of the given format (silence); none with MIX_ERR_INVALID in
    // `error` for formats the mixer cannot play.
    TMixBufferHandle CreateBuffer(const TWaveFormat& format, int bytes, int& error);
    // A buffer over `bytes` bytes at `data` that someone else made, without a copy: it keeps
    // `owner`, which must keep the bytes alive and unchanged. Refuses what CreateBuffer refuses.
    TMixBufferHandle CreateBufferOver(const TWaveFormat& format, std::shared_ptr<void> owner,
                                      std::uint8_t* data, int bytes, int& error);
    // A new buffer sharing the sample memory of `source`, stopped, at position 0.
    TMixBufferHandle DuplicateBuffer(const TMixBufferHandle& source, int& error);

    int Frames() const { return _frames; } // the device buffer actually obtained
    int Rate() const { return _rate; }

    // While held, the audio thread mixes nothing and every position stands still; Render pulls
    // the next frames by hand, exactly as the audio thread would have mixed them. Lets a caller
    // see what a given sequence of buffer operations sounds like, independent of timing.
    void HoldOutput(bool held);
    void Render(std::int16_t* stereo, int frames) { Mix(stereo, frames); }

    // True while the audio thread rests because nothing has sounded for MIX_REST_AFTER_MS.
    bool Resting();

private:
    TMixDevice() = default;
    static void Callback(void* self, std::uint8_t* stream, int len);
    void Mix(std::int16_t* out, int frames);
    void MixLocked(std::int16_t* out, int frames);
    // The audio thread's turn: rests while there is nothing to hear, then mixes.
    void Feed(std::int16_t* out, int frames);
    // Under the lock: a buffer playing or a fade-out still going.
    bool Sounding() const;
    // Under the lock: ends a rest, for a buffer that plays or for SDL, which takes its own lock
    // around the callback before it holds or closes the device.
    void Interrupt();

    friend class TMixBuffer;
    // What a stopped buffer was playing, fading out. It holds the sample data itself, so the
    // buffer may be reused or freed at once.
    struct TFadeOut {
        std::shared_ptr<TMixBuffer::TData> data;
        TMixBuffer::TVoice voice;
        int done = 0; // frames of the fade mixed
    };
    // Both under the lock. Finished fade-outs are moved into `finished` rather than destroyed,
    // so that sample memory they were the last to hold is freed after the lock is let go.
    void StartFadeOut(const TMixBuffer& buffer);
    void DropFinishedFadeOuts(std::vector<TFadeOut>& finished);

    std::mutex _lock;
    std::condition_variable _wake;     // a buffer plays, or SDL needs the callback to return
    std::vector<TMixBuffer*> _buffers; // every live buffer of this device
    std::vector<TFadeOut> _fade_outs;
    std::vector<float> _fade; // gain per frame of a fade-out, falling to 0
    std::vector<float> _accu;
    std::uint32_t _sdl_device = 0;
    int _frames = 0;
    int _rate = 0;
    int _quiet_frames = 0; // mixed since something last sounded
    int _rest_after = 0;   // frames
    bool _resting = false;
    bool _held = false;
    bool _closing = false;
};

} // namespace tonvella
