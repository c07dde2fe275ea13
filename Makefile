# make test: installs what is missing, builds everything, runs every test.
# make run:  installs what is missing, builds, and starts the program under wine64.
.PHONY: test run deps build

GEN := -G Ninja
X86 := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
X64 := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DNETSET_WINE_TESTS=ON

deps:
	@scripts/install-deps.sh

# A tree is configured once; after that its build regenerates itself when the CMake files change.
configure = test -f $(1)/build.ninja || cmake -S . -B $(1) $(GEN) $(2) >/dev/null

build: deps
	@$(call configure,build/x86,$(X86)) && cmake --build build/x86
	@$(call configure,build/x64,$(X64)) && cmake --build build/x64
	@$(call configure,build/host,) && cmake --build build/host
	@$(call configure,build/host-sanitize,-DNETSET_SANITIZE=ON) && cmake --build build/host-sanitize

test: build
	@scripts/test-all.sh

run: deps
	@$(call configure,build/x64,$(X64)) && cmake --build build/x64 --target netset peek
	@scripts/run.sh
