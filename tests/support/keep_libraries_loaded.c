/* Preloaded into the game by the end-to-end tests: keeps every shared library
 * mapped until the process ends, so LeakSanitizer can still name the GL
 * driver's own blocks at exit (Mesa unloads its driver when the window system
 * shuts down) and the suppressions for driver libraries apply. */
int dlclose(void* handle)
{
    (void)handle;
    return 0;
}
