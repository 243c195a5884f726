// Every sound of the asset archive decodes through the archive, to the length its file announces.
#include "media/Text.h"
#include "media/sound/SampleLoader.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

namespace tonvella {
namespace {

TEST(ShippedSounds, DecodeFromTheArchiveToTheirAnnouncedLength) {
    RegisterGameBlobs();
    InitStreamProtocols();
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TONVELLA_SOURCE_DIR "/assets")) {
        if (entry.path().extension() != ".ogg") continue;
        std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        OggVorbis_File file;
        ASSERT_EQ(ov_fopen(entry.path().c_str(), &file), 0);
        long long frames = ov_pcm_total(&file, 0);
        int channels = ov_info(&file, 0)->channels;
        ov_clear(&file);

        TAudioSampleHandle sample = LoadSampleFromUrl(u"ZIP::Incbin::tt.zip//" + FromLatin1(name));
        ASSERT_TRUE(sample);
        EXPECT_EQ(sample->format, channels == 1 ? SAMPLE_MONO16LE : SAMPLE_STEREO16LE);
        EXPECT_EQ(sample->length, frames);
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

} // namespace
} // namespace tonvella
