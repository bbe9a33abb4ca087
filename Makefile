# make run   installs what is missing, builds, lays out a demo title directory
#            (build/title) and starts the launcher there under Wine.
# make test  installs what is missing, builds and runs every test.
BUILD ?= build
PACKAGES := g++ g++-mingw-w64-x86-64-posix cmake ninja-build make googletest \
            wine wine64 fonts-wine xvfb x11-utils imagemagick dosbox nasm clang-format
CMAKE_FLAGS := -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake

.PHONY: all deps build test run bench format format-check clean

all: build

deps:
	@tools/install-deps.sh $(PACKAGES)

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

test: build
	tools/wine-session.sh --own-display $(BUILD) \
	    ctest --test-dir $(BUILD) --output-on-failure --timeout 300

run: build
	tools/run-demo.sh $(BUILD)

bench: build
	tools/wine-session.sh --own-display $(BUILD) bench/run.sh $(BUILD)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check: deps
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
