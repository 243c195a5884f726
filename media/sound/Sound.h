// Sounds, channels and the audio drivers that play them, with the free functions the game calls.
// Every operation accepts none: loading what cannot be loaded gives none, and playing, stopping
// or changing none does nothing.
#pragma once

#include "media/sound/AudioSample.h"

#include <memory>
#include <string>

namespace tonvella {

constexpr int SOUND_LOOP = 1;
constexpr int SOUND_HARDWARE = 2; // ask for mixing in hardware

class TChannel;
class TSound;
class TAudioDriver;
using TChannelHandle = std::shared_ptr<TChannel>;
using TSoundHandle = std::shared_ptr<TSound>;

// One playback. The base class is the silent channel: it does nothing and never plays.
class TChannel {
public:
    virtual ~TChannel() = default;
    virtual int Stop() { return 0; }
    virtual int SetPaused(int paused) { return 0; }
    virtual int SetVolume(float volume) { return 0; }
    virtual int SetPan(float pan) { return 0; }
    virtual int SetDepth(float depth) { return 0; }
    virtual int SetRate(float rate) { return 0; }
    virtual int Playing() { return 0; }
};

// A sound ready for playback on one driver. The base class is the silent sound.
class TSound : public std::enable_shared_from_this<TSound> {
public:
    virtual ~TSound() = default;
    // Starts the sound on `channel` (or on a new channel when none or foreign is given).
    virtual TChannelHandle Play(const TChannelHandle& channel);
    // Like Play but leaves the channel paused at the start.
    virtual TChannelHandle Cue(const TChannelHandle& channel);

    // Through the current driver: a sample is used as it is, a url is decoded first.
    static TSoundHandle Load(const std::u16string& url, int flags);
    static TSoundHandle Load(const TAudioSampleHandle& sample, int flags);
};

// An output driver. Constructing one prepends it to the driver registry. The base class is the
// silent driver "Null": it starts always and its sounds and channels do nothing.
class TAudioDriver {
public:
    TAudioDriver();
    virtual ~TAudioDriver(); // leaves the registry
    TAudioDriver(const TAudioDriver&) = delete;
    TAudioDriver& operator=(const TAudioDriver&) = delete;

    virtual std::u16string Name() { return u"Null"; }
    virtual int Startup() { return 1; }
    virtual void Shutdown() {}
    virtual TSoundHandle CreateSound(const TAudioSampleHandle& sample, int flags);
    // CreateSound for a sample handed over: one that no one else holds may lend the sound its
    // memory instead of being copied. The base class copies.
    virtual TSoundHandle AdoptSound(TAudioSampleHandle sample, int flags);
    virtual TChannelHandle AllocChannel();
    virtual TSoundHandle LoadSound(const std::u16string& url, int flags);

    TAudioDriver* _succ = nullptr;
};

// The driver in use; on first use "DirectSound" is started, and the silent driver when that
// cannot start.
TAudioDriver* CurrentAudioDriver();
// Shuts the current driver down and starts the registered driver of that name (any letter
// case); 1 when it started, else 0 with the silent driver current.
int SelectAudioDriver(const std::u16string& name);
// Newest first.
TAudioDriver* FirstAudioDriver();

TSoundHandle LoadSoundFile(const std::u16string& url, int flags);
TChannelHandle PlaySoundOn(const TSoundHandle& sound, const TChannelHandle& channel = nullptr);
TChannelHandle CueSoundOn(const TSoundHandle& sound, const TChannelHandle& channel = nullptr);
void StopSoundChannel(const TChannelHandle& channel);
void SetSoundVolume(const TChannelHandle& channel, float volume);
void SetSoundPan(const TChannelHandle& channel, float pan);
void SetSoundDepth(const TChannelHandle& channel, float depth);
void SetSoundRate(const TChannelHandle& channel, float rate);
void PauseSoundChannel(const TChannelHandle& channel, int paused);
int SoundChannelPlaying(const TChannelHandle& channel);

} // namespace tonvella
