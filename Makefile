# Halvex: build, test and demo. Each target installs missing Debian packages first.
BUILD ?= build
SAN_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

PREFIX ?= /usr/local

.PHONY: deps configure build test test-sanitize fuzz demo screenshots install bench bench-link format clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The suite under ASan and UBSan, built with clang: so every build proves the other compiler too.
SAN_CXX ?= clang++
test-sanitize: deps
	@cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHALVEX_SANITIZE=ON -DHALVEX_BENCH=OFF \
		-DCMAKE_CXX_COMPILER=$(SAN_CXX) >/dev/null
	@cmake --build $(SAN_BUILD) -j $(JOBS)
	@cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS, built with clang and libFuzzer.
FUZZ_TARGETS = $(addprefix fuzz_,DecodeMessage PhonebookReply SmsReplies Utf8Converter RegistryText Phonesim BackupFiles)
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DHALVEX_FUZZ=ON -DHALVEX_GUI=OFF -DHALVEX_BENCH=OFF \
		-DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)
	@scripts/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The window on the built-in simulated phone (virtual time: it never waits); without a display,
# the command-line front end against the same phone.
CLI = $(BUILD)/app/cli/halvex-cli
HALVEX = $(BUILD)/app/halvex
demo: configure
	@cmake --build $(BUILD) -j $(JOBS) --target halvex halvex-cli
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		echo '$$ halvex --simulate'; $(HALVEX) --simulate; \
	else \
		echo '$$ halvex-cli --simulate --transcript phonebook list ME'; \
		$(CLI) --simulate --transcript phonebook list ME 2>&1; \
		echo; \
		echo '$$ halvex-cli --simulate --transcript sms list inbox'; \
		$(CLI) --simulate --transcript sms list inbox 2>&1; \
		echo; \
		echo 'No display here. On a desktop, "make demo" opens the window; or run'; \
		echo '  $(HALVEX) --simulate'; \
	fi

# The README's pictures: the real window drawn offscreen on the simulated phone.
screenshots: configure
	@cmake --build $(BUILD) -j $(JOBS) --target halvex
	@QT_QPA_PLATFORM=offscreen $(HALVEX) --simulate --screenshots docs
	@echo "docs/: phonebook.png inbox.png outbox.png about.png phonebook-large.png inbox-2x.png"

# The programs, the desktop entry and the icon under $(PREFIX) (and $(DESTDIR), if set).
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian packages halvex and halvex-phonesim (halvex_*.deb here; the tests are left to
# make test), and lintian, AppStream and desktop-entry checks on them.
.PHONY: deb deb-check
deb:
	@scripts/install-deps deb
	@scripts/make-deb

deb-check: deb
	@scripts/check-deb

# libgammu's headers first, so that the decode benchmark has its peer (found at configure time).
bench:
	@scripts/install-deps --bench
	@$(MAKE) --no-print-directory build
	@for b in $(BUILD)/bench/halvex_bench_*; do [ -x "$$b" ] && "$$b"; done

# Real time on a pseudo-terminal: the timed and the fast exchange against gammu (minutes).
bench-link: build
	@BUILD=$(BUILD) bench/link-timing.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)
