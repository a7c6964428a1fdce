#include "render/Quad.h"

#include "GlTestEnvironment.h"
#include "support/ConsoleCapture.h"
#include "support/TempFile.h"

#include <fstream>
#include <vector>

namespace {

// Line numbers of the nine check sites, read from Quad.cpp itself, in order.
std::vector<int> checkSiteLines() {
    std::ifstream source(VELMORA_SOURCE_DIR "/render/Quad.cpp");
    std::vector<int> lines;
    std::string line;
    for (int number = 1; std::getline(source, line); ++number) {
        if (line.find("GL_CHECK_SITE();") != std::string::npos &&
            line.find("#define") == std::string::npos) {
            lines.push_back(number);
        }
    }
    return lines;
}

std::string reportLine(int siteIndex) {
    return "glError in file Quad.cpp @ line " + std::to_string(checkSiteLines().at(siteIndex - 1)) +
           ": XX\n";
}

std::string readDataFile(const char* name) {
    std::ifstream in(std::string(VELMORA_SOURCE_DIR "/data/") + name);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

ShaderProgram buildQuiet(const std::string& vertexText, const std::string& fragmentText,
                         const std::string& tag) {
    const std::string vertex = writeTempFile(tag + ".vsh", vertexText);
    const std::string fragment = writeTempFile(tag + ".fsh", fragmentText);
    StdoutCapture quiet;
    return ShaderProgram(vertex.c_str(), fragment.c_str());
}

ShaderProgram backgroundProgram() {
    return buildQuiet(readDataFile("heart.vsh"), readDataFile("heart.fsh"), "heart");
}

void raiseInvalidEnum() {
    glEnable(0x1234);
}

} // namespace

TEST(QuadCheckSites, StandOnNineRisingLines) {
    const std::vector<int> lines = checkSiteLines();
    ASSERT_EQ(lines.size(), 9u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_LT(lines[i - 1], lines[i]);
    }
}

TEST(Quad, PrintsNothingWithoutErrors) {
    REQUIRE_GL();
    ShaderProgram program = backgroundProgram();
    StdoutCapture capture;
    Quad quad(&program);
    glUseProgram(program.programId);
    quad.draw();
    quad.draw();
    EXPECT_EQ(capture.finish(), "");
    EXPECT_EQ(quad.positionLocation, 0);
}

TEST(Quad, ErrorPendingBeforeConstructionIsReportedByTheFirstSite) {
    REQUIRE_GL();
    ShaderProgram program = backgroundProgram();
    // What a core context's extension-string query leaves behind.
    EXPECT_EQ(glGetString(GL_EXTENSIONS), nullptr);
    StdoutCapture capture;
    Quad quad(&program);
    EXPECT_EQ(capture.finish(), reportLine(1));
}

TEST(Quad, ErrorPendingBeforeDrawIsReportedOnceBySiteThree) {
    REQUIRE_GL();
    ShaderProgram program = backgroundProgram();
    Quad quad(&program);
    drainGlErrors();
    glUseProgram(program.programId);
    raiseInvalidEnum();
    StdoutCapture first;
    quad.draw();
    EXPECT_EQ(first.finish(), reportLine(3));
    StdoutCapture second;
    quad.draw();
    EXPECT_EQ(second.finish(), "");
}

TEST(Quad, ProgramWithoutPositionIsReportedBySiteTwo) {
    REQUIRE_GL();
    ShaderProgram program =
        buildQuiet("#version 330 core\n"
                   "void main() { gl_Position = vec4(0.0); }\n",
                   "#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1); }\n", "noposition");
    StdoutCapture capture;
    Quad quad(&program);
    EXPECT_EQ(quad.positionLocation, -1);
    EXPECT_EQ(capture.finish(), reportLine(2));
}

TEST(Quad, UnlinkedProgramIsReportedBySiteFourEveryFrame) {
    REQUIRE_GL();
    ShaderProgram program =
        buildQuiet(readDataFile("heart.vsh"), "#version 330 core\nbroken", "unlinked");
    StdoutCapture construction;
    Quad quad(&program);
    construction.finish();
    drainGlErrors();
    for (int frame = 0; frame < 2; ++frame) {
        StdoutCapture capture;
        quad.draw();
        const std::string output = capture.finish();
        EXPECT_EQ(output.rfind(reportLine(4), 0), 0u) << output;
    }
}
