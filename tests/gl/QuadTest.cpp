#include "render/Quad.h"

#include "ShowEnvironment.h"
#include "support/TempFile.h"

#include <fstream>
#include <vector>

namespace {

// The report of the check site standing on the `site`th (from 1) line of
// Quad.cpp that holds one.
std::string reportOfSite(int site) {
    std::ifstream source(VELMORA_SOURCE_DIR "/render/Quad.cpp");
    std::string line;
    for (int number = 1; std::getline(source, line); ++number) {
        if (line.find("GL_CHECK_SITE();") != std::string::npos &&
            line.find("#define") == std::string::npos && --site == 0) {
            return "glError in file Quad.cpp @ line " + std::to_string(number) + ": XX\n";
        }
    }
    return "no such site";
}

std::string dataFile(const char* name) {
    std::ifstream in(std::string(VELMORA_SOURCE_DIR "/data/") + name);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

// GL errors that the quad's own calls raise are reported by the site that
// follows the call, once per construction or per frame.
TEST(Quad, ReportsTheErrorsOfItsOwnCallsAtTheSiteAfterThem) {
    const std::string heartVertex = dataFile("heart.vsh");
    const struct {
        const char* tag;
        std::string vertex;
        std::string fragment;
        GLint positionLocation;
        std::string constructionReport;
        std::string drawReport;
    } cases[] = {
        {"heart", heartVertex, dataFile("heart.fsh"), 0, "", ""},
        {"noposition", "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n",
         "#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1); }\n", -1, reportOfSite(2), ""},
        {"unlinked", heartVertex, "#version 330 core\nbroken", -1, reportOfSite(2),
         reportOfSite(4)},
    };
    for (const auto& c : cases) {
        REQUIRE_SHOW();
        const std::string vertex = writeTempFile(std::string(c.tag) + ".vsh", c.vertex);
        const std::string fragment = writeTempFile(std::string(c.tag) + ".fsh", c.fragment);
        testing::internal::CaptureStdout();
        ShaderProgram program(vertex.c_str(), fragment.c_str());
        testing::internal::GetCapturedStdout();
        testing::internal::CaptureStdout();
        Quad quad(&program);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.constructionReport) << c.tag;
        EXPECT_EQ(quad.positionLocation, c.positionLocation) << c.tag;
        drainGlErrors();
        for (int frame = 0; frame < 2; ++frame) {
            testing::internal::CaptureStdout();
            quad.draw();
            const std::string output = testing::internal::GetCapturedStdout();
            EXPECT_EQ(output.substr(0, c.drawReport.size()), c.drawReport) << c.tag;
            EXPECT_EQ(output.empty(), c.drawReport.empty()) << c.tag << output;
        }
    }
}
