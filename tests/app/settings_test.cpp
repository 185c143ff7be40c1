#include "app/settings.h"
#include "app/settings_file.h"

#include <gtest/gtest.h>

TEST(Settings, EmptyFilesGiveTheDocumentedDefaults)
{
    const SettingsFile empty = SettingsFile::fromText("");
    const WindowSettings window = readWindowSettings(empty);
    EXPECT_EQ(window.width, 800);
    EXPECT_EQ(window.height, 800);
    EXPECT_EQ(window.refreshRate, 60);
    EXPECT_TRUE(window.fullscreen);
    EXPECT_EQ(window.title, "Glimmerdeep");

    const CameraSettings camera = readCameraSettings(empty);
    EXPECT_FLOAT_EQ(camera.fov, 60.0f);
    EXPECT_FLOAT_EQ(camera.near, 0.1f);
    EXPECT_FLOAT_EQ(camera.far, 100.0f);
    EXPECT_FLOAT_EQ(camera.yaw, 0.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 0.0f);

    const RendererSettings renderer = readRendererSettings(empty);
    EXPECT_FALSE(renderer.wireframe);
    EXPECT_FALSE(renderer.backface_culling);
    EXPECT_FALSE(renderer.normals);
    EXPECT_FALSE(renderer.texcoords);
    EXPECT_TRUE(renderer.depthtest);
}

TEST(Settings, ValuesAreReadFromTheirOwnSectionsOnly)
{
    const SettingsFile file = SettingsFile::fromText(
        "[window]\nwidth = 0x400\nheight = 300\nfullscreen = no\ntitle = Well\n"
        "[camera]\nfov = 75 ; wide\nyaw = -1.25\n"
        "[renderer]\nwireframe = on\ndepthtest = off\n");
    EXPECT_EQ(readWindowSettings(file).width, 1024);
    EXPECT_EQ(readWindowSettings(file).height, 300);
    EXPECT_FALSE(readWindowSettings(file).fullscreen);
    EXPECT_EQ(readWindowSettings(file).title, "Well");
    EXPECT_FLOAT_EQ(readCameraSettings(file).fov, 75.0f);
    EXPECT_FLOAT_EQ(readCameraSettings(file).yaw, -1.25f);
    EXPECT_TRUE(readRendererSettings(file).wireframe);
    EXPECT_FALSE(readRendererSettings(file).depthtest);
}

TEST(Settings, HugeSizesDoNotWrapAround)
{
    const SettingsFile file = SettingsFile::fromText("[window]\nwidth = 99999999999999\nheight = -99999999999999\n");
    EXPECT_GT(readWindowSettings(file).width, 0);
    EXPECT_LT(readWindowSettings(file).height, 0);
}

TEST(Settings, MissingOverrideFilesAreReportedWithTheirPaths)
{
    CommandLineOptions options;
    options.cameraSettingsPath = "no/such/camera.ini";
    options.rendererSettingsPath = "no/such/renderer.ini";
    testing::internal::CaptureStdout();
    const Settings settings = loadSettings(options);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "ERROR: Failed to load 'no/such/camera.ini'. Using default values instead.\n"
              "ERROR: Failed to load 'no/such/renderer.ini'. Using default values instead.\n");
    EXPECT_TRUE(settings.renderer.depthtest);
}

TEST(Settings, OptionsReplaceTheCameraAndRendererFiles)
{
    CommandLineOptions options;
    options.cameraSettingsPath = "assets/settings/camera_wide.ini";
    options.rendererSettingsPath = "assets/settings/renderer_debug.ini";
    const Settings settings = loadSettings(options);
    EXPECT_FLOAT_EQ(settings.camera.fov, 85.0f);
    EXPECT_TRUE(settings.renderer.wireframe);
    EXPECT_FALSE(settings.window.fullscreen);  // the shipped window file
}
