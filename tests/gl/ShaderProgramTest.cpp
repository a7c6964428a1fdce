#include "render/ShaderProgram.h"

#include "GlTestEnvironment.h"
#include "support/ConsoleCapture.h"
#include "support/TempFile.h"

#include <cstdio>

namespace {

const char* const validVertex = "#version 330 core\n"
                                "layout(location = 0) in vec2 position;\n"
                                "void main() { gl_Position = vec4(position, 0.0, 1.0); }\n";
const char* const validFragment = "#version 330 core\n"
                                  "out vec4 colour;\n"
                                  "void main() { colour = vec4(1.0); }\n";

std::string compilingLine(const std::string& path) {
    return "Compiling shader : " + path + "\n";
}

std::string missingLine(const std::string& path) {
    return "Impossible to open " + path +
           ". Are you in the right directory ? Don't forget to read the FAQ !\n";
}

bool linked(GLuint program) {
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

} // namespace

TEST(ShaderProgram, ValidPairPrintsProgressLinesInOrderAndLinks) {
    REQUIRE_GL();
    const std::string vertex = writeTempFile("valid.vsh", validVertex);
    const std::string fragment = writeTempFile("valid.fsh", validFragment);
    StdoutCapture capture;
    const ShaderProgram program(vertex.c_str(), fragment.c_str());
    const std::string output = capture.finish();
    // llvmpipe reports empty logs for clean shaders, so only the progress lines show.
    EXPECT_EQ(output, compilingLine(vertex) + compilingLine(fragment) + "Linking program\n");
    EXPECT_NE(program.programId, 0u);
    EXPECT_TRUE(linked(program.programId));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(ShaderProgram, CompileErrorLogStandsAfterItsShadersLine) {
    REQUIRE_GL();
    const std::string vertex =
        writeTempFile("broken.vsh", "#version 330 core\nvoid main() { x }\n");
    const std::string fragment = writeTempFile("ok.fsh", validFragment);
    StdoutCapture capture;
    const ShaderProgram program(vertex.c_str(), fragment.c_str());
    const std::string output = capture.finish();
    const std::size_t vertexLine = output.find(compilingLine(vertex));
    const std::size_t fragmentLine = output.find(compilingLine(fragment));
    const std::size_t linkLine = output.find("Linking program\n");
    ASSERT_EQ(vertexLine, 0u);
    ASSERT_NE(fragmentLine, std::string::npos);
    ASSERT_NE(linkLine, std::string::npos);
    // The vertex log lies between the two compile lines; the link log follows.
    EXPECT_GT(fragmentLine, compilingLine(vertex).size());
    EXPECT_LT(fragmentLine, linkLine);
    EXPECT_GT(output.size(), linkLine + 16);
    EXPECT_NE(program.programId, 0u);
    EXPECT_FALSE(linked(program.programId));
}

TEST(ShaderProgram, EmptyVertexFileIsStillCompiled) {
    REQUIRE_GL();
    const std::string vertex = writeTempFile("empty.vsh", "");
    const std::string fragment = writeTempFile("ok2.fsh", validFragment);
    StdoutCapture capture;
    const ShaderProgram program(vertex.c_str(), fragment.c_str());
    const std::string output = capture.finish();
    EXPECT_EQ(output.rfind(compilingLine(vertex), 0), 0u);
    EXPECT_NE(output.find("Linking program\n"), std::string::npos);
    EXPECT_FALSE(linked(program.programId));
}

TEST(ShaderProgram, MissingVertexFilePrintsOneLineAndConsumesOneCharacter) {
    REQUIRE_GL();
    const std::string vertex = writeTempFile("dir-only", "") + ".missing.vsh";
    const std::string fragment = writeTempFile("ok3.fsh", validFragment);
    StdinFeed input("xy");
    StdoutCapture capture;
    const ShaderProgram program(vertex.c_str(), fragment.c_str());
    const std::string output = capture.finish();
    EXPECT_EQ(output, missingLine(vertex));
    EXPECT_EQ(program.programId, 0u);
    EXPECT_EQ(std::getchar(), 'y');
}

TEST(ShaderProgram, MissingVertexFileWithMissingFragmentFileStillPrintsOneLine) {
    REQUIRE_GL();
    const std::string vertex = writeTempFile("x", "") + ".none.vsh";
    const std::string fragment = vertex + ".none.fsh";
    StdinFeed input("");
    StdoutCapture capture;
    const ShaderProgram program(vertex.c_str(), fragment.c_str());
    EXPECT_EQ(capture.finish(), missingLine(vertex));
    EXPECT_EQ(program.programId, 0u);
}

TEST(ShaderProgram, MissingFragmentFileIsCompiledAsEmptyTextWithoutAMessage) {
    REQUIRE_GL();
    const std::string vertex = writeTempFile("ok4.vsh", validVertex);
    const std::string fragment = vertex + ".missing.fsh";
    StdoutCapture capture;
    const ShaderProgram program(vertex.c_str(), fragment.c_str());
    const std::string output = capture.finish();
    EXPECT_EQ(output.find("Impossible to open"), std::string::npos);
    EXPECT_EQ(output.rfind(compilingLine(vertex) + compilingLine(fragment), 0), 0u);
    EXPECT_NE(output.find("Linking program\n"), std::string::npos);
    EXPECT_NE(program.programId, 0u);
    EXPECT_FALSE(linked(program.programId));
}
