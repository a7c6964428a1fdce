// The recorder's parts that need no display: its options, frame times,
// colour conversion, frame queue, contact sheet, output paths and the check
// of the encoder's MP4.
#include "record/ColourConversion.h"
#include "record/ContactSheet.h"
#include "record/FrameQueue.h"
#include "record/Mp4Check.h"
#include "record/OutputPath.h"
#include "record/PartialFile.h"
#include "record/ProgressReport.h"
#include "record/RecordOptions.h"
#include "support/TempFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <thread>
#include <vector>

namespace {

std::optional<RecordOptions> parse(std::initializer_list<const char*> arguments,
                                   std::string& error) {
    const std::vector<const char*> list(arguments);
    return parseRecordOptions(static_cast<int>(list.size()), list.data(), error);
}

} // namespace

TEST(Recorder, OptionsAreReadOrRefusedWithAReason) {
    std::string error;
    const std::optional<RecordOptions> defaults = parse({}, error);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->outputPath, "velmora.mp4");
    EXPECT_EQ(defaults->seconds, 112.0);
    EXPECT_EQ(defaults->framesPerSecond, 60);

    const std::optional<RecordOptions> given =
        parse({"--fps", "24", "out.mp4", "--seconds", "2.5", "--raw-frames", "r.rgba"}, error);
    ASSERT_TRUE(given);
    EXPECT_EQ(given->outputPath, "out.mp4");
    EXPECT_EQ(given->framesPerSecond, 24);
    EXPECT_EQ(given->seconds, 2.5);
    EXPECT_EQ(given->rawFramesPath, "r.rgba");
    const std::optional<RecordOptions> sized =
        parse({"--size", "1920x1080", "--quality", "release"}, error);
    ASSERT_TRUE(sized);
    EXPECT_EQ(sized->width, 1920);
    EXPECT_EQ(sized->height, 1080);
    EXPECT_EQ(sized->quality, RecordQuality::release);
    EXPECT_EQ(defaults->width, 800);
    EXPECT_EQ(defaults->quality, RecordQuality::draft);
    EXPECT_TRUE(parse({"--help"}, error)->helpRequested);

    const struct {
        std::initializer_list<const char*> arguments;
        const char* reason;
    } refused[] = {
        {{"--fps", "0"}, "--fps takes a whole number from 1 to 240, not '0'"},
        {{"--fps", "241"}, "--fps takes a whole number"},
        {{"--fps", "30x"}, "--fps takes a whole number"},
        {{"--seconds", "0"}, "--seconds takes a number above 0 and up to 3600, not '0'"},
        {{"--seconds", "3600.5"}, "--seconds takes a number"},
        {{"--seconds", "nan"}, "--seconds takes a number"},
        {{"--seconds"}, "--seconds needs a value"},
        {{"--colour"}, "unknown option '--colour'"},
        {{"a.mp4", "b.mp4"}, "more than one output path ('b.mp4')"},
        {{"--size", "1921x1080"}, "--size takes even numbers WxH from 320x240 to 7680x4320"},
        {{"--size", "318x240"}, "--size takes even numbers"},
        {{"--size", "7682x4320"}, "--size takes even numbers"},
        {{"--size", "1920x"}, "--size takes even numbers"},
        {{"--size", "1920x1080x2"}, "--size takes even numbers"},
        {{"--quality", "best"}, "--quality takes draft or release, not 'best'"},
        {{""}, "the output path is empty"},
    };
    for (const auto& row : refused) {
        error.clear();
        EXPECT_FALSE(parse(row.arguments, error));
        EXPECT_EQ(error.rfind(row.reason, 0), 0u) << error;
    }
}

