# Two commands do everything on a fresh machine: `make demo` and `make test`.
BUILD  := build
WIN    := $(BUILD)/win
NATIVE := $(BUILD)/native
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all setup build build-win build-native test demo fuzz clean

all: build

setup:
	@bash tools/setup.sh

build: setup build-win build-native

build-win:
	@[ -f $(WIN)/CMakeCache.txt ] || cmake -S . -B $(WIN) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WIN)

build-native:
	@[ -f $(NATIVE)/CMakeCache.txt ] || cmake -S . -B $(NATIVE) $(CMAKE_GEN) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRISK_WIN_BUILD=$(abspath $(WIN))
	cmake --build $(NATIVE)

test: build
	ctest --test-dir $(NATIVE) --output-on-failure -j1 -LE '^fuzz-long$$'

demo: build
	python3 tests/harness/demo.py --win-build $(abspath $(WIN))

# Every fuzz target for OMBRISK_FUZZ_SECONDS (default 60) each; the option is switched off
# again afterwards so that `make test` keeps to its short runs.
fuzz: build
	cmake -S . -B $(NATIVE) -DOMBRISK_FUZZ_LONG=ON
	cmake --build $(NATIVE)
	ctest --test-dir $(NATIVE) --output-on-failure -j1 -L '^fuzz-long$$'; rc=$$?; \
	cmake -S . -B $(NATIVE) -DOMBRISK_FUZZ_LONG=OFF >/dev/null; exit $$rc

clean:
	rm -rf $(BUILD)
