#include "media/Registry.h"
#include "media/Text.h"
#include "media/sound/DirectSound.h"
#include "media/sound/SampleLoader.h"
#include "media/sound/SamplePrefetch.h"
#include "media/sound/Sound.h"

namespace tonvella {

namespace {

TAudioDriver* driver_head = nullptr;
TAudioDriver* null_driver = nullptr;
TAudioDriver* current_driver = nullptr;

// Drivers are made on first use rather than by static initialisers, which a static library
// would drop from the link. They live for the whole run.
void RegisterAudioDrivers() {
    static const bool registered = [] {
        null_driver = new TAudioDriver;
        new TDirectSoundAudioDriver;
        return true;
    }();
    (void)registered;
}

} // namespace

TAudioDriver::TAudioDriver() {
    RegistryAdd(driver_head, this);
}

TAudioDriver::~TAudioDriver() {
    RegistryRemove(driver_head, this);
    if (current_driver == this) current_driver = null_driver != this ? null_driver : nullptr;
}

TSoundHandle TAudioDriver::CreateSound(const TAudioSampleHandle& sample, int flags) {
    if (!sample) return nullptr;
    return std::make_shared<TSound>();
}

TSoundHandle TAudioDriver::AdoptSound(TAudioSampleHandle sample, int flags) {
    return CreateSound(sample, flags);
}

TChannelHandle TAudioDriver::AllocChannel() {
    return std::make_shared<TChannel>();
}

TSoundHandle TAudioDriver::LoadSound(const std::u16string& url, int flags) {
    return TSound::Load(url, flags);
}

TChannelHandle TSound::Play(const TChannelHandle& channel) {
    return std::make_shared<TChannel>();
}

TChannelHandle TSound::Cue(const TChannelHandle& channel) {
    return std::make_shared<TChannel>();
}

// The decoded sample is nobody else's: the sound may keep its memory.
TSoundHandle TSound::Load(const std::u16string& url, int flags) {
    TAudioSampleHandle sample = TakePrefetchedSample(url);
    if (!sample) sample = LoadSampleFromUrl(url);
    if (!sample) return nullptr;
    return CurrentAudioDriver()->AdoptSound(std::move(sample), flags);
}

TSoundHandle TSound::Load(const TAudioSampleHandle& sample, int flags) {
    if (!sample) return nullptr;
    return CurrentAudioDriver()->CreateSound(sample, flags);
}

TAudioDriver* FirstAudioDriver() {
    RegisterAudioDrivers();
    return driver_head;
}

TAudioDriver* CurrentAudioDriver() {
    if (current_driver) return current_driver;
    if (!SelectAudioDriver(u"DirectSound")) SelectAudioDriver(u"Null");
    return current_driver;
}

int SelectAudioDriver(const std::u16string& name) {
    RegisterAudioDrivers();
    std::u16string wanted = LowerAscii(name);
    if (current_driver) current_driver->Shutdown();
    current_driver = null_driver;
    for (TAudioDriver* driver = driver_head; driver; driver = driver->_succ) {
        if (LowerAscii(driver->Name()) != wanted) continue;
        if (!driver->Startup()) return 0;
        current_driver = driver;
        return 1;
    }
    return 0;
}

TSoundHandle LoadSoundFile(const std::u16string& url, int flags) {
    return CurrentAudioDriver()->LoadSound(url, flags);
}

TChannelHandle PlaySoundOn(const TSoundHandle& sound, const TChannelHandle& channel) {
    return sound ? sound->Play(channel) : nullptr;
}

TChannelHandle CueSoundOn(const TSoundHandle& sound, const TChannelHandle& channel) {
    return sound ? sound->Cue(channel) : nullptr;
}

void StopSoundChannel(const TChannelHandle& channel) {
    if (channel) channel->Stop();
}

void SetSoundVolume(const TChannelHandle& channel, float volume) {
    if (channel) channel->SetVolume(volume);
}

void SetSoundPan(const TChannelHandle& channel, float pan) {
    if (channel) channel->SetPan(pan);
}

void SetSoundDepth(const TChannelHandle& channel, float depth) {
    if (channel) channel->SetDepth(depth);
}

void SetSoundRate(const TChannelHandle& channel, float rate) {
    if (channel) channel->SetRate(rate);
}

void PauseSoundChannel(const TChannelHandle& channel, int paused) {
    if (channel) channel->SetPaused(paused);
}

int SoundChannelPlaying(const TChannelHandle& channel) {
    return channel ? channel->Playing() : 0;
}

} // namespace tonvella
