#include "render/ShaderProgram.h"

#include "ShowEnvironment.h"
#include "support/TempFile.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Standard input, until destruction, is a file holding `text`: the code under
// test reads it with getchar through the real descriptor. A file rather than
// a pipe, so the same code runs on Windows.
class StdinFeed {
public:
    explicit StdinFeed(const std::string& text) {
        std::FILE* file = std::fopen(writeTempFile("stdin", text).c_str(), "rb");
        if (file == nullptr) {
            std::abort();
        }
        dup2(fileno(file), STDIN_FILENO);
        std::fclose(file);
        clearerr(stdin);
    }
    ~StdinFeed() {
        // Drop whatever stdio buffered from the file before the real input returns.
        while (std::getchar() != EOF) {
        }
        dup2(savedStdin, STDIN_FILENO);
        close(savedStdin);
        clearerr(stdin);
    }
    StdinFeed(const StdinFeed&) = delete;
    StdinFeed& operator=(const StdinFeed&) = delete;

private:
    int savedStdin = dup(STDIN_FILENO);
};

const char* const validVertex = "#version 330 core\n"
                                "layout(location = 0) in vec2 position;\n"
                                "void main() { gl_Position = vec4(position, 0.0, 1.0); }\n";
const char* const validFragment = "#version 330 core\n"
                                  "out vec4 colour;\n"
                                  "void main() { colour = vec4(1.0); }\n";

std::string compilingLine(const std::string& path) {
    return "Compiling shader : " + path + "\n";
}

bool linked(GLuint program) {
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

// A program built from shader texts (null: no such file), its console output
// and the paths it was given.
struct Built {
    std::string vertex;
    std::string fragment;
    std::string output;
    GLuint programId;
};

Built build(const std::string& tag, const char* vertexText, const char* fragmentText) {
    Built built;
    built.vertex = writeTempFile(tag + ".vsh", vertexText != nullptr ? vertexText : "");
    built.fragment = writeTempFile(tag + ".fsh", fragmentText != nullptr ? fragmentText : "");
    built.vertex += vertexText != nullptr ? "" : ".missing";
    built.fragment += fragmentText != nullptr ? "" : ".missing";
    testing::internal::CaptureStdout();
    built.programId = ShaderProgram(built.vertex.c_str(), built.fragment.c_str()).programId;
    built.output = testing::internal::GetCapturedStdout();
    return built;
}

} // namespace

// The progress lines of a clean build are checked end to end (e2e_startup_console).
TEST(ShaderProgram, LogsStandAfterTheLinesOfTheirStep) {
    REQUIRE_SHOW();
    const Built built = build("broken", "#version 330 core\nvoid main() { x }\n", validFragment);
    const std::string& output = built.output;
    const std::size_t fragmentLine = output.find(compilingLine(built.fragment));
    const std::size_t linkLine = output.find("Linking program\n");
    ASSERT_EQ(output.find(compilingLine(built.vertex)), 0u);
    // The vertex log lies between the two compile lines; the link log follows.
    EXPECT_GT(fragmentLine, compilingLine(built.vertex).size());
    EXPECT_LT(fragmentLine, linkLine);
    EXPECT_GT(output.size(), linkLine + 16);
    EXPECT_NE(built.programId, 0u);
    EXPECT_FALSE(linked(built.programId));
}

TEST(ShaderProgram, MissingVertexFilePrintsOneLineReadsOneCharacterAndBuildsNothing) {
    REQUIRE_SHOW();
    StdinFeed input("xy");
    const Built built = build("novertex", nullptr, nullptr);
    EXPECT_EQ(built.output, "Impossible to open " + built.vertex +
                                ". Are you in the right directory ? Don't forget to read the "
                                "FAQ !\n");
    EXPECT_EQ(built.programId, 0u);
    EXPECT_EQ(std::getchar(), 'y');
}

TEST(ShaderProgram, MissingFragmentFileIsCompiledAsEmptyTextWithoutAMessage) {
    REQUIRE_SHOW();
    const Built built = build("nofragment", validVertex, nullptr);
    EXPECT_EQ(built.output.rfind(compilingLine(built.vertex) + compilingLine(built.fragment), 0),
              0u);
    EXPECT_NE(built.output.find("Linking program\n"), std::string::npos);
    EXPECT_NE(built.programId, 0u);
    EXPECT_FALSE(linked(built.programId));
}
