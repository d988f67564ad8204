// Loads the one GLSL program. A stage is judged by its info log alone: any compile or link
// message, warnings included, fails the load, so the shipped shaders must compile silently.
#include "engine/graphics/shader_program.h"

#include <GL/glew.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace Engine {

namespace {

// The log text up to its first NUL followed by ":", or "" when the log is empty.
template <typename LengthQuery, typename LogQuery>
std::string CollectLog(GLuint object, LengthQuery queryLength, LogQuery queryLog) {
    GLint length = 0;
    queryLength(object, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0) return "";
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    queryLog(object, length, nullptr, buffer.data());
    const std::string text(buffer.data());
    return text.empty() ? "" : text + ":";
}

std::string ShaderLog(GLuint shader) {
    return CollectLog(
        shader, [](GLuint s, GLenum p, GLint* v) { glGetShaderiv(s, p, v); },
        [](GLuint s, GLsizei n, GLsizei* l, GLchar* b) { glGetShaderInfoLog(s, n, l, b); });
}

std::string ProgramLog(GLuint program) {
    return CollectLog(
        program, [](GLuint s, GLenum p, GLint* v) { glGetProgramiv(s, p, v); },
        [](GLuint s, GLsizei n, GLsizei* l, GLchar* b) { glGetProgramInfoLog(s, n, l, b); });
}

// Compiles `source` into `shader`; returns the log text ("" when the driver said nothing).
std::string Compile(GLuint shader, const std::string& source) {
    const GLchar* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    return ShaderLog(shader);
}

// Releases the shader objects (and the program) of a load that fails part way, so that no
// object outlives Load; a successful load releases the shaders itself and keeps the program.
struct PendingObjects {
    GLuint vertexShader = 0;
    GLuint fragmentShader = 0;
    GLuint program = 0;
    bool succeeded = false;

    ~PendingObjects() {
        if (succeeded) return;
        if (program != 0) glDeleteProgram(program);
        glDeleteShader(vertexShader);
        glDeleteShader(fragmentShader);
    }
};

}  // namespace

bool ShaderProgram::ReadSource(const std::string& path, std::string* source) {
    // A directory opens as an empty stream; it is no shader file.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) return false;
    std::ifstream file(path);
    if (!file.is_open()) return false;
    source->clear();
    std::string line;
    while (std::getline(file, line)) {
        source->push_back('\n');
        source->append(line);
    }
    return true;
}

ShaderProgram* ShaderProgram::Load(const std::string& vertexPath, const std::string& fragmentPath) {
    // Both shader objects exist before either file is opened.
    PendingObjects objects;
    objects.vertexShader = glCreateShader(GL_VERTEX_SHADER);
    objects.fragmentShader = glCreateShader(GL_FRAGMENT_SHADER);
    const GLuint vertexShader = objects.vertexShader;
    const GLuint fragmentShader = objects.fragmentShader;

    // The fixed text first, then the file the player is to look for.
    std::string vertexSource;
    if (!ReadSource(vertexPath, &vertexSource)) {
        throw std::runtime_error("Failed to open vertex shader! (" + vertexPath + ")");
    }
    std::string fragmentSource;
    if (!ReadSource(fragmentPath, &fragmentSource)) {
        throw std::runtime_error("Failed to open fragment shader! (" + fragmentPath + ")");
    }

    std::string error = Compile(vertexShader, vertexSource);
    if (!error.empty()) throw std::runtime_error("Vertex shader error: " + error);
    error = Compile(fragmentShader, fragmentSource);
    if (!error.empty()) throw std::runtime_error("Fragment shader error: " + error);

    const GLuint program = glCreateProgram();
    objects.program = program;
    glBindAttribLocation(program, 0, "vertexPos");
    glBindAttribLocation(program, 1, "vertexUV");
    glBindAttribLocation(program, 2, "normalCoords");
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    error = ProgramLog(program);
    if (!error.empty()) throw std::runtime_error("Shader error: " + error);

    glDetachShader(program, vertexShader);
    glDetachShader(program, fragmentShader);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
    objects.succeeded = true;

    if (program == 0) throw std::runtime_error("Failed to load shaders! Shader program returned zero.");
    std::cout << "Shader program loaded successfully." << std::endl;
    return new ShaderProgram(program);
}

void ShaderProgram::Use() { glUseProgram(program); }

void ShaderProgram::Unuse() { glUseProgram(0); }

GLuint ShaderProgram::GetId() const { return program; }

void ShaderProgram::Delete() { glDeleteProgram(program); }

}  // namespace Engine
