#pragma once

#include "world/GraphicsDevice.h"

#include <QFont>

#include <vector>

// The OpenGL objects behind the device's resource handles; the device deletes them.

struct OpenGLTexture : DeviceTexture {
    unsigned texture = 0;
};

struct OpenGLMesh : DeviceMesh {
    unsigned vertexArray = 0;
    unsigned vertexBuffer = 0;
    unsigned indexBuffer = 0;
    std::vector<MeshSubset> subsets;
};

struct OpenGLVertexBuffer : DeviceVertexBuffer {
    unsigned vertexArray = 0;
    unsigned vertexBuffer = 0;
    int vertexCount = 0;
};

struct OpenGLFont : DeviceFont {
    QFont font;
};
