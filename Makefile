# The two commands of the README: `make run` and `make test`.
# Both install the Debian packages that are missing (as root, or through sudo),
# configure and build.

BUILD   ?= build
DEMO_DB ?= $(CURDIR)/demo-db
DEMO_COUNT ?= 200
JOBS    ?= $(shell nproc)

DEBS = cmake ninja-build g++ pkg-config \
       qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl1-mesa-dev \
       libsqlite3-dev sqlite3 libicu-dev pxlib-dev \
       libgtest-dev libgmock-dev libbenchmark-dev \
       xvfb xauth xdotool imagemagick fonts-liberation poppler-utils

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build test run bench demo-db clean

all: build

deps:
	@missing=$$(for p in $(DEBS); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:" $$missing; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  $(SUDO) apt-get install -y $$missing || { $(SUDO) apt-get update && $(SUDO) apt-get install -y $$missing; }; \
	fi

# ccache, when a developer has it, keeps rebuilds of several checkouts short.
CCACHE := $(shell command -v ccache 2>/dev/null)

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE))

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done

# A demo database with its own alias file, made on first use.
demo-db: build
	@if ! $(BUILD)/bin/varnel-admin describe Aktualne --db $(DEMO_DB) >/dev/null 2>&1; then \
	  VARNEL_INI=$(DEMO_DB)/varnel.ini $(BUILD)/bin/varnel-admin init $(DEMO_DB) --alias && \
	  VARNEL_INI=$(DEMO_DB)/varnel.ini $(BUILD)/bin/varnel-admin demo --count $(DEMO_COUNT) --seed 1 && \
	  VARNEL_INI=$(DEMO_DB)/varnel.ini $(BUILD)/bin/varnel-admin recalc; \
	fi

run: demo-db
	VARNEL_INI=$(DEMO_DB)/varnel.ini $(BUILD)/bin/varnel $(ARGS)

clean:
	rm -rf $(BUILD)
