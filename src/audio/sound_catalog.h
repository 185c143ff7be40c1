// Every sound of the game, declared once: its file, whether it loops, which
// volume it follows and how loud it sits in the mix. The generator writes
// these files and the player loads them.
#pragma once

#include <array>
#include <cstddef>

enum class SoundId { chime, lowPower, powerOut, splash, fanfare, wings, well };

enum class SoundKind { effect, ambience };

struct SoundEntry {
    SoundId id;
    const char* fileName;  // under soundFolder
    bool loops;
    SoundKind kind;
    float gain;  // its place in the mix before the player's volumes
};

inline constexpr const char* soundFolder = "assets/sounds/";

inline constexpr std::array<SoundEntry, 7> soundCatalog = {{
    {SoundId::chime, "chime.wav", false, SoundKind::effect, 1.0f},        // a ring passed, at the ring's pitch
    {SoundId::lowPower, "low_power.wav", false, SoundKind::effect, 0.7f}, // power fell below a fifth
    {SoundId::powerOut, "power_out.wav", false, SoundKind::effect, 0.9f}, // power ran out: the fairy falls
    {SoundId::splash, "splash.wav", false, SoundKind::effect, 1.0f},      // the fall ended in the water
    {SoundId::fanfare, "fanfare.wav", false, SoundKind::effect, 1.0f},    // the flag reached
    {SoundId::wings, "wings.wav", true, SoundKind::effect, 0.3f},         // the fairy's wings while it flies
    {SoundId::well, "well.wav", true, SoundKind::ambience, 1.0f},         // wind, drips and echo
}};

inline constexpr std::size_t soundCount = soundCatalog.size();

constexpr bool catalogInIdOrder()
{
    for (std::size_t i = 0; i < soundCount; ++i) {
        if (static_cast<std::size_t>(soundCatalog[i].id) != i)
            return false;
    }
    return true;
}
static_assert(catalogInIdOrder(), "soundEntry looks sounds up by their id");

constexpr const SoundEntry& soundEntry(SoundId id)
{
    return soundCatalog[static_cast<std::size_t>(id)];
}
