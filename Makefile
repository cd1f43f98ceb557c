# The two commands of the README, and a few more for developers.
#   make run    install what is missing, build, start the game
#   make test   install what is missing, build, run every test (also the
#               sanitizer build, where each fuzz target runs over its seeds)
#               but the slow ones, which `make test-slow` runs
#   make deb    the Debian package, build-deb/brakkon_VERSION_ARCH.deb
# Warnings stop these builds (WERROR=OFF lets them pass, as a packager may want).

BUILD     ?= build
SAN_BUILD ?= build-san
DEB_BUILD ?= build-deb
JOBS      ?= $(shell nproc)
WERROR    ?= ON
# The sanitizer build's compiler; scripts/deps installs it with its runtimes.
CLANGXX   ?= clang++-14
CMAKE_FLAGS ?=

.PHONY: run test deps build build-san test-main test-san test-slow bench bench-xvfb fuzz soak balance deb clean

deps:
	@scripts/deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAKKON_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/brakkon

build-san: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=$(CLANGXX) \
	  -DBRAKKON_SANITIZE=ON -DBRAKKON_FUZZ=ON -DBRAKKON_BENCH=OFF -DBRAKKON_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(SAN_BUILD) -j $(JOBS)

test-main: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE slow

test-san: build-san
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE slow

# Tests that take minutes (a whole round of the music), in the normal build.
test-slow: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L slow

test: test-main test-san

# Benchmarks are run by hand, never as timed tests.
bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# The built game under Xvfb: first window, peak memory, CPU while playing.
bench-xvfb: build
	scripts/xvfb-bench $(BUILD)/bin/brakkon 60

# Timed fuzzing, never part of CTest: make fuzz FUZZ_SECONDS=300
FUZZ_SECONDS ?= 60
fuzz: build-san
	@for f in $(SAN_BUILD)/fuzz/fuzz_*; do \
	  [ -x "$$f" ] || continue; n=$$(basename $$f); mkdir -p $(SAN_BUILD)/corpus/$$n; \
	  "$$f" -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	    $(SAN_BUILD)/corpus/$$n fuzz/corpus/$${n#fuzz_}; done

# A long soak of random games in the sanitizer build: make soak SOAK_TICKS=1000000
SOAK_TICKS ?= 1000000
soak: build-san
	$(SAN_BUILD)/bin/soak_tests --ticks $(SOAK_TICKS)

# The balance of the shipped gates (brakkon-sim --balance over SEEDS seeds),
# written into data/README.md between its two balance markers; the rest of
# the file stays as it is, and without both markers nothing is written.
SEEDS ?= 50
balance: build
	$(BUILD)/bin/brakkon-sim --data $(BUILD)/bin/Game.dat --balance --seeds $(SEEDS) > $(BUILD)/balance.md
	awk -v table=$(BUILD)/balance.md \
	  '/^<!-- balance begin/ { print; while ((getline line < table) > 0) print line; skip = 1; begun = 1; next } \
	   /^<!-- balance end/ { skip = 0; ended = 1 } !skip { print } END { exit !(begun && ended) }' \
	  data/README.md > $(BUILD)/README.data.md
	mv $(BUILD)/README.data.md data/README.md

# The Debian package: $(DEB_BUILD)/brakkon_VERSION_ARCH.deb, for
# `sudo apt install ./brakkon_*.deb`. Built with the flags that make and CI
# test (-O2; GCC 12's -O3 warns falsely), without tests or benchmarks, the
# programs in /usr/games as Debian's games have them; CPack strips them.
# Debian's hardening flags come from dpkg-buildflags, as for its own packages.
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
deb: deps
	cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAKKON_WERROR=$(WERROR) \
	  -DBRAKKON_TESTS=OFF -DBRAKKON_BENCH=OFF -DBRAKKON_BIN_DIR=games \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)" $(CMAKE_FLAGS)
	cmake --build $(DEB_BUILD) -j $(JOBS)
	cd $(DEB_BUILD) && cpack -G DEB
	@ls $(DEB_BUILD)/brakkon_*.deb

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(DEB_BUILD)
