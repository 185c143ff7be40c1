# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds Release and starts the game
#   make test  installs what is missing, builds with sanitizers and runs every test
#   make bench installs what is missing, builds Release and runs the benchmark
#   make soak  the same sanitizer build, then five minutes of scripted play
#              that watches memory and GL objects (GLIMMERDEEP_SOAK_SECONDS)
#   make screenshots  builds Release and draws the README's pictures of the glow
#              and the ghost into docs/bloom_resolutions.png and docs/ghost.png,
#              quality full beside auto into docs/quality_full_auto.png, and
#              the menus of player mode into docs/screens
#   make sound-picture  builds Release, plays the win replay into a WAV and
#              draws its loudness into docs/sound_win_replay.png
#   make install [PREFIX=dir]  builds Release and installs the game under
#              PREFIX (default /usr/local); DESTDIR works as CMake reads it
#   make package  builds Release with Debian's hardening flags and packs it as
#              build/package/glimmerdeep_<version>_<arch>.deb
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test
BENCH_DIR := build/bench
PACKAGE_DIR := build/package
PREFIX ?= /usr/local

.PHONY: run test soak build deps deps-game install

# The game alone needs fewer packages than its tests and tools.
deps-game:
	@scripts/install-deps.sh game

deps:
	@scripts/install-deps.sh all

build: deps-game
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DGLIMMERDEEP_TESTS=OFF -DGLIMMERDEEP_TOOLS=OFF
	cmake --build $(RELEASE_DIR) -j $(JOBS)

run: build
	@scripts/run-game.sh $(RELEASE_DIR)/glimmerdeep $(ARGS)

# What went where is listed in $(RELEASE_DIR)/install_manifest.txt.
install: build
	cmake --install $(RELEASE_DIR) --prefix $(PREFIX)

# The executable in /usr/games, as Debian keeps games; built in a folder of
# its own since the compiler and linker flags are dpkg-buildflags' ones.
.PHONY: package
package:
	@scripts/install-deps.sh package
	DEB_BUILD_MAINT_OPTIONS=hardening=+all; export DEB_BUILD_MAINT_OPTIONS; \
	CFLAGS="$$(dpkg-buildflags --get CFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DGLIMMERDEEP_TESTS=OFF -DGLIMMERDEEP_TOOLS=OFF \
	  -DGLIMMERDEEP_BINDIR=games
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB

test: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DGLIMMERDEEP_SANITIZE=ON -DGLIMMERDEEP_WERROR=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	@scripts/run-tests.sh $(TEST_DIR)

soak: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DGLIMMERDEEP_SANITIZE=ON -DGLIMMERDEEP_WERROR=ON
	cmake --build $(TEST_DIR) --target soak_test -j $(JOBS)
	@scripts/run-soak.sh $(TEST_DIR)

.PHONY: bench
bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DGLIMMERDEEP_TESTS=OFF
	cmake --build $(BENCH_DIR) --target bench -j $(JOBS)
	@scripts/run-bench.sh $(BENCH_DIR)

# A hidden window on Xvfb with Mesa's software renderer, like the tests.
.PHONY: screenshots
screenshots: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DGLIMMERDEEP_TESTS=OFF
	cmake --build $(BENCH_DIR) --target screenshots -j $(JOBS)
	LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x1024x24" \
	  $(BENCH_DIR)/tools/screenshots/screenshots docs/bloom_resolutions.png \
	  docs/quality_full_auto.png docs/ghost.png docs/screens

# The win replay heard through OpenAL Soft's wave backend, under Xvfb.
.PHONY: sound-picture
sound-picture: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DGLIMMERDEEP_TESTS=OFF
	cmake --build $(BENCH_DIR) --target glimmerdeep sound_meter -j $(JOBS)
	LIBGL_ALWAYS_SOFTWARE=1 scripts/sound-picture.sh $(BENCH_DIR) docs/sound_win_replay.png
