# SPDX-License-Identifier: GPL-3.0-or-later
# The README's commands. Everything here only calls the set-up script, CMake and ctest.
BUILD ?= build
JOBS ?= 2

.PHONY: run test test-sanitized windows test-windows build setup format bench fuzz clean

# One configuration serves running, testing and building, so that `make test` after `make run` builds nothing
# twice. CI makes warnings fail the build (WARNINGS_AS_ERRORS=ON); a user's newer compiler may warn of more, which
# must not keep the program from being built.
WARNINGS_AS_ERRORS ?= OFF
CONFIGURE = cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	-DBAZAARLY_WARNINGS_AS_ERRORS=$(WARNINGS_AS_ERRORS)

run: setup
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS) --target BazaarlySearch
	$(BUILD)/bin/BazaarlySearch

test: export QT_QPA_PLATFORM = offscreen
test:
	scripts/setup.sh --test
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitized: export QT_QPA_PLATFORM = offscreen
test-sanitized: export ASAN_OPTIONS = detect_leaks=1:abort_on_error=1
test-sanitized: export UBSAN_OPTIONS = print_stacktrace=1:halt_on_error=1
test-sanitized: export LSAN_OPTIONS = suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0
test-sanitized:
	scripts/setup.sh --test
	cmake -S . -B $(BUILD)-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DBAZAARLY_SANITIZE=ON
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	ctest --test-dir $(BUILD)-sanitize --output-on-failure -j $(JOBS)

# Every benchmark at every size, beside its baseline, in an optimised build.
bench:
	scripts/setup.sh --test
	cmake -S . -B $(BUILD)-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBAZAARLY_BUILD_TESTS=OFF
	cmake --build $(BUILD)-release -j $(JOBS) --target bazaarly_bench bazaarly_process_bench
	$(BUILD)-release/bench/bazaarly_bench
	$(BUILD)-release/bench/bazaarly_process_bench

# Each fuzz target runs for FUZZ_SECONDS; what it finds lands in $(BUILD)-fuzz/findings.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = locationline storedsearches searchaddress cursorfile
fuzz: export QT_QPA_PLATFORM = offscreen
fuzz:
	scripts/setup.sh --test
	cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DBAZAARLY_SANITIZE=ON -DBAZAARLY_FUZZ=ON -DBAZAARLY_BUILD_TESTS=OFF -DBAZAARLY_BUILD_BENCHMARKS=OFF
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	mkdir -p $(BUILD)-fuzz/findings
	for target in $(FUZZ_TARGETS); do \
		mkdir -p $(BUILD)-fuzz/corpus/$$target; \
		cp -n fuzz/seeds/$$target/* $(BUILD)-fuzz/corpus/$$target/ 2>/dev/null; \
		$(BUILD)-fuzz/fuzz/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
			-artifact_prefix=$(BUILD)-fuzz/findings/$$target- $(BUILD)-fuzz/corpus/$$target || exit 1; \
	done

# The Windows program, cross-built with MinGW-w64 against a static Qt that scripts/windows-qt.sh builds once into
# the user's cache, as a zip to unpack and run and as an installer, both with the notices of what the program
# links; beside them the program's source and the Debian source of the Qt it links. The picture generator runs
# here, so it is built for here.
WINDOWS_BUILD ?= build-windows
windows:
	scripts/setup.sh --windows
	cmake -S . -B $(WINDOWS_BUILD)/host -G Ninja -DCMAKE_BUILD_TYPE=Release -DBAZAARLY_BUILD_TESTS=OFF \
		-DBAZAARLY_BUILD_BENCHMARKS=OFF
	cmake --build $(WINDOWS_BUILD)/host -j $(JOBS) --target make_pictures
	qt=$$(JOBS=$(JOBS) scripts/windows-qt.sh) && notices=$$(scripts/windows-notices.sh) && \
	cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBAZAARLY_WARNINGS_AS_ERRORS=ON \
		--toolchain $(CURDIR)/cmake/mingw-w64-x86_64.cmake -DCMAKE_PREFIX_PATH="$$qt" \
		-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake \
		-DBAZAARLY_HOST_MAKE_PICTURES=$(CURDIR)/$(WINDOWS_BUILD)/host/make_pictures -DBAZAARLY_BUILD_BENCHMARKS=OFF \
		-DBAZAARLY_WINDOWS_NOTICES="$$notices/notices" && \
	mkdir -p $(WINDOWS_BUILD)/qt-source && cp -u "$$notices"/qt-source/* $(WINDOWS_BUILD)/qt-source/
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target all source_archive
	cd $(WINDOWS_BUILD) && cpack -G "ZIP;NSIS"

# Every test that applies to Windows under Wine, and the program driven through Wine's own windows. A test that
# fails for Wine's sake gets a second try; a fault of ours fails both. No Wine process outlives the run.
test-windows: windows
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j $(JOBS) --repeat until-pass:3; \
	passed=$$?; WINEPREFIX=$(CURDIR)/$(WINDOWS_BUILD)/wine wineserver --kill 2>/dev/null; exit $$passed

setup:
	scripts/setup.sh

build:
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
