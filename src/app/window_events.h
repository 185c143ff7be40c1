// What reached the window between two frames, in the order it came: the
// shortcut keys released, a click, the window losing its focus. The GLFW
// callbacks collect them; the next frame applies them. Fixed storage, so
// collecting allocates nothing.
#pragma once

#include <array>

struct WindowEvents {
    static constexpr int capacity = 32;
    std::array<int, capacity> keyReleases{};  // GLFW key codes
    int keyReleaseCount = 0;
    bool clicked = false;
    bool focusLost = false;

    // Keys beyond the capacity in one frame are dropped.
    void release(int key)
    {
        if (keyReleaseCount < capacity)
            keyReleases[keyReleaseCount++] = key;
    }

    bool released(int key) const
    {
        for (int i = 0; i < keyReleaseCount; ++i) {
            if (keyReleases[i] == key)
                return true;
        }
        return false;
    }
};
