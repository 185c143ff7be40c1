// A 2D GL texture made from a block-compressed DDS file under the asset
// roots. The blocks are uploaded as stored; GL builds the mipmap chain.
// A texture whose image could not be read stays invalid: it owns no GL
// object and binding it does nothing. Shared through std::make_shared.
#pragma once

#include "gl_handle.h"

#include <GL/glew.h>

#include <string>

// Filtering and wrapping of the texture bound to GL_TEXTURE_2D on the active
// unit: min, then mag, then wrap S and T alike.
void setBoundTextureSampling(GLenum minFilter, GLenum magFilter, GLenum wrap);

// What a texture file the asset search cannot find means to the game.
enum class MissingTexture {
    fatal,     // the level cannot be drawn without it
    reported,  // the game does without: one line, and the texture stays invalid
};

class Texture {
public:
    // A missing file is as `ifMissing` says, reported with "Could not find
    // texture file: " and the path; an unreadable or unsupported image is
    // reported and leaves it invalid. The new texture is left bound to
    // GL_TEXTURE_2D on the active unit.
    explicit Texture(const std::string& path, MissingTexture ifMissing = MissingTexture::fatal);

    // Whether an image was uploaded.
    bool valid() const { return static_cast<bool>(handle); }

    // Makes `unit` active and binds the texture there; does nothing at all,
    // not even the unit switch, when invalid.
    void bind(int unit) const;

    // Rebuilds the mipmaps and replaces filtering and wrapping, using unit 0
    // and leaving texture 0 bound there. Does nothing when invalid.
    void setSampling(GLenum minFilter, GLenum magFilter, GLenum wrap);

private:
    TextureHandle handle;
};
