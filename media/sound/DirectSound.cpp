#include "media/sound/DirectSound.h"

#include "media/Platform.h"
#include "media/Text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

namespace tonvella {

namespace {

int generation = 0;
TDirectSoundAudioDriver* active_driver = nullptr;

[[noreturn]] void Failed(const char* what, int code) {
    throw std::runtime_error(std::string(what) + " failed (" + std::to_string(code & 0xFFFF) + ")");
}

} // namespace

TDirectSoundAudioDriver* ActiveDirectSoundDriver() {
    return active_driver;
}

int DirectSoundGeneration() {
    return generation;
}

bool TBuf::Active() {
    return _paused || IsPlaying();
}

bool TBuf::IsPlaying() {
    if (_paused) return false;
    int status = 0;
    if (int err = _buffer->GetStatus(status)) Failed("DirectSound", err);
    return (status & MIX_STATUS_PLAYING) != 0;
}

int TDirectSoundAudioDriver::Startup() {
    std::string error;
    _dsound = TMixDevice::Open(error);
    if (!_dsound) {
        DebugPrint(u"No audio device (" + FromUtf8(error) + u"), sounds stay silent");
        return 0;
    }
    active_driver = this;
    return 1;
}

void TDirectSoundAudioDriver::Shutdown() {
    ++generation;
    if (active_driver == this) active_driver = nullptr;
    _lonely = nullptr;
    if (_dsound) _dsound->Close();
    _dsound = nullptr;
}

void TDirectSoundAudioDriver::FlushLonely() {
    TBufHandle* link = &_lonely;
    while (*link) {
        if ((*link)->Active())
            link = &(*link)->_succ;
        else
            *link = (*link)->_succ;
    }
}

TSoundHandle TDirectSoundAudioDriver::CreateSound(const TAudioSampleHandle& sample, int flags) {
    return MakeSound(sample, flags, false);
}

TSoundHandle TDirectSoundAudioDriver::AdoptSound(TAudioSampleHandle sample, int flags) {
    return MakeSound(std::move(sample), flags, true);
}

TSoundHandle TDirectSoundAudioDriver::MakeSound(TAudioSampleHandle sample, int flags, bool adopt) {
    if (!sample) return nullptr;
    FlushLonely();
    const int given_format = sample->format;
    if (sample->format == SAMPLE_MONO16BE) sample = sample->Convert(SAMPLE_MONO16LE);
    if (sample->format == SAMPLE_STEREO16BE) sample = sample->Convert(SAMPLE_STEREO16LE);
    // A sample that only this call holds, and that owns its memory, becomes the buffer's data
    // as it is: a file just decoded, or the conversion above. Any other is copied, because its
    // holder may still change or free it.
    adopt = (adopt || sample->format != given_format) && sample.use_count() == 1 &&
            sample->capacity >= 0;

    TWaveFormat format;
    format.channels = SampleChannels(sample->format);
    format.hertz = sample->hertz;
    format.bits = sample->format == SAMPLE_MONO8 || sample->format == SAMPLE_STEREO8 ? 8 : 16;
    // No description flags are asked for (controls, software or hardware mixing): every buffer
    // of our mixer has every control and is mixed in software, so SOUND_HARDWARE changes nothing.

    if (!_dsound) Failed("CreateSoundBuffer", MIX_ERR_NO_DEVICE);
    int err = 0;
    TMixBufferHandle buffer =
        adopt ? _dsound->CreateBufferOver(format, sample, sample->samples, sample->ByteSize(), err)
              : _dsound->CreateBuffer(format, sample->ByteSize(), err);
    if (!buffer) Failed("CreateSoundBuffer", err);
    if (!adopt) {
        int bytes = 0;
        std::uint8_t* memory = buffer->Lock(bytes);
        if (!memory && bytes > 0) Failed("Lock SoundBuffer", MIX_ERR_INVALID);
        if (bytes > 0) std::memcpy(memory, sample->samples, size_t(bytes));
        if ((err = buffer->Unlock())) Failed("Unlock SoundBuffer", err);
    }

    auto sound = std::make_shared<TDirectSoundSound>();
    sound->_seq = generation;
    sound->_buffer = buffer;
    sound->_hertz = sample->hertz;
    sound->_loop = flags & SOUND_LOOP;
    sound->_bufs = std::make_shared<TBuf>(buffer);
    return sound;
}

TChannelHandle TDirectSoundAudioDriver::AllocChannel() {
    auto channel = std::make_shared<TDirectSoundChannel>();
    channel->_static = 1;
    return channel;
}

// Buffers that still play go on playing after their sound is let go; the driver frees them
// once they have finished. The idle ones, and with them the PCM data when no playback shares
// it, go at once: a new card set replaces all sixteen sounds, and the old ones must not wait
// for the driver's next flush next to the new ones.
TDirectSoundSound::~TDirectSoundSound() {
    if (_seq != generation || !active_driver) return;
    TBufHandle buf = std::move(_bufs);
    while (buf) {
        TBufHandle next = std::move(buf->_succ);
        if (buf->Active()) {
            buf->_succ = active_driver->_lonely;
            active_driver->_lonely = buf;
        }
        buf = std::move(next);
    }
}

TChannelHandle TDirectSoundSound::Play(const TChannelHandle& channel) {
    TChannelHandle cued = Cue(channel);
    cued->SetPaused(0);
    return cued;
}

TChannelHandle TDirectSoundSound::Cue(const TChannelHandle& channel) {
    auto ds = std::dynamic_pointer_cast<TDirectSoundChannel>(channel);
    if (!ds) ds = std::make_shared<TDirectSoundChannel>();
    ds->Cue(std::static_pointer_cast<TDirectSoundSound>(shared_from_this()));
    return ds;
}

TDirectSoundChannel::~TDirectSoundChannel() {
    // A started playback outlives its handle; one that was only cued would never be heard.
    if (OwnsBuffer() && _buf->_paused) Stop();
}

int TDirectSoundChannel::VolumeHundredths() const {
    return int((1.0f - _volume) * -10000.0f);
}

int TDirectSoundChannel::PanHundredths() const {
    return int(_pan * 10000.0f);
}

int TDirectSoundChannel::Cue(const std::shared_ptr<TDirectSoundSound>& sound) {
    Stop();
    TBufHandle taken;
    for (TBufHandle buf = sound->_bufs; buf; buf = buf->_succ) {
        if (!buf->Active()) {
            taken = buf;
            ++taken->_seq;
            break;
        }
    }
    if (!taken) {
        TDirectSoundAudioDriver* driver = active_driver;
        if (!driver || !driver->Device()) return 0;
        driver->FlushLonely();
        int err = 0;
        TMixBufferHandle copy = driver->Device()->DuplicateBuffer(sound->_buffer, err);
        if (!copy) return 0;
        taken = std::make_shared<TBuf>(std::move(copy));
        taken->_succ = sound->_bufs;
        sound->_bufs = taken;
    }
    _sound = sound;
    _buf = taken;
    _seq = taken->_seq;
    _hertz = sound->_hertz;
    _playFlags = sound->_loop ? 1 : 0;
    taken->_paused = 1;

    TMixBuffer& buffer = *taken->_buffer;
    buffer.SetCurrentPosition(0);
    buffer.SetVolume(VolumeHundredths());
    buffer.SetPan(PanHundredths());
    buffer.SetFrequency(int(float(_hertz) * _rate));
    return 1;
}

void TDirectSoundChannel::LetGo() {
    ++_buf->_seq;
    _buf = nullptr;
}

int TDirectSoundChannel::SetPaused(int paused) {
    if (!OwnsBuffer()) return 0;
    if (!_buf->Active()) {
        LetGo(); // played to its end
        return 0;
    }
    if (paused)
        _buf->_buffer->Stop();
    else
        _buf->_buffer->Play(_playFlags & 1);
    _buf->_paused = paused;
    return 1;
}

int TDirectSoundChannel::Stop() {
    if (!OwnsBuffer()) return 0;
    _buf->_buffer->Stop();
    _buf->_paused = 0;
    LetGo();
    return 1;
}

// The shaping puts the audible change of the game's linear fades into the upper part of the
// range: volume 0.5 is -6.69 dB rather than the -50 dB a straight mapping would give.
int TDirectSoundChannel::SetVolume(float volume) {
    _volume = std::pow(std::clamp(volume, 0.0f, 1.0f), 0.1f);
    if (!OwnsBuffer()) return 0;
    _buf->_buffer->SetVolume(VolumeHundredths());
    return 1;
}

int TDirectSoundChannel::SetPan(float pan) {
    pan = std::clamp(pan, -1.0f, 1.0f);
    float shaped = 1.0f - std::pow(1.0f - std::fabs(pan), 0.1f);
    _pan = pan < 0 ? -shaped : shaped;
    if (!OwnsBuffer()) return 0;
    _buf->_buffer->SetPan(PanHundredths());
    return 1;
}

int TDirectSoundChannel::SetRate(float rate) {
    _rate = rate;
    if (!OwnsBuffer()) return 0;
    _buf->_buffer->SetFrequency(int(float(_hertz) * _rate));
    return 1;
}

int TDirectSoundChannel::Playing() {
    if (!OwnsBuffer()) return 0;
    return _buf->IsPlaying() ? 1 : 0;
}

} // namespace tonvella