TEST(Recorder, FrameKIsDrawnAtItsTimeRoundedToTheMillisecond) {
    const struct {
        int frame, rate;
        std::uint32_t ticks;
    } cases[] = {
        {0, 60, 0},   {1, 60, 17},        {2, 60, 33},
        {3, 60, 50},  {6720, 60, 112000}, {1, 30, 33},
        {1, 24, 42},  {3, 24, 125},       {1, 7, 143},
        {1, 16, 63}, // 62.5: up
        {3, 16, 188}, {1, 240, 4},        {864000, 240, 3600000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(frameTicks(c.frame, c.rate), c.ticks) << c.frame << " at " << c.rate;
    }
    RecordOptions options;
    EXPECT_EQ(recordFrameCount(options), 6720);
    options.seconds = 2.5;
    options.framesPerSecond = 30;
    EXPECT_EQ(recordFrameCount(options), 75);
    options.seconds = 0.001;
    EXPECT_EQ(recordFrameCount(options), 1);
}

TEST(Recorder, ColoursBecomeLimitedRangeBt709WithChromaAveragedOver2x2) {
    // BT.709 in double precision: what each fixed-point value must round to.
    const auto luma = [](double r, double g, double b) {
        return 16.0 + (0.2126 * r + 0.7152 * g + 0.0722 * b) * 219.0 / 255.0;
    };
    const auto blueDifference = [&](double r, double g, double b) {
        const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
        return 128.0 + (b - y) / 1.8556 * 224.0 / 255.0;
    };
    const auto redDifference = [&](double r, double g, double b) {
        const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
        return 128.0 + (r - y) / 1.5748 * 224.0 / 255.0;
    };
    const struct {
        const char* name;
        int r, g, b;
    } colours[] = {{"black", 0, 0, 0},     {"white", 255, 255, 255}, {"grey", 128, 128, 128},
                   {"red", 255, 0, 0},     {"green", 0, 255, 0},     {"blue", 0, 0, 255},
                   {"amber", 255, 176, 32}};
    for (const auto& c : colours) {
        std::vector<std::uint8_t> rgba;
        for (int pixel = 0; pixel < 4; ++pixel) {
            rgba.insert(rgba.end(), {static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                                     static_cast<std::uint8_t>(c.b), 255});
        }
        std::uint8_t yuv[6] = {};
        rgbaToYuv420(rgba.data(), 2, 2, yuv);
        EXPECT_NEAR(yuv[0], luma(c.r, c.g, c.b), 0.5) << c.name;
        EXPECT_NEAR(yuv[3], luma(c.r, c.g, c.b), 0.5) << c.name;
        EXPECT_NEAR(yuv[4], blueDifference(c.r, c.g, c.b), 0.5) << c.name;
        EXPECT_NEAR(yuv[5], redDifference(c.r, c.g, c.b), 0.5) << c.name;
    }

    // A 2x4 frame, bottom row first as GL reads it. Top block: red and
    // blue over white and black; bottom block: white over black.
    const std::uint8_t red[4] = {255, 0, 0, 255}, blue[4] = {0, 0, 255, 255},
                       white[4] = {255, 255, 255, 255}, black[4] = {0, 0, 0, 255};
    std::vector<std::uint8_t> frame;
    for (const std::uint8_t* pixel : {black, black, white, white, white, black, red, blue}) {
        frame.insert(frame.end(), pixel, pixel + 4);
    }
    std::uint8_t yuv[2 * 4 * 3 / 2] = {};
    rgbaToYuv420(frame.data(), 2, 4, yuv);
    EXPECT_NEAR(yuv[0], luma(255, 0, 0), 0.5); // top left: red
    EXPECT_NEAR(yuv[1], luma(0, 0, 255), 0.5); // top right: blue
    EXPECT_EQ(yuv[2], 235);                    // second row: white, black
    EXPECT_EQ(yuv[3], 16);
    EXPECT_EQ(yuv[6], 16); // bottom row: black
    const std::uint8_t* cb = yuv + 8;
    const std::uint8_t* cr = cb + 2;
    const auto mean4 = [](double a, double b, double c, double d) { return (a + b + c + d) / 4; };
    EXPECT_NEAR(cb[0], mean4(blueDifference(255, 0, 0), blueDifference(0, 0, 255), 128, 128), 0.5);
    EXPECT_NEAR(cr[0], mean4(redDifference(255, 0, 0), redDifference(0, 0, 255), 128, 128), 0.5);
    EXPECT_EQ(cb[1], 128); // white and black average to grey
    EXPECT_EQ(cr[1], 128);

    // 4:4:4: a chroma sample per pixel, top row first.
    std::uint8_t full[2 * 4 * 3] = {};
    rgbaToYuv444(frame.data(), 2, 4, full);
    const std::uint8_t* fullCb = full + 8;
    const std::uint8_t* fullCr = fullCb + 8;
    EXPECT_NEAR(full[1], luma(0, 0, 255), 0.5);
    EXPECT_NEAR(fullCb[0], blueDifference(255, 0, 0), 0.5); // top left: red
    EXPECT_NEAR(fullCr[1], redDifference(0, 0, 255), 0.5);  // top right: blue
    EXPECT_EQ(fullCb[2], 128);                              // white
    EXPECT_EQ(fullCr[7], 128);                              // black
}

TEST(Recorder, TimeLeftFollowsTheRecentPace) {
    // A slow first minute (start-up, a costly stretch), then 30 frames a
    // second: the estimate follows the pace of the last minute.
    std::deque<ProgressSample> samples;
    for (int second = 0; second <= 60; ++second) {
        samples.push_back({static_cast<double>(second), second * 5LL});
    }
    for (int second = 61; second <= 180; ++second) {
        samples.push_back({static_cast<double>(second), 300 + (second - 60) * 30LL});
    }
    EXPECT_NEAR(remainingSeconds(samples, 3900 + 3000), 100.0, 1e-9);
    // Within the first minute: the pace since the start.
    const std::deque<ProgressSample> early = {{10.0, 50}};
    EXPECT_NEAR(remainingSeconds(early, 150), 20.0, 1e-9);
    EXPECT_EQ(remainingSeconds({{5.0, 0}}, 100), 0.0); // nothing to go by yet
    EXPECT_EQ(remainingSeconds({{5.0, 100}}, 100), 0.0);
}

TEST(Recorder, FrameQueueKeepsOrderAndCloseWakesEveryWait) {
    FrameQueue queue(4, 2);
    for (int index : {0, 1}) {
        std::optional<QueuedFrame> frame = queue.takeEmpty();
        ASSERT_TRUE(frame);
        frame->index = index;
        queue.giveFilled(std::move(*frame));
    }
    EXPECT_EQ(queue.takeFilled()->index, 0);

    // Both buffers are out: a third takeEmpty waits until close.
    std::thread waiter([&queue] { EXPECT_FALSE(queue.takeEmpty()); });
    queue.close();
    waiter.join();
    // What was filled before the close still comes out, then nothing.
    EXPECT_EQ(queue.takeFilled()->index, 1);
    EXPECT_FALSE(queue.takeFilled());
}

TEST(Recorder, ContactSheetShowsTheMiddleOfEveryUnitWithItsTime) {
    const ContactSheet cycle(800, 600, 6720, 60);
    ASSERT_EQ(cycle.frames().size(), 28u);
    EXPECT_EQ(cycle.frames().front(), 120);        // 2 s: t = -0.5
    EXPECT_EQ(cycle.frames()[11], 120 + 11 * 240); // t = 10.5, the first name's middle
    EXPECT_EQ(cycle.frames().back(), 120 + 27 * 240);
    EXPECT_TRUE(cycle.wants(360));
    EXPECT_FALSE(cycle.wants(359));
    EXPECT_EQ(cycle.width(), 7 * 200);
    EXPECT_EQ(cycle.height(), 4 * (150 + 34));
    EXPECT_EQ(ContactSheet::label(2000), "0:02   t -0.50");
    EXPECT_EQ(ContactSheet::label(62000), "1:02   t 14.50");

    // At 7 frames a second the first frame at or after each middle.
    EXPECT_EQ(ContactSheet(800, 600, 70, 7).frames(), (std::vector<int>{14, 42}));
    // Shorter than half a unit: the first frame.
    EXPECT_EQ(ContactSheet(800, 600, 30, 30).frames(), std::vector<int>{0});
    EXPECT_FALSE(ContactSheet(800, 600, 30, 30).png().empty());
}

TEST(Recorder, OutputsAreCheckedBeforeTheFirstFrame) {
    const std::string folder = writeTempFile("outputs/existing.mp4", "old");
    const std::string dir = folder.substr(0, folder.rfind('/') + 1);
    ASSERT_EQ(mkfifo((dir + "fifo.mp4").c_str(), 0644), 0);
    ASSERT_EQ(mkdir((dir + "videos").c_str(), 0755), 0);
    ASSERT_EQ(symlink("existing.mp4", (dir + "link.mp4").c_str()), 0);
    ASSERT_EQ(symlink("link.mp4", (dir + "chain.mp4").c_str()), 0);
    ASSERT_EQ(symlink("loop.mp4", (dir + "loop.mp4").c_str()), 0);

    std::string error;
    EXPECT_EQ(resolveOutputPath(dir + "existing.mp4", error), dir + "existing.mp4");
    EXPECT_EQ(resolveOutputPath(dir + "new.mp4", error), dir + "new.mp4");
    EXPECT_EQ(resolveOutputPath(dir + "chain.mp4", error), dir + "existing.mp4");
    const std::string longest(maxFileNameBytes, 'x');
    EXPECT_EQ(resolveOutputPath(dir + longest, error), dir + longest);
    const struct {
        std::string path;
        const char* reason;
    } refused[] = {
        {dir + "videos", "it is a folder; give a file name such as "},
        {dir + "videos/", "it is a folder"},
        {dir + "fifo.mp4", "it is a FIFO, not a regular file"},
        {"/dev/null", "it is a device, not a regular file"},
        {dir + "loop.mp4", "Too many levels of symbolic links"},
        {dir + longest + "y", "File name too long"},
    };
    for (const auto& row : refused) {
        error.clear();
        EXPECT_FALSE(resolveOutputPath(row.path, error)) << row.path;
        EXPECT_NE(error.find(row.reason), std::string::npos) << error;
    }

    EXPECT_EQ(contactSheetPath("a/clip.mp4"), "a/clip-contact.png");
    EXPECT_EQ(contactSheetPath("clip"), "clip-contact.png");
    EXPECT_EQ(contactSheetPath("a.mp4/clip.MP4"), "a.mp4/clip.MP4-contact.png");
    // A name near the limit: the sheet's name is cut to fit, not refused,
    // and never inside a character ("é" is two bytes).
    const std::string sheet = contactSheetPath("d/" + std::string(247, 'x') + ".mp4");
    EXPECT_EQ(sheet.size(), 2 + maxFileNameBytes);
    const std::string accented = contactSheetPath(std::string(242, 'x') + "é.mp4");
    EXPECT_EQ(accented, std::string(242, 'x') + "-contact.png");
}

TEST(Recorder, PartialFilesAppearOnlyWhenCommitted) {
    const std::string existing = writeTempFile("partial/clip.mp4", "old");
    const std::string dir = existing.substr(0, existing.rfind('/') + 1);
    struct stat status {};
    std::string error;
    {
        PartialFile file(existing, "video");
        ASSERT_TRUE(file.create(error));
        EXPECT_LT(file.temporaryPath().size() - dir.size(), 40u); // short, beside the final name
        ASSERT_TRUE(file.write("new", 3, error) && file.flush(error) && file.commit(error));
    }
    std::FILE* replaced = std::fopen(existing.c_str(), "rb");
    char contents[4] = {};
    ASSERT_EQ(std::fread(contents, 1, 3, replaced), 3u);
    std::fclose(replaced);
    EXPECT_STREQ(contents, "new");
    {
        // Abandoned: nothing is left.
        PartialFile file(dir + "abandoned.mp4", "video");
        ASSERT_TRUE(file.create(error));
        EXPECT_EQ(stat(file.temporaryPath().c_str(), &status), 0);
    }
    EXPECT_NE(
        stat((dir + ".velmora-" + std::to_string(getpid()) + "-video.partial").c_str(), &status),
        0);
    {
        // The final name became a FIFO meanwhile: it is not replaced.
        PartialFile file(dir + "later.mp4", "video");
        ASSERT_TRUE(file.create(error));
        ASSERT_EQ(mkfifo((dir + "later.mp4").c_str(), 0644), 0);
        EXPECT_FALSE(file.commit(error));
        EXPECT_NE(error.find("no longer a regular file"), std::string::npos);
    }
    ASSERT_EQ(lstat((dir + "later.mp4").c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

namespace {

// MP4 boxes, as the encoder writes them.
std::string box(const char* type, const std::string& contents) {
    const std::uint32_t size = static_cast<std::uint32_t>(8 + contents.size());
    std::string bytes = {static_cast<char>(size >> 24), static_cast<char>(size >> 16),
                         static_cast<char>(size >> 8), static_cast<char>(size)};
    return bytes + type + contents;
}

std::string word(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string track(const char* handler, std::uint32_t timescale, std::uint32_t duration,
                  std::uint32_t samples) {
    const std::string mdhd =
        box("mdhd", word(0) + word(0) + word(0) + word(timescale) + word(duration) + word(0));
    const std::string hdlr = box("hdlr", word(0) + word(0) + handler + word(0) + word(0));
    const std::string stsz = box("stsz", word(0) + word(0) + word(samples));
    return box("trak", box("tkhd", std::string(84, '\0')) +
                           box("mdia", mdhd + hdlr + box("minf", box("stbl", stsz))));
}

} // namespace

TEST(Recorder, OnlyAWholeMp4OfTheLengthAskedPasses) {
    const std::string ftyp = box("ftyp", "isom" + word(512) + "isomiso2avc1mp41");
    const std::string video = track("vide", 15360, 30720, 60);
    const std::string sound = track("soun", 44100, 89224, 88);
    const std::string moov = box("moov", box("mvhd", std::string(100, '\0')) + video + sound);
    const std::string mdat = box("mdat", std::string(1000, '\x5a'));
    const Mp4Expectation twoSeconds{60, 2.0};
    const struct {
        const char* name;
        std::string bytes;
        const char* fault; // null: passes
    } cases[] = {
        {"whole", ftyp + moov + box("free", "") + mdat, nullptr},
        {"index at the end", ftyp + mdat + moov, nullptr},
        {"last box to the end of the file",
         ftyp + moov + word(0) + "mdat" + std::string(1000, '\x5a'), nullptr},
        {"empty", "", "the video is empty"},
        {"cut short", (ftyp + moov + mdat).substr(0, ftyp.size() + moov.size() + 500),
         "cut short or damaged at byte"},
        {"no index", ftyp + mdat, "no index (moov)"},
        {"no media", ftyp + moov, "holds no pictures or sound"},
        {"not MP4", std::string(2000, '\x13'), "cut short or damaged at byte 0"},
        {"other first box", mdat + moov, "not an MP4 file"},
        {"sound missing", ftyp + box("moov", video) + mdat, "1 picture and 0 sound streams"},
        {"frames missing", ftyp + box("moov", track("vide", 15360, 30208, 59) + sound) + mdat,
         "holds 59 frames, not 60"},
        {"sound short", ftyp + box("moov", video + track("soun", 44100, 44100, 44)) + mdat,
         "the sound lasts 1.000 s, not 2.000 s"},
        {"damaged track", ftyp + box("moov", video + box("trak", "xx")) + mdat, "index is damaged"},
    };
    for (const auto& c : cases) {
        const std::string path = writeTempFile("clip.mp4", c.bytes);
        std::string error;
        EXPECT_EQ(checkMp4File(path, twoSeconds, error), c.fault == nullptr) << c.name;
        if (c.fault != nullptr) {
            EXPECT_NE(error.find(c.fault), std::string::npos) << c.name << ": " << error;
        }
    }
}
