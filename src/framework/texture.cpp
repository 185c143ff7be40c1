#include "texture.h"

#include "asset_path.h"
#include "console.h"
#include "dds_reader.h"

void setBoundTextureSampling(GLenum minFilter, GLenum magFilter, GLenum wrap)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
}

Texture::Texture(const std::string& path, MissingTexture ifMissing)
{
    const std::string resolved = findAssetPath(path);
    if (resolved.empty()) {
        report(ifMissing == MissingTexture::fatal ? Severity::fatal : Severity::warning,
               "Could not find texture file: " + path);
        return;
    }
    const DDSImage image = loadDDS(resolved);
    if (image.data.empty())
        return;
    handle = makeTexture();
    glBindTexture(GL_TEXTURE_2D, handle.get());
    glCompressedTexImage2D(GL_TEXTURE_2D, 0, image.format, static_cast<GLsizei>(image.width),
                           static_cast<GLsizei>(image.height), 0, static_cast<GLsizei>(image.imageSize),
                           image.data.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    setBoundTextureSampling(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT);
}

void Texture::bind(int unit) const
{
    if (!handle)
        return;
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(GL_TEXTURE_2D, handle.get());
}

void Texture::setSampling(GLenum minFilter, GLenum magFilter, GLenum wrap)
{
    // Without an image of its own, the calls below would rebuild and retune
    // whatever texture the active unit happens to hold.
    if (!handle)
        return;
    bind(0);
    glGenerateMipmap(GL_TEXTURE_2D);
    setBoundTextureSampling(minFilter, magFilter, wrap);
    glBindTexture(GL_TEXTURE_2D, 0);
}
