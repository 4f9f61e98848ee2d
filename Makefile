# Build, play and test the memory game.
BUILD      ?= build
ASAN_BUILD ?= build-asan
RELEASE_BUILD ?= build-release
JOBS       ?= $(shell nproc)

# What building the package needs (make deb): CMake, the compiler, the -dev
# libraries, dpkg-dev and fakeroot. memory-new reads JPEGs at a reduced size
# (libturbojpeg) and HEIC photos (libheif brings its HEVC decoder, libde265).
# gettext compiles the translations (msgfmt, with the AppStream ITS rules).
BUILD_PACKAGES := cmake g++ make pkg-config \
	libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libfontconfig-dev dpkg-dev fakeroot \
	libturbojpeg0-dev libheif-dev libspeechd-dev libarchive-dev nettle-dev gettext
# The man pages in other languages are translated at build time (po/man/).
BUILD_PACKAGES += po4a
# Everything else: the fonts the bundled games use, the test tools (make test,
# make test-package) and the benchmark's watcher (make bench).
PACKAGES := $(BUILD_PACKAGES) libgtest-dev fonts-dejavu-core fonts-liberation \
	xvfb xdotool imagemagick sox x11-utils openbox
PACKAGES += lintian desktop-file-utils appstream groff man-db
# The package test's check of the game package file type.
PACKAGES += shared-mime-info xdg-utils libfile-mimeinfo-perl
PACKAGES += libx11-dev libxdamage-dev
# memory-new's tests: colour emoji in captions, and heif-enc to make a HEIC photo.
PACKAGES += libheif-examples fonts-noto-color-emoji
# The stand-in speech service of the play-by-ear end-to-end test.
PACKAGES += socat
# A German locale for the end-to-end test in German (made by deps when missing).
PACKAGES += locales

.PHONY: all deps deps-build configure play test test-asan release clean install deb test-package soak fuzz fuzz-build bench

all: $(BUILD)/memory

# Installs the Debian packages that are missing (as root, or through sudo).
deps:
	@missing=""; for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
		sudo=""; [ "$$(id -u)" -eq 0 ] || sudo=sudo; \
		echo "Installing:$$missing"; \
		$$sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq $$missing; \
	fi
	@if [ -e /usr/share/i18n/locales/de_DE ] && ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then \
		sudo=""; [ "$$(id -u)" -eq 0 ] || sudo=sudo; \
		echo "Making the locale de_DE.UTF-8"; \
		$$sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8; \
	fi

$(BUILD)/Makefile:
	cmake -S . -B $(BUILD)

$(BUILD)/memory: $(BUILD)/Makefile FORCE
	cmake --build $(BUILD) -j $(JOBS)

FORCE:

# Only what building the package needs.
deps-build:
	$(MAKE) deps PACKAGES="$(BUILD_PACKAGES)"

# Plays the default game (named by build/memory.ini), or games/$(GAME)/$(GAME).ini.
play: deps $(BUILD)/memory
	$(BUILD)/memory $(if $(GAME),games/$(GAME)/$(GAME).ini)

# The tests build with warnings as errors.
test: deps
	cmake -S . -B $(BUILD) -DMEMORY_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan

test-asan:
	cmake -S . -B $(ASAN_BUILD) -DMEMORY_SANITIZE=ON -DMEMORY_WERROR=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --output-on-failure -j $(JOBS)

# The build a packager makes, in its own folder: optimised, and without a warning.
release:
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release -DMEMORY_WERROR=ON
	cmake --build $(RELEASE_BUILD) -j $(JOBS)

# Installs into $(DESTDIR)$(PREFIX): the programs in lib/games/memory/, links
# in games/, the bundled games in share/games/memory/, menu entry, icons and
# manual pages.
PREFIX ?= /usr/local
install: $(BUILD)/memory
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Builds memory_VERSION_ARCH.deb here, in a build folder of its own with
# Debian's compiler flags and without the tests.
DEB_BUILD ?= build-deb
deb: deps-build
	cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=None -DMEMORY_TESTS=OFF \
		-DCMAKE_CXX_FLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS) $$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)"
	cmake --build $(DEB_BUILD) -j $(JOBS)
	rm -f $(DEB_BUILD)/memory_*.deb
	cd $(DEB_BUILD) && fakeroot cpack -G DEB
	cp $(DEB_BUILD)/memory_*.deb .

# The package as a player gets it: lintian and the validators, then the game
# unpacked into a scratch root, started and checked there.
test-package: deps deb
	bash packaging/test_package.sh $$(ls -t memory_*.deb | head -n1)

# Randomized games on the headless backend, with a summary and the speed.
SOAK_GAMES ?= 10000
soak: deps $(BUILD)/memory
	$(BUILD)/memory_soak $(SOAK_GAMES)

# libFuzzer targets, built with clang in their own folder; each runs its
# committed corpus, then new inputs for FUZZ_SECONDS. Findings are kept in
# $(FUZZ_BUILD)/findings.
FUZZ_BUILD    ?= build-fuzz
FUZZ_SECONDS  ?= 120
FUZZ_TARGETS  := syntax load media package
FUZZ_PACKAGES := clang libfuzzer-14-dev libclang-rt-14-dev
fuzz-build:
	$(MAKE) deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DMEMORY_FUZZ=ON -DMEMORY_WERROR=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))

fuzz: fuzz-build
	for t in $(FUZZ_TARGETS); do \
		tests/fuzz/run.sh $(FUZZ_BUILD)/fuzz_$$t tests/fuzz/corpus/$$t $(FUZZ_SECONDS) $(FUZZ_BUILD)/findings/$$t || exit 1; \
	done

# Start-up, memory, idle and animation figures beside a minimal SDL2 program,
# and memory-new beside ImageMagick (README: Benchmark). BENCH_RUNS=3 BENCH_IDLE=3 for a quick look.
bench: deps $(BUILD)/memory
	tools/bench/bench.sh $(BUILD)
	tools/bench/memory_new_bench.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD) $(DEB_BUILD) $(FUZZ_BUILD)
