#include "render_quality.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

namespace {

// Scene pixels a two-core software renderer draws in time for 40 frames per
// second at 800x800, beside the composite at the window's size; at 1280x720,
// where the composite costs more, that still leaves over 30.
constexpr double sceneBudgetPixels = 800.0 * 800.0 * 0.55 * 0.55;
constexpr double scaleStep = 0.05;  // scales come in round steps, so lines and pictures repeat
constexpr double smallestScale = 0.25;

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

bool isSoftwareRenderer(const std::string& rendererName)
{
    const std::string name = lowerCase(rendererName);
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "swiftshader", "software rasterizer",
                                 "microsoft basic render"})
        if (name.find(software) != std::string::npos)
            return true;
    return false;
}

QualityChoice chooseRenderQuality(const std::string& rendererName, int width, int height,
                                  const RendererSettings& settings, const std::set<std::string>& playersKeys,
                                  bool playerMode)
{
    QualityChoice choice{settings, "", true};
    RendererSettings& chosen = choice.settings;
    if (playerMode && playersKeys.count("renderer.quality") == 0)
        chosen.quality = RenderQuality::automatic;
    if (chosen.quality != RenderQuality::automatic || !isSoftwareRenderer(rendererName))
        return choice;
    const double pixels = std::max(1.0, static_cast<double>(width) * height);
    const double fitting = std::floor(std::sqrt(sceneBudgetPixels / pixels) / scaleStep + 1e-9) * scaleStep;
    if (playersKeys.count("renderer.render_scale") == 0)
        chosen.render_scale = std::clamp(fitting, smallestScale, 1.0);
    if (playersKeys.count("renderer.bloom_resolution") == 0)
        chosen.bloom_resolution = BloomResolution::half;
    choice.multisample = false;
    const char* bloom = chosen.bloom_resolution == BloomResolution::quarter ? "quarter"
                        : chosen.bloom_resolution == BloomResolution::half  ? "half"
                                                                            : "full";
    std::ostringstream line;
    line << "Quality auto: '" << rendererName << "' draws without a graphics card; render_scale "
         << chosen.render_scale << ", bloom_resolution " << bloom << ", one sample per pixel.";
    choice.line = line.str();
    return choice;
}
