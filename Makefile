# Build, play and test the memory game.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

PACKAGES := cmake g++ make pkg-config libgtest-dev \
	libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libfontconfig-dev \
	fonts-dejavu-core fonts-liberation xvfb xdotool imagemagick sox x11-utils
PACKAGES += libx11-dev libxdamage-dev  # the benchmark's watcher

.PHONY: all deps configure play test test-asan clean bench

all: $(BUILD)/memory

# Installs the Debian packages that are missing (as root, or through sudo).
deps:
	@missing=""; for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
		sudo=""; [ "$$(id -u)" -eq 0 ] || sudo=sudo; \
		echo "Installing:$$missing"; \
		$$sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq $$missing; \
	fi

$(BUILD)/Makefile:
	cmake -S . -B $(BUILD)

$(BUILD)/memory: $(BUILD)/Makefile FORCE
	cmake --build $(BUILD) -j $(JOBS)

FORCE:

# Plays the default game (named by build/memory.ini), or games/$(GAME)/$(GAME).ini.
play: deps $(BUILD)/memory
	$(BUILD)/memory $(if $(GAME),games/$(GAME)/$(GAME).ini)

test: deps $(BUILD)/memory
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan

test-asan:
	cmake -S . -B $(ASAN_BUILD) -DMEMORY_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS)

# Start-up, memory, idle and animation figures beside a minimal SDL2 program
# (README: Benchmark). BENCH_RUNS=3 BENCH_IDLE=3 for a quick look.
bench: deps $(BUILD)/memory
	tools/bench/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
