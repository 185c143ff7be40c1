// The HUD over the finished frame: the power bar and the heart, drawn with
// the ui program from two small vertex arrays made once. Where they go is the
// game's HUD layout; this only draws it. Owns its GL objects.
#pragma once

#include "framework/gl_handle.h"
#include "framework/shader.h"
#include "game/menu_layout.h"

class HudRenderer {
public:
    // Loads the ui program from "assets/shaders/ui.vert" and "assets/shaders/ui.frag"
    // and uploads the unit quad and the heart.
    HudRenderer();

    // Draws the bar for `powerShare` (0 empty to 1 full) and the heart into the bound
    // framebuffer of `width` by `height` pixels, blended over the picture,
    // and the pause sign in the middle while `paused`. Leaves the depth test
    // enabled and no vertex array bound; a framebuffer without area gets nothing.
    void draw(int width, int height, float powerShare, bool paused = false);

    // Draws the menu's panel and the bar behind its focused item, blended,
    // without depth test; leaves the depth test enabled.
    void drawMenuPanel(const MenuLayout& menu, int width, int height);

private:
    struct Shape {
        VertexArrayHandle vertexArray;
        BufferHandle positions;
    };

    Shader uiShader;
    Shape quad;
    Shape heart;
};
