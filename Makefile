# make run   - install what is missing, build, start the calculator on your display
# make test  - install what is missing, build, run every test (ctest)
# make check-sanitize - the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# make fuzz  - the libFuzzer targets, longer
# make bench - start-up time and memory against a bare Qt window, and memory growth over cycles
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: deps configure build run test check-sanitize fuzz bench clean

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it from a desktop session." >&2; \
	  exit 1; \
	fi
	./$(BUILD)/mobrigan

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

check-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DMOBRIGAN_SANITIZE=ON $(CMAKE_ARGS)
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --output-on-failure -j $(JOBS)

FUZZ_SECONDS ?= 600
# libFuzzer on Val/Asc and Format, FUZZ_SECONDS per target (clang, ASan+UBSan)
fuzz: deps
	bash tests/fuzz/run.sh $(FUZZ_SECONDS)

bench: build
	/usr/bin/python3 tests/bench/bench.py --build $(BUILD)

clean:
	rm -rf $(BUILD) $(SAN_BUILD) build-fuzz
