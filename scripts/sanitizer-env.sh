# The environment every run of a sanitizer build shares (tests, soak): Mesa's
# software renderer and the sanitizers' options. Sourced, not run.
root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export LIBGL_ALWAYS_SOFTWARE=1
export GALLIUM_DRIVER=llvmpipe
# llvmpipe renders on the calling thread and Mesa keeps no shader cache on
# disk: no driver threads linger at exit, and no test depends on what an
# earlier run cached.
export LP_NUM_THREADS=0
export MESA_SHADER_CACHE_DISABLE=true
# OpenAL Soft plays into its null backend: no test needs speakers or a
# sound server, and none prints the sound-system errors of a machine without them.
export ALSOFT_DRIVERS=null
# AddressSanitizer's __tls_get_addr interceptor misreads the dynamic TLS
# blocks of libraries loaded at run time (the GL driver), and LeakSanitizer's
# exit-time scan then crashes in its tracer ("Tracer caught signal 11").
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$root_dir/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
