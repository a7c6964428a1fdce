#include "VorbisWriter.h"

#include "base/ShowConstants.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <fstream>

namespace {

void appendPage(std::vector<unsigned char>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Owns the libvorbis and libogg state for one encode, so every exit path
// releases it.
class EncoderState {
public:
    EncoderState() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~EncoderState() {
        if (streamStarted) {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    EncoderState(const EncoderState&) = delete;
    EncoderState& operator=(const EncoderState&) = delete;

    vorbis_info info{};
    vorbis_comment comment{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    ogg_stream_state stream{};
    bool streamStarted = false;
};

void drainPackets(EncoderState& s, std::vector<unsigned char>& out) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&s.dsp, &s.block) == 1) {
        vorbis_analysis(&s.block, nullptr);
        vorbis_bitrate_addblock(&s.block);
        while (vorbis_bitrate_flushpacket(&s.dsp, &packet) != 0) {
            ogg_stream_packetin(&s.stream, &packet);
            while (ogg_stream_pageout(&s.stream, &page) != 0) {
                appendPage(out, page);
            }
        }
    }
}

} // namespace

std::vector<unsigned char> encodeVorbis(const std::vector<std::int16_t>& interleaved,
                                        const VorbisSettings& settings) {
    // Fixed chunks, so the encoder sees the same calls on every run.
    constexpr long chunkFrames = 4096;

    std::vector<unsigned char> out;
    EncoderState s;
    if (vorbis_encode_init_vbr(&s.info, audioChannels, audioSampleRate, settings.quality) != 0) {
        return {};
    }
    vorbis_comment_add_tag(&s.comment, "TITLE", settings.title.c_str());
    vorbis_analysis_init(&s.dsp, &s.info);
    vorbis_block_init(&s.dsp, &s.block);
    ogg_stream_init(&s.stream, settings.serialNumber);
    s.streamStarted = true;

    ogg_packet identification;
    ogg_packet comments;
    ogg_packet codebooks;
    vorbis_analysis_headerout(&s.dsp, &s.comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&s.stream, &identification);
    ogg_stream_packetin(&s.stream, &comments);
    ogg_stream_packetin(&s.stream, &codebooks);
    ogg_page page;
    // The headers get pages of their own, as the format asks.
    while (ogg_stream_flush(&s.stream, &page) != 0) {
        appendPage(out, page);
    }

    const long totalFrames = static_cast<long>(interleaved.size() / audioChannels);
    for (long first = 0; first < totalFrames; first += chunkFrames) {
        const long count = std::min(chunkFrames, totalFrames - first);
        float** buffer = vorbis_analysis_buffer(&s.dsp, static_cast<int>(count));
        for (long i = 0; i < count; ++i) {
            const std::size_t at = static_cast<std::size_t>(audioChannels * (first + i));
            buffer[0][i] = static_cast<float>(interleaved[at]) / 32768.0f;
            buffer[1][i] = static_cast<float>(interleaved[at + 1]) / 32768.0f;
        }
        vorbis_analysis_wrote(&s.dsp, static_cast<int>(count));
        drainPackets(s, out);
    }
    vorbis_analysis_wrote(&s.dsp, 0);
    drainPackets(s, out);
    while (ogg_stream_flush(&s.stream, &page) != 0) {
        appendPage(out, page);
    }
    return out;
}

bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}
