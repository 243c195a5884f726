#include "tests/media_sound/Fixtures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>
#include <vorbis/vorbisenc.h>

namespace tonvella::test {

TPcm MakeSine(int channels, int hertz, int frames, double frequency, double peak) {
    TPcm pcm;
    pcm.channels = channels;
    pcm.hertz = hertz;
    for (int i = 0; i < frames; ++i) {
        double v = std::sin(2 * M_PI * frequency * i / hertz) * peak;
        for (int c = 0; c < channels; ++c)
            pcm.values.push_back(std::int16_t(std::lrint(v / (c + 1))));
    }
    return pcm;
}

void Put32(TBytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

void Put16(TBytes& out, std::uint16_t value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

static void PutTag(TBytes& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(tag[i]));
}

TBytes MakeWav(const TWavLayout& w) {
    TBytes out;
    PutTag(out, "RIFF");
    Put32(out, 0); // patched below
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, std::uint32_t(16 + w.extra_fmt_bytes));
    Put16(out, std::uint16_t(w.audio_format));
    Put16(out, std::uint16_t(w.channels));
    Put32(out, std::uint32_t(w.hertz));
    int align = w.channels * w.bits / 8;
    Put32(out, std::uint32_t(w.hertz * align));
    Put16(out, std::uint16_t(align));
    Put16(out, std::uint16_t(w.bits));
    out.insert(out.end(), size_t(w.extra_fmt_bytes), 0);
    out.insert(out.end(), w.chunk_before_data.begin(), w.chunk_before_data.end());
    PutTag(out, "data");
    Put32(out, std::uint32_t(w.data_length >= 0 ? w.data_length : (long long)w.data.size()));
    out.insert(out.end(), w.data.begin(), w.data.end());
    std::uint32_t riff = std::uint32_t(out.size() - 8);
    std::memcpy(&out[4], &riff, 4);
    return out;
}

TBytes EncodeOgg(const TPcm& pcm) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, pcm.channels, pcm.hertz, 0.4f) != 0)
        throw std::runtime_error("vorbis encoder refused the format");
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);

    TBytes out;
    auto put_page = [&](const ogg_page& og) {
        out.insert(out.end(), og.header, og.header + og.header_len);
        out.insert(out.end(), og.body, og.body + og.body_len);
    };
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page og;
    while (ogg_stream_flush(&os, &og))
        put_page(og);

    const int frames = pcm.Frames();
    const int chunk = 1024;
    for (int at = 0;; at += chunk) {
        int n = std::min(chunk, frames - at);
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, n);
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < pcm.channels; ++c)
                    buf[c][i] = pcm.values[size_t(at + i) * pcm.channels + c] / 32768.0f;
        }
        vorbis_analysis_wrote(&vd, n > 0 ? n : 0);
        ogg_packet op;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og))
                    put_page(og);
            }
        }
        if (n <= 0) break;
    }
    while (ogg_stream_flush(&os, &og))
        put_page(og);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

static std::string& ScratchDir() {
    static std::string dir;
    return dir;
}

static void RemoveScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchDir(), ignored);
}

std::string TempPath(const std::string& name) {
    std::string& dir = ScratchDir();
    if (dir.empty()) {
        auto path =
            std::filesystem::temp_directory_path() / ("tonvella-sound-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        dir = path.string();
        std::atexit(RemoveScratchDir);
    }
    return dir + "/" + name;
}

std::string WriteTempFile(const std::string& name, const TBytes& bytes) {
    std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

TBytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace tonvella::test
