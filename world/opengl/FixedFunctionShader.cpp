#include "world/opengl/FixedFunctionShader.h"

#include <QOpenGLFunctions_3_3_Core>

#include <glm/gtc/type_ptr.hpp>

namespace {

const char* const kVertexSource = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 2) in vec2 uv;
uniform mat4 clipFromModel;
uniform mat4 viewFromModel;
out vec2 textureCoordinates;
out float viewDepth;
void main()
{
    textureCoordinates = uv;
    viewDepth = (viewFromModel * vec4(position, 1.0)).z;
    gl_Position = clipFromModel * vec4(position, 1.0);
}
)";

const char* const kFragmentSource = R"(#version 330 core
in vec2 textureCoordinates;
in float viewDepth;
uniform sampler2D stage0;
uniform bool textured;
uniform vec4 diffuse;
uniform bool fogEnabled;
uniform float fogStart;
uniform float fogEnd;
uniform vec3 fogColor;
out vec4 fragmentColor;
void main()
{
    vec4 color = diffuse;
    if (textured)
        color *= texture(stage0, textureCoordinates);
    if (fogEnabled) {
        float visibility = clamp((fogEnd - viewDepth) / (fogEnd - fogStart), 0.0, 1.0);
        color.rgb = mix(fogColor, color.rgb, visibility);
    }
    fragmentColor = color;
}
)";

GLuint Compile(QOpenGLFunctions_3_3_Core& gl, GLenum type, const char* source)
{
    const GLuint shader = gl.glCreateShader(type);
    gl.glShaderSource(shader, 1, &source, nullptr);
    gl.glCompileShader(shader);
    GLint compiled = GL_FALSE;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        gl.glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

FixedFunctionShader::~FixedFunctionShader()
{
    if (m_program != 0)
        m_gl.glDeleteProgram(m_program);
}

bool FixedFunctionShader::Build()
{
    if (m_program != 0)
        return true;
    const GLuint vertex = Compile(m_gl, GL_VERTEX_SHADER, kVertexSource);
    const GLuint fragment = Compile(m_gl, GL_FRAGMENT_SHADER, kFragmentSource);
    GLint linked = GL_FALSE;
    GLuint program = 0;
    if (vertex != 0 && fragment != 0) {
        program = m_gl.glCreateProgram();
        m_gl.glAttachShader(program, vertex);
        m_gl.glAttachShader(program, fragment);
        m_gl.glLinkProgram(program);
        m_gl.glGetProgramiv(program, GL_LINK_STATUS, &linked);
    }
    m_gl.glDeleteShader(vertex);
    m_gl.glDeleteShader(fragment);
    if (linked != GL_TRUE) {
        m_gl.glDeleteProgram(program);
        return false;
    }
    m_program = program;
    m_clipFromModel = m_gl.glGetUniformLocation(program, "clipFromModel");
    m_viewFromModel = m_gl.glGetUniformLocation(program, "viewFromModel");
    m_diffuse = m_gl.glGetUniformLocation(program, "diffuse");
    m_textured = m_gl.glGetUniformLocation(program, "textured");
    m_fogEnabled = m_gl.glGetUniformLocation(program, "fogEnabled");
    m_fogStart = m_gl.glGetUniformLocation(program, "fogStart");
    m_fogEnd = m_gl.glGetUniformLocation(program, "fogEnd");
    m_fogColor = m_gl.glGetUniformLocation(program, "fogColor");
    m_gl.glUseProgram(program);
    m_gl.glUniform1i(m_gl.glGetUniformLocation(program, "stage0"), 0);
    return true;
}

void FixedFunctionShader::Use(const glm::mat4& clipFromModel, const glm::mat4& viewFromModel, const glm::vec4& diffuse,
                              bool textured, const Fog& fog)
{
    m_gl.glUseProgram(m_program);
    m_gl.glUniformMatrix4fv(m_clipFromModel, 1, GL_FALSE, glm::value_ptr(clipFromModel));
    m_gl.glUniformMatrix4fv(m_viewFromModel, 1, GL_FALSE, glm::value_ptr(viewFromModel));
    m_gl.glUniform4fv(m_diffuse, 1, glm::value_ptr(diffuse));
    m_gl.glUniform1i(m_textured, textured ? 1 : 0);
    m_gl.glUniform1i(m_fogEnabled, fog.enabled ? 1 : 0);
    m_gl.glUniform1f(m_fogStart, fog.start);
    m_gl.glUniform1f(m_fogEnd, fog.end);
    m_gl.glUniform3fv(m_fogColor, 1, glm::value_ptr(fog.color));
}
