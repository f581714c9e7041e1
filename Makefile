# The two set-up commands of the README: `make run` and `make test`; and
# `make bench`, which builds and runs the benchmarks (`make test` builds none).
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake g++ make libgtest-dev libbenchmark-dev nlohmann-json3-dev clang clang-format libclang-rt-14-dev \
            qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-svg-dev libgl-dev \
            qt6-translations-l10n fonts-liberation xvfb xauth \
            dpkg-dev desktop-file-utils appstream libxml2-utils \
            at-spi2-core python3-pyatspi dbus openbox

.PHONY: all deps configure build run test bench translations clean

all: build

# Installs whatever Debian package is missing; quick when all are present.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi; \
	  $$SUDO apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@./$(BUILD)/src/app/velmor

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# BENCH_FLAGS go to every benchmark program (e.g. --benchmark_min_time=0).
bench: configure
	@cmake --build $(BUILD) -j$(JOBS) --target velmor_benchmarks
	@bench/run-all $(BUILD) $(BENCH_FLAGS)

# The Spanish catalogue brought up to date with the sources' texts; CI fails
# when this would change the checked-in file.
LUPDATE ?= /usr/lib/qt6/bin/lupdate
translations: deps
	$(LUPDATE) -silent -locations none -no-obsolete src -ts translations/velmor_es.ts

clean:
	rm -rf $(BUILD) build-asan build-fuzz
