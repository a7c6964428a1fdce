#include "render/ShaderProgram.h"

#include "base/Utf8Files.h"
#include "render/ShaderSource.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

#ifdef __EMSCRIPTEN__
// In the browser the shader files hold GLSL ES text whose "#version" must be
// the first line, and a read from standard input would open a prompt window
// that stops the page: the message alone has to do.
std::string assemble(std::istream& in) {
    return assembleShaderSourceFromFirstLine(in);
}
void waitForKeyAfterMessage() {}
#else
std::string assemble(std::istream& in) {
    return assembleShaderSource(in);
}
// Holds a console user at the message until a key is pressed.
void waitForKeyAfterMessage() {
    std::getchar();
}
#endif

enum class ShaderFile { opened, cannotOpen, tooLarge };

// Opens a shader file unless it cannot be used: not a regular file (a FIFO
// would block the open), or over the size bound, which is said in a line
// of its own.
ShaderFile openShaderFile(const char* path, std::ifstream& file) {
    if (!isRegularUtf8File(path)) {
        return ShaderFile::cannotOpen;
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(pathFromUtf8(path), error);
    if (!error && size > maxShaderFileBytes) {
        std::printf("Shader file %s is over %ju MiB; not read\n", path, maxShaderFileBytes >> 20);
        return ShaderFile::tooLarge;
    }
    file.open(pathFromUtf8(path));
    return file.is_open() ? ShaderFile::opened : ShaderFile::cannotOpen;
}

void compileShader(GLuint shader, const std::string& source) {
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
}

// Prints a non-empty driver log; one byte more than reported keeps it
// terminated even when the driver counts no terminator.
template <typename GetLength, typename GetLog>
void printLog(GLuint object, GetLength getLength, GetLog getLog) {
    GLint length = 0;
    getLength(object, GL_INFO_LOG_LENGTH, &length);
    if (length > 0) {
        std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
        getLog(object, length, nullptr, log.data());
        std::printf("%s\n", log.data());
    }
}

void printShaderLog(GLuint shader) {
    printLog(shader, glGetShaderiv, glGetShaderInfoLog);
}

void printProgramLog(GLuint program) {
    printLog(program, glGetProgramiv, glGetProgramInfoLog);
}

} // namespace

ShaderProgram::ShaderProgram(const char* vertexPath, const char* fragmentPath) {
    const GLuint vertexShader = glCreateShader(GL_VERTEX_SHADER);
    const GLuint fragmentShader = glCreateShader(GL_FRAGMENT_SHADER);

    std::ifstream vertexFile;
    const ShaderFile vertexOpened = openShaderFile(vertexPath, vertexFile);
    if (vertexOpened != ShaderFile::opened) {
        if (vertexOpened == ShaderFile::cannotOpen) {
            std::printf(
                "Impossible to open %s. Are you in the right directory ? Don't forget to read "
                "the FAQ !\n",
                vertexPath);
        }
        std::fflush(stdout);
        waitForKeyAfterMessage();
        return;
    }
    const std::string vertexSource = assemble(vertexFile);
    vertexFile.close();

    std::string fragmentSource;
    std::ifstream fragmentFile;
    if (openShaderFile(fragmentPath, fragmentFile) == ShaderFile::opened) {
        fragmentSource = assemble(fragmentFile);
    }

    std::printf("Compiling shader : %s\n", vertexPath);
    compileShader(vertexShader, vertexSource);
    printShaderLog(vertexShader);

    std::printf("Compiling shader : %s\n", fragmentPath);
    compileShader(fragmentShader, fragmentSource);
    printShaderLog(fragmentShader);

    std::printf("Linking program\n");
    programId = glCreateProgram();
    glAttachShader(programId, vertexShader);
    glAttachShader(programId, fragmentShader);
    glLinkProgram(programId);
    printProgramLog(programId);

    glDetachShader(programId, vertexShader);
    glDetachShader(programId, fragmentShader);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
}
