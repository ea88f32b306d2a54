#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

class QOpenGLFunctions_3_3_Core;

// What the fixed-function pipeline does with lighting off: the material's diffuse colour,
// modulated by the texture of stage 0 if one is bound, then linear fog by view depth.
class FixedFunctionShader {
public:
    struct Fog {
        bool enabled;
        float start;
        float end;
        glm::vec3 color;
    };

    explicit FixedFunctionShader(QOpenGLFunctions_3_3_Core& gl) : m_gl(gl) {}
    ~FixedFunctionShader();
    FixedFunctionShader(const FixedFunctionShader&) = delete;
    FixedFunctionShader& operator=(const FixedFunctionShader&) = delete;

    // Compiles and links the program; false on failure.
    bool Build();
    bool IsBuilt() const { return m_program != 0; }

    // Makes the program current with these settings. Vertex attributes: 0 position,
    // 1 normal, 2 texture coordinates.
    void Use(const glm::mat4& clipFromModel, const glm::mat4& viewFromModel, const glm::vec4& diffuse, bool textured,
             const Fog& fog);

private:
    QOpenGLFunctions_3_3_Core& m_gl;
    unsigned m_program = 0;
    int m_clipFromModel = -1;
    int m_viewFromModel = -1;
    int m_diffuse = -1;
    int m_textured = -1;
    int m_fogEnabled = -1;
    int m_fogStart = -1;
    int m_fogEnd = -1;
    int m_fogColor = -1;
};
