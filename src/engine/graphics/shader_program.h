// The one GLSL program everything is drawn through, loaded from a vertex and a fragment file.
// Owned by the application shell for the whole run; main thread only, OpenGL context current.
// Attribute contract: 0 "vertexPos" (3 floats), 1 "vertexUV" (2), 2 "normalCoords" (3).
#pragma once

#include <GL/glew.h>

#include <string>

namespace Engine {

class ShaderProgram {
public:
    // Reads, compiles and links both files; any non-empty compile or link log fails the load.
    // Prints "Shader program loaded successfully." on success; throws std::runtime_error otherwise.
    static ShaderProgram* Load(const std::string& vertexPath, const std::string& fragmentPath);

    void Use();            // glUseProgram(program)
    void Unuse();          // glUseProgram(0)
    GLuint GetId() const;  // the program name; 0 means no program
    void Delete();         // glDeleteProgram(program)

    // Reads a shader file as the driver gets it: every line preceded by "\n", no trailing newline
    // (an empty file gives ""). False when the file cannot be opened. No OpenGL; any thread.
    static bool ReadSource(const std::string& path, std::string* source);

    explicit ShaderProgram(GLuint program = 0) : program(program) {}

private:
    GLuint program = 0;
};

}  // namespace Engine
