#include "media/sound/MixDevice.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace tonvella {

namespace {

// Hundredths of a decibel to an amplitude factor; the bottom of the range is true silence.
float Attenuation(int hundredths_db) {
    if (hundredths_db <= MIX_VOLUME_MIN) return 0.0f;
    return float(std::pow(10.0, hundredths_db / 2000.0));
}

} // namespace

std::shared_ptr<TMixDevice> TMixDevice::Open(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return nullptr;
    }
    std::shared_ptr<TMixDevice> device(new TMixDevice);
    SDL_AudioSpec want{}, have{};
    want.freq = MIX_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = MIX_FRAMES;
    want.callback = &TMixDevice::Callback;
    want.userdata = device.get();
    // No changes allowed: SDL converts to whatever the hardware wants, and the callback always
    // sees exactly the format and period it asked for.
    device->_sdl_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device->_sdl_device == 0) {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    device->_frames = have.samples;
    device->_rate = have.freq;
    device->_rest_after = int(std::int64_t(have.freq) * MIX_REST_AFTER_MS / 1000);
    device->_accu.resize(size_t(have.samples) * 2);
    // A raised cosine has no corner where it begins, and its last frame is silence.
    const int fade = std::max(1, have.freq * MIX_STOP_FADE_MS / 1000);
    device->_fade.resize(size_t(fade));
    for (int i = 0; i < fade; ++i)
        device->_fade[size_t(i)] = float(0.5 + 0.5 * std::cos(M_PI * (i + 1) / fade));
    device->_fade_outs.reserve(16);
    SDL_PauseAudioDevice(device->_sdl_device, 0);
    return device;
}

TMixDevice::~TMixDevice() {
    Close();
}

