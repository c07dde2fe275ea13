# make test: installs what is missing, builds everything, runs every test.
# make run:  installs what is missing, builds, and starts the program under wine64.
# make bench: installs what is missing, builds trees of its own, and measures start-up, memory,
#             the apply path and the shipped size under wine64 (scripts/bench.sh).
# make fuzz: installs what is missing, builds the fuzz targets and runs each for FUZZ_SECONDS
#            (60 unless given: make fuzz FUZZ_SECONDS=600).
# make dist: dist/netset-<version>-x86.zip with the shipped exe, the README and SHA256SUMS.
.PHONY: test run deps build bench fuzz dist

GEN := -G Ninja
X86 := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
X64 := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DNETSET_WINE_TESTS=ON
FUZZ := -DNETSET_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = $(basename $(notdir $(wildcard tests/fuzz/*_fuzz.cpp)))
# The bench programs join a tree through tests/bench/attach.cmake, whether or not the project's
# CMake files add tests/bench themselves.
BENCH := -DCMAKE_PROJECT_INCLUDE=$(CURDIR)/tests/bench/attach.cmake

deps:
	@scripts/install-deps.sh

# A tree is configured once; after that its build regenerates itself when the CMake files change.
configure = test -f $(1)/build.ninja || cmake -S . -B $(1) $(GEN) $(2) >/dev/null

build: deps
	@$(call configure,build/x86,$(X86)) && cmake --build build/x86
	@$(call configure,build/x64,$(X64)) && cmake --build build/x64
	@$(call configure,build/host,) && cmake --build build/host
	@$(call configure,build/host-sanitize,-DNETSET_SANITIZE=ON) && cmake --build build/host-sanitize
	@$(call configure,build/fuzz,$(FUZZ)) && cmake --build build/fuzz

test: build
	@scripts/test-all.sh

run: deps
	@$(call configure,build/x64,$(X64)) && cmake --build build/x64 --target netset peek
	@scripts/run.sh

bench: deps
	@$(call configure,build/bench-x86,$(X86)) && cmake --build build/bench-x86 --target netset
	@$(call configure,build/bench-x64,$(X64) $(BENCH)) && cmake --build build/bench-x64 --target bench_programs
	@scripts/bench.sh

# What the runs find stays in build/fuzz/corpus/<target>, and grows from one run to the next; the
# committed seeds in tests/fuzz/corpus are only read. Every target runs even when one fails.
fuzz: deps
	@$(call configure,build/fuzz,$(FUZZ)) && cmake --build build/fuzz
	@failed=""; for t in $(FUZZ_TARGETS); do \
	  echo "== $$t ($(FUZZ_SECONDS) s)"; \
	  cmake -DFUZZER=build/fuzz/tests/fuzz/$$t -DSEEDS=tests/fuzz/corpus/$$t -DWORK=build/fuzz/corpus/$$t \
	    -DSECONDS=$(FUZZ_SECONDS) -P tests/fuzz/run_fuzzer.cmake || failed="$$failed $$t"; \
	done; \
	if [ -n "$$failed" ]; then echo "fuzz: FAILED$$failed"; exit 1; fi; echo "fuzz: all passed"

dist: deps
	@scripts/dist.sh
