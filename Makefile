# Two commands do all set-up on a fresh Debian machine: `make run` and `make test`.
.PHONY: all deps deps-display native windows test test-native test-windows test-dist bench fuzz clean install dist

# make install [PREFIX=/usr/local] [DESTDIR=...]: the optimised vehmira and its man page.
PREFIX ?= /usr/local

all: native windows

deps:
	@scripts/ensure-packages.sh

# Wine's own fonts, for the windows people look at: what we show looks like what players see.
deps-display:
	@scripts/ensure-packages.sh fonts-wine

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

# The Windows download, unpacked and started under Wine.
test-dist: dist
	cmake --build --preset windows --target vehmira_first_start_probe
	scripts/with-test-env.sh scripts/test-dist.sh build/windows

test: test-native test-windows test-dist

install: deps
	cmake --preset release
	cmake --build --preset release --target vehmira vehmira_man
	DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"

# dist/Vehmira-<version>-win64.zip: Vehmira.exe, vehmira-cli.exe, Vehmira.lng, README.txt, LICENSE.txt, SHA256SUMS.
dist: deps
	cmake --preset windows
	cmake --build --preset windows --target vehmira_dist

bench: deps
	cmake --preset bench
	cmake --build --preset bench
	scripts/run-benchmarks.sh build/bench

# The libFuzzer harnesses (clang), FUZZ_SECONDS (default 60) each on a copy of
# their seed corpora; fails on any finding.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzzers.sh build/fuzz

clean:
	rm -rf build dist

.PHONY: screenshots screenshots-menustyle
screenshots: screenshots-menustyle

# The menu styling's demonstration window, photographed with its menus open:
# PNG files in build/screenshots/.
screenshots-menustyle: deps deps-display
	cmake --preset windows
	cmake --build --preset windows --target vehmira_menustyle_demo
	mkdir -p build/screenshots
	scripts/with-test-env.sh wine build/windows/menustyle/vehmira_menustyle_demo.exe build/screenshots

# Vehmira.exe on the demo game: the CLI writes build/demo-game, a Settings.ini
# beside the executable points at it (only when there is none yet), and the GUI
# starts under Wine. Without a display the demo's vehicles are listed instead.
.PHONY: run screenshots-app
run: deps deps-display
	cmake --preset native
	cmake --build --preset native --target vehmira
	cmake --preset windows
	cmake --build --preset windows --target Vehmira
	build/native/cli/vehmira demo-game build/demo-game
	@if [ ! -f build/windows/gui/Settings.ini ]; then \
	  printf '[Dorvelin]\r\nPath=Z:%s\\\r\n[Vehmira]\r\nLanguage=English\r\nGXT=American.gxt\r\n' \
	    "$$(cd build/demo-game && pwd | tr / '\\')" > build/windows/gui/Settings.ini; \
	  echo "Wrote build/windows/gui/Settings.ini for build/demo-game"; fi
	@if [ -n "$${DISPLAY:-}" ]; then \
	  WINEDEBUG=-all wine build/windows/gui/Vehmira.exe; \
	else \
	  echo "No display (DISPLAY is not set), so Vehmira.exe cannot be shown."; \
	  echo "The demo game's vehicles, as the command line lists them:"; \
	  build/native/cli/vehmira --game build/demo-game list; \
	fi

# The main window with the demo game's list, the path, language and about
# dialogs, the three import dialogs, the preview window and the open "Файл" menu as PNG files in
# build/screenshots/: in Russian (plain names) and English ("-en"), each also
# laid out for 144 DPI ("-144dpi"), on a virtual screen as wide as a 144-DPI
# monitor's (the preview is then wider than 1280 pixels). Without a window
# manager Wine draws the title bars itself only when told to.
SCREENSHOT_VARIANTS = ru:96: en:96:-en ru:144:-144dpi en:144:-en-144dpi
screenshots: screenshots-app
screenshots-app: deps deps-display
	cmake --preset windows
	cmake --build --preset windows --target vehmira_screenshots
	mkdir -p build/screenshots
	rm -rf build/screenshots/work
	XVFB_SCREEN=1920x1200x24 scripts/with-test-env.sh sh -c 'wine reg add "HKCU\\Software\\Wine\\AppDefaults\\vehmira_screenshots.exe\\X11 Driver" /v Decorated /d N /f >/dev/null 2>&1; \
	  for variant in $(SCREENSHOT_VARIANTS); do \
	    language=$${variant%%:*}; rest=$${variant#*:}; \
	    wine build/windows/tests/vehmira_screenshots.exe build/screenshots "$$language" "$${rest%%:*}" || exit 1; \
	  done'
	rm -rf build/screenshots/work
