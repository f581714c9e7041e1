# The two set-up commands of the README: `make run` and `make test`; and
# `make bench`, which builds and runs the benchmarks (`make test` builds none).
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# What `make run` and `make test` need; `make bench` adds Google Benchmark,
# and CI (`make deps-ci`) the compilers and tools of its further checks.
# The fonts: the panels' Arial is Liberation Sans; the windows are laid out
# for DejaVu Sans as the desktop's own font (a machine whose first sans font
# is another can be a few pixels short of both exercise windows at 800 x 600).
PACKAGES := cmake g++ make ninja-build libgtest-dev nlohmann-json3-dev \
            qt6-base-dev qt6-l10n-tools qt6-svg-dev libgl-dev \
            qt6-translations-l10n fonts-liberation fonts-dejavu-core xvfb xauth \
            at-spi2-core python3-pyatspi dbus
BENCH_PACKAGES := libbenchmark-dev
CI_PACKAGES := $(BENCH_PACKAGES) clang clang-format libclang-rt-14-dev \
               dpkg-dev desktop-file-utils appstream libxml2-utils

.PHONY: all deps deps-ci deps-bench configure build run test bench translations clean

all: build

# Installs whatever Debian package is missing; quick when all are present.
define install_missing
	@missing=""; \
	for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi; \
	  $$SUDO apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

deps-ci:
	$(call install_missing,$(PACKAGES) $(CI_PACKAGES))

deps-bench:
	$(call install_missing,$(BENCH_PACKAGES))

# A new build folder is made for Ninja, which keeps both cores busy across
# the libraries and the tests; an existing one keeps the generator it has.
configure: deps
	@if [ -f $(BUILD)/CMakeCache.txt ]; then generator=""; else generator="-G Ninja"; fi; \
	cmake -S . -B $(BUILD) $$generator -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@./$(BUILD)/src/app/velmor

# Twice as many tests as cores at once: the window tests spend most of their
# time waiting on the program's own timers, not computing.
test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$$(( $(JOBS) * 2 ))

# BENCH_FLAGS go to every benchmark program (e.g. --benchmark_min_time=0).
bench: deps-bench configure
	@cmake --build $(BUILD) -j$(JOBS) --target velmor_benchmarks
	@bench/run-all $(BUILD) $(BENCH_FLAGS)

# The Spanish catalogue brought up to date with the sources' texts; CI fails
# when this would change the checked-in file.
LUPDATE ?= /usr/lib/qt6/bin/lupdate
translations: deps
	$(LUPDATE) -silent -locations none -no-obsolete src -ts translations/velmor_es.ts

clean:
	rm -rf $(BUILD) build-asan build-fuzz
