// The "DirectSound" driver: every sound owns one buffer with its PCM data, and each playback
// runs on a buffer that shares that data. A sound keeps every buffer it has played on and reuses
// the first one that finished; sequence numbers make stale channel handles harmless.
#pragma once

#include "media/sound/MixDevice.h"
#include "media/sound/Sound.h"

namespace tonvella {

class TDirectSoundSound;

// A playback buffer and whose it is.
class TBuf {
public:
    explicit TBuf(TMixBufferHandle buffer) : _buffer(std::move(buffer)) {}
    // Cued or playing: not free for another playback.
    bool Active();
    bool IsPlaying();

    std::shared_ptr<TBuf> _succ;
    TMixBufferHandle _buffer;
    int _seq = 0; // raised whenever the buffer changes hands
    int _paused = 0;
};
using TBufHandle = std::shared_ptr<TBuf>;

class TDirectSoundAudioDriver : public TAudioDriver {
public:
    std::u16string Name() override { return _name; }
    int Startup() override;
    void Shutdown() override;
    TSoundHandle CreateSound(const TAudioSampleHandle& sample, int flags) override;
    TSoundHandle AdoptSound(TAudioSampleHandle sample, int flags) override;
    TChannelHandle AllocChannel() override;

    // Lets go of the buffers of released sounds that have finished playing.
    void FlushLonely();
    const std::shared_ptr<TMixDevice>& Device() const { return _dsound; }

    std::u16string _name = u"DirectSound";
    int _mode = 0;
    std::shared_ptr<TMixDevice> _dsound;
    TBufHandle _lonely;

private:
    // With adopt, a sample nobody else holds lends its memory to the buffer instead of a copy.
    TSoundHandle MakeSound(TAudioSampleHandle sample, int flags, bool adopt);
};

// The started driver whose buffers are live; none before Startup and after Shutdown.
TDirectSoundAudioDriver* ActiveDirectSoundDriver();
// Raised at every Shutdown; sounds of an older generation belong to a closed device.
int DirectSoundGeneration();

class TDirectSoundSound : public TSound {
public:
    ~TDirectSoundSound() override;
    TChannelHandle Play(const TChannelHandle& channel) override;
    TChannelHandle Cue(const TChannelHandle& channel) override;

    int _seq = 0;
    TMixBufferHandle _buffer;
    int _hertz = 0;
    int _loop = 0;
    TBufHandle _bufs; // newest first
};

class TDirectSoundChannel : public TChannel {
public:
    ~TDirectSoundChannel() override;
    int Cue(const std::shared_ptr<TDirectSoundSound>& sound);
    int Stop() override;
    int SetPaused(int paused) override;
    int SetVolume(float volume) override;
    int SetPan(float pan) override;
    int SetRate(float rate) override;
    int Playing() override;

    bool OwnsBuffer() const { return _buf && _seq == _buf->_seq; }
    // The buffer this channel plays on, none when it owns none.
    TMixBufferHandle Buffer() const { return OwnsBuffer() ? _buf->_buffer : nullptr; }

    float _volume = 1.0f; // shaped
    float _pan = 0.0f;    // shaped
    float _rate = 1.0f;
    int _static = 0;
    std::shared_ptr<TDirectSoundSound> _sound;
    TBufHandle _buf;
    int _seq = 0;
    int _hertz = 0;
    int _playFlags = 0;

private:
    void LetGo();
    int VolumeHundredths() const;
    int PanHundredths() const;
};

} // namespace tonvella
