// The game's version, as --version prints it and recordings carry it.
#pragma once

inline constexpr const char* gameVersion = "1.1.0";
