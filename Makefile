# Two set-up commands on a fresh Debian/Ubuntu machine:
#   make run    installs what is missing, builds, converts the bundled examples
#   make test   builds and runs every test
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps configure build run test test-sanitize bench fuzz screenshots install package clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@tools/convert-examples.sh $(BUILD)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer; any
# report fails the run.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVERTEXION_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS)

# Speed and memory on large generated objects and scenes.
bench: build
	@bench/run.sh $(BUILD)

# Every libFuzzer target for FUZZ_SECONDS each; any crash, leak, sanitizer
# report, timeout (1 s an input) or out-of-memory (512 MB) fails.
fuzz:
	@tools/install-deps.sh clang libclang-rt-14-dev
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVERTEXION_FUZZ=ON -DVERTEXION_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_targets
	@tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Pictures of the desktop program's dialogs in docs/screenshots, drawn on Qt's
# offscreen platform so no display is needed.
screenshots: build
	@QT_QPA_PLATFORM=offscreen $(BUILD)/ui/qt/vertexion-screenshots docs/screenshots

# The programs, their manual pages, desktop entry, icon, shell completion and
# documentation under PREFIX (staged below DESTDIR when given). An existing
# build is only brought up to date, so that "sudo make install" after "make"
# does not configure the build tree as root.
install:
	@[ -f $(BUILD)/CMakeCache.txt ] || $(MAKE) --no-print-directory build
	@cmake --build $(BUILD) -j$(JOBS)
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# A Debian package of the same files below /usr, in $(BUILD)/vertexion_*.deb.
package: build
	@tools/install-deps.sh dpkg-dev file
	@cd $(BUILD) && cpack -G DEB

clean:
	@rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
