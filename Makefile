# Two entry points for a fresh machine: `make run` and `make test`.
# `make install PREFIX=...` and `make deb` build only what gets installed.
PRESET ?= default
JOBS   ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX ?= /usr/local

.PHONY: all deps configure build programs run install deb test asan bench clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

test: build
	@ctest --preset $(PRESET) -j $(JOBS)

programs: configure
	@cmake --build --preset $(PRESET) --target programs -j $(JOBS)

run: programs
	@scripts/run.sh build/$(PRESET)

install: programs
	@cmake --install build/$(PRESET) --prefix $(PREFIX)

deb: programs
	@cd build/$(PRESET) && cpack -G DEB

asan:
	@$(MAKE) --no-print-directory test PRESET=asan

bench: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@for b in build/release/bench/bench_*; do [ -x "$$b" ] && "$$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done
	@/usr/bin/python3 bench/whole_process.py build/release

clean:
	rm -rf build
