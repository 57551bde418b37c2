# The two commands a player or a maintainer needs: `make run` and `make test`.
# Both install what is missing first, so a fresh Debian 12 machine needs
# nothing else.

BUILD     ?= build
ASAN      ?= build-asan
RELEASE   ?= build-release
JOBS      ?= $(shell nproc)
CMAKE_GEN ?= -G "Unix Makefiles"
SOURCES    = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: all deps configure build run test test-sanitize bench format lint clean

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

bench: deps
	cmake -S . -B $(RELEASE) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZELKAR_QT=OFF
	cmake --build $(RELEASE) -j $(JOBS) --target zelkar_bench
	$(RELEASE)/zelkar_bench

format:
	clang-format -i $(SOURCES)

lint:
	@clang-format --dry-run --Werror $(SOURCES) && echo "format: clean"

clean:
	rm -rf $(BUILD) $(ASAN) $(RELEASE)
