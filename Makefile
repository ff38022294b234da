# The README's commands. Everything here only calls the set-up script, CMake and ctest.
BUILD ?= build
JOBS ?= 2

.PHONY: run test build setup format bench fuzz clean

run: setup build
	$(BUILD)/bin/BazaarlySearch

test: export QT_QPA_PLATFORM = offscreen
test:
	scripts/setup.sh --test
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBAZAARLY_WARNINGS_AS_ERRORS=ON
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

setup:
	scripts/setup.sh

build:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
