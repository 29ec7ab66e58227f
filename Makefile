# Two commands do all set-up on a fresh Debian machine: `make run` and `make test`.
.PHONY: all deps native windows test test-native test-windows bench clean

all: native windows

deps:
	@scripts/ensure-packages.sh

native: deps
	cmake --preset native
	cmake --build --preset native

windows: deps
	cmake --preset windows
	cmake --build --preset windows

test-native: native
	ctest --preset native

test-windows: windows
	scripts/with-test-env.sh ctest --preset windows

test: test-native test-windows

bench: deps
	cmake --preset bench
	cmake --build --preset bench
	scripts/run-benchmarks.sh build/bench

clean:
	rm -rf build

.PHONY: screenshots screenshots-menustyle
screenshots: screenshots-menustyle

# The menu styling's demonstration window, photographed with its menus open:
# PNG files in build/screenshots/.
screenshots-menustyle: deps
	cmake --preset windows
	cmake --build --preset windows --target vehmira_menustyle_demo
	mkdir -p build/screenshots
	scripts/with-test-env.sh wine build/windows/menustyle/vehmira_menustyle_demo.exe build/screenshots
