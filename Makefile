# Notavera — one entry point for setting up, building, running and testing.
#   make run    install what is missing, build, start the editor on the demo score
#   make test   the same set-up and build, then every test

BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
DEMO       ?= $(BUILD)/demo.mus

# The compiler cache sees paths relative to the checkout, so a clone in another folder reuses its entries.
export CCACHE_BASEDIR   := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: all deps fonts configure build run test check-core install clean

all: build

# Installs only the Debian packages that are missing, so a ready machine skips apt entirely.
deps:
	@missing=$$(grep -v '^\s*#' deps/debian-packages.txt | grep -v '^\s*$$' | while read -r p; do \
	    dpkg-query -W -f='$${Status}' "$$p" 2>/dev/null | grep -q 'install ok installed' || echo "$$p"; done); \
	command -v npm >/dev/null || missing="$$missing nodejs npm"; \
	if [ -n "$$missing" ]; then \
	    echo "Installing: $$missing"; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

fonts: node_modules/.package-lock.json

node_modules/.package-lock.json: package.json package-lock.json
	npm ci --no-audit --no-fund

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache

configure: deps fonts $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

# The demo score is made from its GUIDO text, so it always matches the current file format, then laid out by
# "Recalculer Distances" so that it opens broken and justified.
$(BUILD)/demo.mus: demo/demo.gmn demo/layout.txt | build
	$(BUILD)/bin/notavera-cli import-gmn demo/demo.gmn $@
	$(BUILD)/bin/notavera-cli script $@ demo/layout.txt

run: build $(BUILD)/demo.mus
	$(BUILD)/bin/notavera "$(DEMO)"

test: build check-core
	cd $(BUILD) && ctest --output-on-failure --parallel 2

# The core's layer libraries (src/layers.txt) must stay free of Qt and of the audio libraries.
CORE_LIBS = $(foreach layer,$(shell grep -v '^\s*\#' src/layers.txt | awk '{print $$1}'),$(BUILD)/src/libnotavera_$(layer).a)

check-core: build
	@for lib in $(CORE_LIBS); do \
	    if nm -C --undefined-only "$$lib" | grep -E ' U (Q[A-Z][A-Za-z0-9]*::|q[A-Z][A-Za-z]*\(|qt_)' | head -n 5 | grep .; then \
	        echo "$$lib links Qt"; exit 1; fi; \
	    if nm -C --undefined-only "$$lib" | grep -E ' U ((new_|delete_)?fluid_|RtMidi|snd_)' | head -n 5 | grep .; then \
	        echo "$$lib links an audio library"; exit 1; fi; \
	done
	@echo "the core libraries are free of Qt and of the audio libraries"

# Installs the programs, the user guide, the fonts, the menu entry, the icon and the file types under PREFIX
# (/usr/local unless given), e.g. make install PREFIX=~/.local
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

clean:
	rm -rf $(BUILD)
