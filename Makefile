# Halvex: build, test and demo. Each target installs missing Debian packages first.
BUILD ?= build
SAN_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build test test-sanitize demo bench format clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	@cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHALVEX_SANITIZE=ON -DHALVEX_BENCH=OFF >/dev/null
	@cmake --build $(SAN_BUILD) -j $(JOBS)
	@cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The command-line front end against the built-in simulated phone (virtual time: instant).
CLI = $(BUILD)/app/cli/halvex-cli
demo: configure
	@cmake --build $(BUILD) -j $(JOBS) --target halvex-cli
	@echo '$$ halvex-cli --simulate --transcript phonebook list ME'
	@$(CLI) --simulate --transcript phonebook list ME 2>&1
	@echo
	@echo '$$ halvex-cli --simulate --transcript sms list inbox'
	@$(CLI) --simulate --transcript sms list inbox 2>&1

bench: build
	@for b in $(BUILD)/bench/halvex_bench_*; do [ -x "$$b" ] && "$$b"; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
