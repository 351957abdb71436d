# Two commands do everything on a fresh machine: `make demo` and `make test`.
BUILD  := build
WIN    := $(BUILD)/win
WIN64  := $(BUILD)/win64
NATIVE := $(BUILD)/native
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all setup build configure-win build-win build-win64 build-native test demo dist msi wintest fuzz bench clean soak

all: build

setup:
	@bash tools/setup.sh

# build/win: the x86 DLL and test programs; build/win64: the same sources for x64.
build: setup build-win build-win64 build-native

configure-win:
	@[ -f $(WIN)/CMakeCache.txt ] || cmake -S . -B $(WIN) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

build-win: configure-win
	cmake --build $(WIN)

build-win64:
	@[ -f $(WIN64)/CMakeCache.txt ] || cmake -S . -B $(WIN64) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WIN64)

build-native:
	@[ -f $(NATIVE)/CMakeCache.txt ] || cmake -S . -B $(NATIVE) $(CMAKE_GEN) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRISK_WIN_BUILD=$(abspath $(WIN)) -DOMBRISK_WIN64_BUILD=$(abspath $(WIN64))
	cmake --build $(NATIVE)

# Two at a time: the tests of one Wine environment take turns on its lock, the environments
# and the portable tests run side by side.
# The last lines list every skip of the script tests with its reason (a skip that is not on the
# harness's allow-list has already failed its test).
test: build
	@touch $(NATIVE)/test-run.stamp
	ctest --test-dir $(NATIVE) --output-on-failure -j2 -LE '^fuzz-long$$'; rc=$$?; \
	python3 tests/harness/skipsummary.py $(NATIVE) --since $(NATIVE)/test-run.stamp; exit $$rc

# The Windows package: dist/Ombrisk-<version>.zip with both DLLs, install.cmd, examples, docs.
# Debian's python3, which has python3-markdown, before any other on the PATH.
DIST_PYTHON ?= $(firstword $(wildcard /usr/bin/python3) python3)
dist: build
	$(DIST_PYTHON) tools/dist.py --win $(WIN) --win64 $(WIN64) --out dist

# The Windows Installer packages: dist/Ombrisk-<version>-x64.msi and -x86.msi, built from
# package/Ombrisk.wxs with Debian's wixl (docs/getting-started.md, "For administrators").
msi: build
	$(DIST_PYTHON) tools/msi.py --win $(WIN) --win64 $(WIN64) --out dist

# The conformance kit: dist/Ombrisk-wintest-<version>.zip, the suite with a JScript runner for
# Windows (docs/wintest.md).
wintest: build
	$(DIST_PYTHON) tools/wintest.py --win $(WIN) --win64 $(WIN64) --manifest $(NATIVE)/wintest-manifest.tsv --out dist

# The tour needs only the x86 DLL and the stand-in host.
demo: setup configure-win
	cmake --build $(WIN) --target Ombrisk standin
	python3 tests/harness/demo.py --win-build $(abspath $(WIN))

# The figures of docs/performance.md, each against a baseline in the same run, under Wine in an
# environment of its own (build/native/bench), stopped again at the end. Not part of `make test`.
bench: build
	python3 tests/harness/bench.py --state-dir $(abspath $(NATIVE))/bench --win-build $(abspath $(WIN))

# The long soak: tests/scripts/robust_soak.vbs with its full counts (500 objects, 100,000 calls,
# 1000 separator moves; about 3 minutes). `make test` runs it with a tenth of them.
soak: build
	OMBRISK_SOAK_SCALE=1 ctest --test-dir $(NATIVE) --output-on-failure -R '^wine\.robust_soak\.vbs$$'

# Every fuzz target for OMBRISK_FUZZ_SECONDS (default 60) each; the option is switched off
# again afterwards so that `make test` keeps to its short runs.
fuzz: build
	cmake -S . -B $(NATIVE) -DOMBRISK_FUZZ_LONG=ON
	cmake --build $(NATIVE)
	ctest --test-dir $(NATIVE) --output-on-failure -j1 -L '^fuzz-long$$'; rc=$$?; \
	cmake -S . -B $(NATIVE) -DOMBRISK_FUZZ_LONG=OFF >/dev/null; exit $$rc

clean:
	rm -rf $(BUILD)
