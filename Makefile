# Ravelix: build, run and test from a fresh Debian 12 machine.
#   make run    installs what is missing, builds, starts Ravelix under Wine with the stand-in setup library
#   make test   installs what is missing, builds native and Windows targets, runs every test through CTest
#   make dist   dist/Ravelix.exe and dist/SETUP.dll, ready to copy to Windows
#   make bench        start-up time and memory of Ravelix against the bare dialog, sizes (build/bench/figures.md)
#   make screenshots  docs/screenshot-en.png and docs/screenshot-ko.png from the program under Wine

BUILD   := $(CURDIR)/build
JOBS    ?= $(shell nproc)
# The Windows build the end-to-end tests run: the 32-bit one where this machine can execute 32-bit code,
# else the same sources built for x86-64 (see scripts/wine-arch.sh).
E2E_ARCH = $(shell scripts/wine-arch.sh)

.PHONY: all deps win32 win64 e2e-build native test run dist fuzz clean
.PHONY: bench screenshots

all: win32 native

deps:
	@scripts/install-deps.sh

win32: deps
	cmake -S . -B $(BUILD)/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)/win32 -j $(JOBS)

win64: deps
	cmake -S . -B $(BUILD)/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)/win64 -j $(JOBS)

e2e-build: deps
	@$(MAKE) --no-print-directory $(E2E_ARCH)

native: deps
	cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=Debug \
	    -DRAVELIX_WIN32_DIR=$(BUILD)/win32 -DRAVELIX_E2E_DIR=$(BUILD)/$(E2E_ARCH)
	cmake --build $(BUILD)/native -j $(JOBS)

test: deps win32 e2e-build native
	cd $(BUILD)/native && ctest --output-on-failure -j $(JOBS)

run: deps e2e-build
	scripts/run.sh $(BUILD)/$(E2E_ARCH)

VERSION := 1.0.0.1
dist: deps win32
	rm -rf dist && mkdir -p dist/Ravelix-$(VERSION)-win32
	cp $(BUILD)/win32/win32/Ravelix.exe $(BUILD)/win32/setupdll/SETUP.dll dist/
	cp dist/Ravelix.exe dist/SETUP.dll dist/Ravelix-$(VERSION)-win32/
	cp docs/dist-README.txt dist/Ravelix-$(VERSION)-win32/README.txt
	cd dist && zip -q -r Ravelix-$(VERSION)-win32.zip Ravelix-$(VERSION)-win32 && rm -r Ravelix-$(VERSION)-win32
	@ls -l dist

# Each fuzz target for about a minute (FUZZ_SECONDS), with clang's libFuzzer.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)/fuzz -DRAVELIX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD)/fuzz -j $(JOBS)
	scripts/fuzz.sh $(BUILD)/fuzz

# Start-up time and peak memory of Ravelix against the bare dialog under Wine, and the binaries' sizes:
# prints a table and writes $(BUILD)/bench/figures.md. Not part of make test.
bench: deps win32 e2e-build
	python3 scripts/bench.py --cross-build $(BUILD)/$(E2E_ARCH) --win32-build $(BUILD)/win32

# docs/screenshot-en.png and docs/screenshot-ko.png, the dialog as Wine shows it, for the README.
screenshots: deps e2e-build
	python3 scripts/screenshots.py --cross-build $(BUILD)/$(E2E_ARCH)

clean:
	rm -rf $(BUILD) dist
