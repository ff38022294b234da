# SPDX-License-Identifier: GPL-3.0-or-later
# The README's commands. Everything here only calls the set-up script, CMake and ctest; each configuration is
# a preset of CMakePresets.json, with its build folder.
JOBS ?= 2

.PHONY: run test test-sanitized windows test-windows build setup format bench fuzz clean

# One configuration serves running, testing and building, so that `make test` after `make run` builds nothing
# twice. CI makes warnings fail the build (WARNINGS_AS_ERRORS=ON); a user's newer compiler may warn of more, which
# must not keep the program from being built.
WARNINGS_AS_ERRORS ?= OFF
PRESET = $(if $(filter ON,$(WARNINGS_AS_ERRORS)),ci,default)

# Without a display the program could not open its window: say so before installing or building anything.
run:
	@[ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] || { echo "make run: there is no graphical display (DISPLAY and" \
		"WAYLAND_DISPLAY are unset); run it on a desktop, or use a virtual one: xvfb-run make run" >&2; exit 1; }
	scripts/setup.sh
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) -j $(JOBS) --target BazaarlySearch
	build/bin/BazaarlySearch

test:
	scripts/setup.sh --test
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) -j $(JOBS)
	ctest --preset $(PRESET) -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitized:
	scripts/setup.sh --test
	cmake --preset sanitize
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

# Every benchmark at every size, beside its baseline, in an optimised build.
bench:
	scripts/setup.sh --test
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target bazaarly_bench bazaarly_process_bench
	build-release/bench/bazaarly_bench
	build-release/bench/bazaarly_process_bench

# Each fuzz target runs for FUZZ_SECONDS; what it finds lands in build-fuzz/findings.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = locationline storedsearches searchaddress cursorfile settingsfile
fuzz: export QT_QPA_PLATFORM = offscreen
fuzz:
	scripts/setup.sh --test
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	mkdir -p build-fuzz/findings
	for target in $(FUZZ_TARGETS); do \
		mkdir -p build-fuzz/corpus/$$target; \
		cp -n fuzz/seeds/$$target/* build-fuzz/corpus/$$target/ 2>/dev/null; \
		build-fuzz/fuzz/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
			-artifact_prefix=build-fuzz/findings/$$target- build-fuzz/corpus/$$target || exit 1; \
	done

# The Windows program, cross-built with MinGW-w64 against a static Qt that scripts/windows-qt.sh builds once into
# the user's cache, as a zip to unpack and run and as an installer, both with the notices of what the program
# links; beside them the program's source and the Debian source of the Qt it links. The picture generator runs
# here, so it is built for here.
windows:
	scripts/setup.sh --windows
	cmake --preset windows-host
	cmake --build --preset windows-host -j $(JOBS) --target make_pictures
	qt=$$(JOBS=$(JOBS) scripts/windows-qt.sh) && notices=$$(scripts/windows-notices.sh) && \
	cmake --preset windows -DCMAKE_PREFIX_PATH="$$qt" \
		-DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake \
		-DBAZAARLY_WINDOWS_NOTICES="$$notices/notices" && \
	mkdir -p build-windows/qt-source && cp -u "$$notices"/qt-source/* build-windows/qt-source/
	cmake --build --preset windows -j $(JOBS) --target all source_archive
	cd build-windows && cpack -G "ZIP;NSIS"

# Every test that applies to Windows under Wine, and the program driven through Wine's own windows, each tried
# once: a test that passes only on a second try has found a fault. No Wine process outlives the run.
test-windows: windows
	ctest --preset windows -j $(JOBS); \
	passed=$$?; WINEPREFIX=$(CURDIR)/build-windows/wine wineserver --kill 2>/dev/null; exit $$passed

setup:
	scripts/setup.sh

build:
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) -j $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
