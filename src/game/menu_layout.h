// Where the menus' words and boxes go, and the title screen's camera. The
// lines stand centred in a translucent panel, one size for all items and a
// larger heading, shrunk until every line fits the window, however small.
// Framebuffer pixels with the origin at the bottom-left. Plain arithmetic;
// the scene's HUD and text renderers draw from it, and the menu's pointer
// finds its items in it.
#pragma once

#include "game/hud_layout.h"
#include "game/menu.h"
#include "game/simulation.h"

#include <glm/vec4.hpp>

#include <array>

inline constexpr glm::vec4 menuPanelColor{0.03f, 0.02f, 0.08f, 0.6f};
inline constexpr glm::vec4 menuFocusColor{0.35f, 0.55f, 0.95f, 0.55f};

struct MenuLayout {
    HudText text;  // the heading lines, then one line per item
    std::array<glm::vec4, maxMenuItems> itemBoxes{};  // left, bottom, right, top, as menuItems orders them
    int itemCount = 0;
    glm::vec4 panel{0.0f};     // behind every line
    glm::vec4 focusBox{0.0f};  // behind the focused item
};

// The layout of the screen showing; nothing while playing. Allocates nothing.
MenuLayout menuLayout(const Menu& menu, float width, float height);

// The title screen's camera after `seconds`: it circles the shaft slowly,
// looking across and up it.
CameraView titleView(double seconds, const CameraSettings& camera, float aspect);
