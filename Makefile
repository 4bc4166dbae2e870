BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build test test-long test-sanitize bench measure mutants play package clean

deps:
	@scripts/install-deps

# Every build tree is configured for /usr, as the package is: the install test packs and checks
# the tree it runs in.
configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS) -- --no-print-directory

# The fast suite: everything a change can break, in about a minute and a half. Soaks, the click
# storm and the long fuzz carry the label `long` and run under test-long.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE long
	@$(TEST_RATIO)

test-long: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -L long

# The project's ruler for the size of the tests against the code, or our copy of it.
TEST_RATIO = r=../shared/tools/test-ratio; [ -x $$r ] || r=scripts/test-ratio; $$r . || true

# The fast suite again with AddressSanitizer and UndefinedBehaviorSanitizer in a build tree of
# its own; the long runs take five times their plain length there, so the short soak stands in
# for them. The fuzz target carries its own sanitizers and the benchmarks test nothing,
# so neither is built there.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_FLAGS = -O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_INSTALL_PREFIX=/usr \
		-DQUOLVET_BUILD_BENCHMARKS=OFF -DQUOLVET_FUZZ=OFF \
		-DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
		-DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS) -- --no-print-directory
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j $(JOBS) -LE long

# Plants each fault of scripts/mutants.txt in a copy of the code and runs the fast suite on it;
# reports the faults no test noticed. Slow (a build and a suite per fault); not part of CI.
mutants: deps
	@scripts/mutants

# Starts the game from the build tree, where its sounds lie beside it.
play: build
	@$(BUILD)/quolvet

# The Debian package, from a release build of its own installed under /usr, hardened as Debian
# builds its own packages:
#   sudo apt-get install ./$(PACKAGE_BUILD)/quolvet_*.deb
PACKAGE_BUILD ?= build-pkg
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: deps
	@cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
		-DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)" >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target quolvet quolvet_sound_data quolvet_docs -- --no-print-directory
	@cd $(PACKAGE_BUILD) && cpack -G DEB
	@ls $(PACKAGE_BUILD)/quolvet_*.deb

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

# Start-up, memory, idle CPU and pacing next to a bare Qt window and two desktop games, under
# Xvfb; about 15 minutes for RUNS=10. Installs the games and strace if they are missing.
MEASURE_BUILD ?= build-measure
measure: deps
	@bench/startup/measure.sh $(MEASURE_BUILD)

clean:
	rm -rf $(BUILD)