void TMixDevice::Close() {
    if (_sdl_device == 0) return;
    {
        std::lock_guard<std::mutex> hold(_lock);
        _closing = true;
        Interrupt();
    }
    // Not under our lock: closing waits for a running callback, which takes it.
    SDL_CloseAudioDevice(_sdl_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    std::vector<TFadeOut> dropped;
    std::lock_guard<std::mutex> hold(_lock);
    _sdl_device = 0;
    // Nothing plays on a closed device; a playing status would never end.
    for (TMixBuffer* buffer : _buffers)
        buffer->_playing = false;
    dropped.swap(_fade_outs);
}

void TMixDevice::StartFadeOut(const TMixBuffer& buffer) {
    if (_sdl_device == 0 || !buffer._playing) return;
    TMixBuffer::TVoice voice = buffer.Voice();
    if (voice.gain_left == 0 && voice.gain_right == 0) return;
    _fade_outs.push_back({buffer._data, voice, 0});
}

void TMixDevice::DropFinishedFadeOuts(std::vector<TFadeOut>& finished) {
    const int length = int(_fade.size());
    auto end = std::stable_partition(_fade_outs.begin(), _fade_outs.end(),
                                     [&](const TFadeOut& f) { return f.done < length; });
    std::move(end, _fade_outs.end(), std::back_inserter(finished));
    _fade_outs.erase(end, _fade_outs.end());
}

void TMixDevice::HoldOutput(bool held) {
    {
        std::lock_guard<std::mutex> hold(_lock);
        _held = held;
        if (held) Interrupt();
    }
    // SDL takes its own lock around our callback, so once this returns no mixing is under way.
    if (_sdl_device != 0) SDL_PauseAudioDevice(_sdl_device, held ? 1 : 0);
}

bool TMixDevice::Resting() {
    std::lock_guard<std::mutex> hold(_lock);
    return _resting;
}

void TMixDevice::Interrupt() {
    if (_resting) _wake.notify_all();
}

bool TMixDevice::Sounding() const {
    const int length = int(_fade.size());
    for (const TMixBuffer* buffer : _buffers)
        if (buffer->_playing) return true;
    for (const TFadeOut& f : _fade_outs)
        if (f.done < length) return true;
    return false;
}

void TMixDevice::Callback(void* self, std::uint8_t* stream, int len) {
    static_cast<TMixDevice*>(self)->Feed(reinterpret_cast<std::int16_t*>(stream), len / 4);
}

// Mixing silence every few milliseconds would wake the processor hundreds of times a second in
// an idle game. A play ends the rest at once, so the sound starts with the next period mixed,
// and a device that ran dry in between starts afresh rather than after what it had queued.
void TMixDevice::Feed(std::int16_t* out, int frames) {
    std::unique_lock<std::mutex> hold(_lock);
    if (_quiet_frames >= _rest_after && !_held && !_closing && !Sounding()) {
        _resting = true;
        _wake.wait(hold, [&] { return Sounding() || _held || _closing; });
        _resting = false;
        // Woken for SDL (a hold or the close), which waits for this callback to return.
        if (!Sounding()) {
            std::fill(out, out + size_t(frames) * 2, std::int16_t(0));
            return;
        }
    }
    const bool sounding = Sounding();
    MixLocked(out, frames);
    _quiet_frames = sounding ? 0 : std::min(_quiet_frames + frames, _rest_after);
}

void TMixDevice::Mix(std::int16_t* out, int frames) {
    std::lock_guard<std::mutex> hold(_lock);
    MixLocked(out, frames);
}

void TMixDevice::MixLocked(std::int16_t* out, int frames) {
    int chunk = int(_accu.size() / 2);
    while (frames > 0) {
        int n = std::min(frames, chunk);
        std::fill(_accu.begin(), _accu.begin() + n * 2, 0.0f);
        for (TMixBuffer* buffer : _buffers)
            if (buffer->_playing) buffer->MixInto(_accu.data(), n);
        const int length = int(_fade.size());
        for (TFadeOut& f : _fade_outs) {
            if (f.done >= length) continue;
            int todo = std::min(n, length - f.done);
            int mixed =
                TMixBuffer::MixVoice(*f.data, f.voice, _accu.data(), todo, &_fade[size_t(f.done)]);
            f.done = mixed < todo ? length : f.done + todo;
        }
        for (int i = 0; i < n * 2; ++i)
            out[i] = std::int16_t(std::clamp(std::lrint(_accu[size_t(i)]), -32768L, 32767L));
        out += n * 2;
        frames -= n;
    }
}

TMixBufferHandle TMixDevice::CreateBuffer(const TWaveFormat& format, int bytes, int& error) {
    if (bytes < 0) {
        error = MIX_ERR_INVALID;
        return nullptr;
    }
    auto silence =
        std::make_shared<std::vector<std::uint8_t>>(size_t(bytes), format.bits == 8 ? 0x80 : 0);
    return CreateBufferOver(format, silence, silence->data(), bytes, error);
}

TMixBufferHandle TMixDevice::CreateBufferOver(const TWaveFormat& format,
                                              std::shared_ptr<void> owner, std::uint8_t* bytes,
                                              int size, int& error) {
    error = 0;
    bool valid = (format.channels == 1 || format.channels == 2) &&
                 (format.bits == 8 || format.bits == 16) && format.hertz >= MIX_FREQUENCY_MIN &&
                 format.hertz <= MIX_FREQUENCY_MAX && size >= 0 && (bytes || size == 0);
    if (!valid) {
        error = MIX_ERR_INVALID;
        return nullptr;
    }
    auto data = std::make_shared<TMixBuffer::TData>();
    data->format = format;
    data->frames = size / (format.channels * format.bits / 8);
    data->bytes = bytes;
    data->size = size;
    data->owner = std::move(owner);
    return TMixBufferHandle(new TMixBuffer(shared_from_this(), std::move(data)));
}

TMixBufferHandle TMixDevice::DuplicateBuffer(const TMixBufferHandle& source, int& error) {
    error = 0;
    if (!source || source->_device.get() != this) {
        error = MIX_ERR_INVALID;
        return nullptr;
    }
    TMixBufferHandle copy(new TMixBuffer(shared_from_this(), source->_data));
    std::lock_guard<std::mutex> hold(_lock);
    copy->_volume = source->_volume;
    copy->_pan = source->_pan;
    copy->_frequency = source->_frequency;
    copy->UpdateGains();
    return copy;
}

TMixBuffer::TMixBuffer(std::shared_ptr<TMixDevice> device, std::shared_ptr<TData> data)
    : _device(std::move(device)), _data(std::move(data)) {
    std::vector<TMixDevice::TFadeOut> finished;
    std::lock_guard<std::mutex> hold(_device->_lock);
    _device->DropFinishedFadeOuts(finished);
    _device->_buffers.push_back(this);
}

TMixBuffer::~TMixBuffer() {
    std::lock_guard<std::mutex> hold(_device->_lock);
    // Let go of while it sounds: it fades out like a stopped one.
    _device->StartFadeOut(*this);
    auto& list = _device->_buffers;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

std::uint8_t* TMixBuffer::Lock(int& bytes) {
    bytes = _data->size;
    return _data->bytes;
}

int TMixBuffer::Unlock() {
    return 0;
}

int TMixBuffer::Play(bool looping) {
    std::lock_guard<std::mutex> hold(_device->_lock);
    if (_device->_sdl_device == 0) return MIX_ERR_NO_DEVICE;
    _looping = looping;
    _playing = _data->frames > 0;
    if (_playing) _device->Interrupt();
    return 0;
}

// The status says stopped at once and the buffer is free for the next playback; only the mixer
// still hears the fade-out, which lives on without it.
int TMixBuffer::Stop() {
    std::vector<TMixDevice::TFadeOut> finished;
    std::lock_guard<std::mutex> hold(_device->_lock);
    _device->DropFinishedFadeOuts(finished);
    _device->StartFadeOut(*this);
    _playing = false;
    return 0;
}

int TMixBuffer::SetCurrentPosition(int frame) {
    std::lock_guard<std::mutex> hold(_device->_lock);
    if (frame < 0 || frame > _data->frames) return MIX_ERR_INVALID;
    _pos = std::uint64_t(frame) << 32;
    return 0;
}

int TMixBuffer::SetVolume(int hundredths_db) {
    if (hundredths_db < MIX_VOLUME_MIN || hundredths_db > MIX_VOLUME_MAX) return MIX_ERR_INVALID;
    std::lock_guard<std::mutex> hold(_device->_lock);
    _volume = hundredths_db;
    UpdateGains();
    return 0;
}

int TMixBuffer::SetPan(int pan) {
    if (pan < MIX_PAN_LEFT || pan > MIX_PAN_RIGHT) return MIX_ERR_INVALID;
    std::lock_guard<std::mutex> hold(_device->_lock);
    _pan = pan;
    UpdateGains();
    return 0;
}

int TMixBuffer::SetFrequency(int hertz) {
    if (hertz != MIX_FREQUENCY_ORIGINAL && (hertz < MIX_FREQUENCY_MIN || hertz > MIX_FREQUENCY_MAX))
        return MIX_ERR_INVALID;
    std::lock_guard<std::mutex> hold(_device->_lock);
    _frequency = hertz;
    return 0;
}

int TMixBuffer::GetStatus(int& status) {
    std::lock_guard<std::mutex> hold(_device->_lock);
    status = _playing ? MIX_STATUS_PLAYING : 0;
    return 0;
}

// Pan attenuates only the far side, the way a balance control does: full right leaves the
// left channel silent and the right one untouched.
void TMixBuffer::UpdateGains() {
    float gain = Attenuation(_volume);
    _gain_left = gain * (_pan > 0 ? Attenuation(-_pan) : 1.0f);
    _gain_right = gain * (_pan < 0 ? Attenuation(_pan) : 1.0f);
}

TMixBuffer::TVoice TMixBuffer::Voice() const {
    const int hertz = _frequency == MIX_FREQUENCY_ORIGINAL ? _data->format.hertz : _frequency;
    TVoice voice;
    voice.pos = _pos;
    voice.step = (std::uint64_t(hertz) << 32) / std::uint64_t(_device->_rate);
    voice.looping = _looping;
    voice.gain_left = _gain_left;
    voice.gain_right = _gain_right;
    return voice;
}

int TMixBuffer::MixVoice(const TData& data, TVoice& voice, float* out, int frames,
                         const float* fade) {
    const TWaveFormat& f = data.format;
    auto sample_at = [&](int frame, int channel) {
        size_t at = size_t(frame) * size_t(f.channels) + size_t(channel < f.channels ? channel : 0);
        if (f.bits == 8) return float((int(data.bytes[at]) - 128) * 256);
        const std::uint8_t* p = &data.bytes[at * 2];
        return float(std::int16_t(p[0] | p[1] << 8));
    };
    const int total = data.frames;
    const std::uint64_t end = std::uint64_t(total) << 32;
    for (int i = 0; i < frames; ++i) {
        if (voice.pos >= end) {
            if (!voice.looping) return i;
            voice.pos %= end;
        }
        int frame = int(voice.pos >> 32);
        float frac = float(voice.pos & 0xFFFFFFFFu) / 4294967296.0f;
        int next = frame + 1 < total ? frame + 1 : (voice.looping ? 0 : frame);
        float level = fade ? fade[i] : 1.0f;
        for (int c = 0; c < 2; ++c) {
            float a = sample_at(frame, c);
            float v = frac == 0.0f ? a : a + (sample_at(next, c) - a) * frac;
            out[i * 2 + c] += v * level * (c == 0 ? voice.gain_left : voice.gain_right);
        }
        voice.pos += voice.step;
    }
    return frames;
}

void TMixBuffer::MixInto(float* out, int frames) {
    TVoice voice = Voice();
    MixVoice(*_data, voice, out, frames, nullptr);
    _pos = voice.pos;
    // A one-shot that reached its end says so now, not a period later.
    if (!_looping && _pos >= std::uint64_t(_data->frames) << 32) {
        _playing = false;
        _pos = 0;
    }
}

} // namespace tonvella
