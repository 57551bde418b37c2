# The two commands a player or a maintainer needs: `make run` and `make test`.
# Both install what is missing first, so a fresh Debian 12 machine needs
# nothing else.

BUILD     ?= build
ASAN      ?= build-asan
RELEASE   ?= build-release
FUZZ      ?= build-fuzz
DEB       ?= build-deb
FUZZ_SECONDS ?= 300
FUZZ_TARGETS = config script play packet meet
SOAK_SEEDS ?= 1000
JOBS      ?= $(shell nproc)
CMAKE_GEN ?= -G "Unix Makefiles"
SOURCES    = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: all deps configure build run test test-sanitize bench smoke measure netplay-check package \
	package-check net-soak nat-lab format lint clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/qt/zelkar $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZELKAR_SANITIZE=ON -DZELKAR_QT=OFF
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS)

# The long determinism run: SOAK_SEEDS pairs of matches under the
# sanitizers, compared after every tick and held to the invariants, the
# seeds shared out over the cores by gtest's sharding.
soak: deps
	cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZELKAR_SANITIZE=ON -DZELKAR_QT=OFF
	cmake --build $(ASAN) -j $(JOBS) --target zelkar_tests
	@pids=""; for i in $$(seq 0 $$(($(JOBS) - 1))); do \
	  ZELKAR_SOAK_SEEDS=$(SOAK_SEEDS) GTEST_TOTAL_SHARDS=$(JOBS) GTEST_SHARD_INDEX=$$i \
	    $(ASAN)/zelkar_tests --gtest_filter='Seeds/SoakSeed.*' --gtest_brief=1 \
	    >$(ASAN)/soak-$$i.log 2>&1 & pids="$$pids $$!"; \
	done; status=0; for p in $$pids; do wait $$p || status=1; done; \
	tail -n 3 $(ASAN)/soak-*.log; \
	if [ $$status -ne 0 ]; then grep -h -B2 -A12 'Failure\|ERROR' $(ASAN)/soak-*.log | head -n 80; fi; \
	exit $$status

# libFuzzer on the config.txt reader, the script reader and the game playing
# scripts, each for FUZZ_SECONDS, in a clang build of the core alone. A
# finding fails the target; its input is saved in $(FUZZ)/artifacts/.
fuzz: deps
	cmake -S . -B $(FUZZ) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DZELKAR_FUZZ=ON -DZELKAR_QT=OFF
	cmake --build $(FUZZ) -j $(JOBS)
	@status=0; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ)/corpus/$$t $(FUZZ)/artifacts/$$t; \
	  echo "fuzz_$$t: $(FUZZ_SECONDS) s"; \
	  $(FUZZ)/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -dict=fuzz/$$t.dict -artifact_prefix=$(FUZZ)/artifacts/$$t/ \
	    $(FUZZ)/corpus/$$t fuzz/corpus/$$t >$(FUZZ)/fuzz_$$t.log 2>&1 || status=1; \
	  grep -E '^#[0-9]+[[:space:]]+DONE|exec_per_sec|ERROR|SUMMARY' $(FUZZ)/fuzz_$$t.log; \
	done; exit $$status

# Online play through a relay adding 75 ms (+- 10 ms) each way and losing
# 10, 20 and 30 % of the datagrams each way: SOAK_MATCHES three-thousand-
# tick matches of two real zelkar-sim processes per loss rate, five at a
# time (about two minutes per rate). Fails unless every match finishes.
SOAK_MATCHES ?= 20
SOAK_LOSSES  ?= 10 20 30
net-soak: configure
	cmake --build $(BUILD) -j $(JOBS) --target zelkar-sim zelkar-net-soak
	$(BUILD)/zelkar-net-soak $(BUILD)/zelkar-sim $(SOAK_MATCHES) 5 $(SOAK_LOSSES)

bench: deps
	cmake -S . -B $(RELEASE) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZELKAR_QT=OFF
	cmake --build $(RELEASE) -j $(JOBS) --target zelkar_bench zelkar-cpu-bench zelkar-meet-flood
	$(RELEASE)/zelkar_bench
	$(RELEASE)/zelkar-cpu-bench
	$(RELEASE)/zelkar-meet-flood $(RELEASE)/zelkar-meet 5
	# The window's share of a tick: the program's own build, on no display.
	$(MAKE) build
	$(BUILD)/qt/zelkar_paint_bench
	# The start panel and the window's share of a core, against their goals:
	# the real program on a private X server.
	scripts/measure $(BUILD)

# The real program on a private X server (Xvfb), driven with xdotool.
smoke: build
	scripts/smoke $(BUILD)

measure: build
	scripts/measure $(BUILD)

# Two real windows play one online match over 127.0.0.1 on a private X
# server; their recordings must replay to the same hashes.
netplay-check: build
	scripts/netplay-check $(BUILD)

# The Debian package (debian/), built from a copy of the working tree in
# $(DEB)/src by dpkg-buildpackage; the .deb lands in $(DEB)/.
package: deps
	scripts/make-package $(DEB) $(JOBS)

# The package's checks: lintian, the metadata validators, the manual pages,
# and the installed programs run from a scratch root.
package-check: package
	scripts/package-check $(DEB)

# Home routers in network namespaces (as root): two zelkar-sim peers meet
# by code through zelkar-meet, open a path through NAT and play.
nat-lab: build
	scripts/nat-lab $(BUILD)
	scripts/nat-lab-relay $(BUILD)
	scripts/nat-lab-upnp $(BUILD)

format:
	clang-format -i $(SOURCES)

lint:
	@clang-format --dry-run --Werror $(SOURCES) && echo "format: clean"

clean:
	rm -rf $(BUILD) $(ASAN) $(RELEASE) $(FUZZ) $(DEB) build-golden
