# The two commands of the README: `make demo` and `make test`.
# Each installs what a fresh Debian machine lacks, configures, builds and runs.
JOBS ?= $(shell nproc)
PACKAGES := cmake g++ make pkg-config libxerces-c-dev libgtest-dev libgmock-dev libbenchmark-dev
# The reference, the packages (cpack's dependency scan runs `file`; lintian checks
# them), the manual page and the formatting check.
PACKAGES += doxygen dpkg-dev file man-db lintian clang-format
# The check's SARIF logs are validated against the schema by the corpus test.
PACKAGES += python3 python3-jsonschema gzip
# The ThreadSanitizer run of `make test` and the fuzz targets are built with clang.
CLANG_PACKAGES := clang libclang-rt-dev
DEMO_TOOL := build/release/tools/mcxml/mcxml
# The builds' own make runs inherit this: no "Entering directory" lines in the output.
MAKEFLAGS += --no-print-directory

.PHONY: all deps demo test test-debug test-asan test-tsan bench fuzz clean

all: test

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  if [ "$$(id -u)" -ne 0 ]; then echo "run as root to install:$$missing" >&2; exit 1; fi; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

demo: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target mcxml_tool
	$(DEMO_TOOL) varlist --bins examples/credit_risk.pmml
	$(DEMO_TOOL) stats examples/credit_risk.pmml
	$(DEMO_TOOL) settings-varlist examples/build_settings.pmml
	$(DEMO_TOOL) query examples/build_settings.pmml string:modelName int:depth@tree \
	  double:alpha@tree/pruning bool:useSurrogates type:splitCriterion complex:sampling \
	  array-double:priorProbabilities matrix-double:misclassificationCosts \
	  target: inputs: cat-predictors: frequency-weight:
	@# The example is broken on purpose: the check lists its planted problems and exits 1.
	$(DEMO_TOOL) check --bins --format text examples/broken_model.pmml || true

test: docs test-debug test-asan test-tsan

test-debug: deps
	cmake --preset debug
	cmake --build --preset debug -j $(JOBS)
	ctest --preset debug -j $(JOBS)

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Only the threads test and the libraries, built with clang under ThreadSanitizer.
test-tsan: deps
	@$(MAKE) --no-print-directory deps PACKAGES="$(CLANG_PACKAGES)"
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan -j $(JOBS)

# Builds the benchmarks (Release, a build folder of their own) and runs them: each
# operation beside a bare parse of the same bytes, then the ratios against their
# targets; see bench/README.md. BENCH_ARGS go to the program (--fields=N ...).
BENCH_DIR := build/bench
BENCH_ARGS ?=

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DMCXML_BUILD_BENCH=ON \
	  -DMCXML_BUILD_TESTS=OFF >/dev/null
	cmake --build $(BENCH_DIR) -j $(JOBS) --target mcxml_bench mcxml_generate
	$(BENCH_DIR)/bench/mcxml_bench $(BENCH_ARGS)

# Builds the fuzz targets with clang (a configure of fuzz/ of its own) and runs
# each for FUZZ_SECONDS; see fuzz/README.md.
FUZZ_SECONDS ?= 60

fuzz: deps
	@$(MAKE) --no-print-directory deps PACKAGES="$(CLANG_PACKAGES)"
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) fuzz/run.sh build/fuzz

# API reference and packages. `make docs` writes the reference to build/docs/html;
# any Doxygen warning (an undocumented public name above all) fails it, and
# `make test` runs it. `make package` builds the Debian packages and a tarball
# from an optimised build of its own with debugging symbols (which go to the
# -dbgsym packages), installed under /usr (cmake/packaging.cmake).
VERSION := $(shell sed -n 's/^project(mcxml VERSION \([0-9.]*\).*)$$/\1/p' CMakeLists.txt)
PACKAGE_DIR := build/package

.PHONY: docs package

docs: deps
	cmake -DMCXML_VERSION=$(VERSION) -DMCXML_VERSION_HEADER=build/docs/include/mcxml/version.h \
	  -P cmake/version_header.cmake
	MCXML_VERSION=$(VERSION) doxygen docs/Doxyfile

package: deps
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
	  -DMCXML_BUILD_TESTS=OFF >/dev/null
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack

clean:
	rm -rf build
