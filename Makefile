BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build test bench play clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS) -- --no-print-directory

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Starts the game from the build tree, where its sounds lie beside it.
play: build
	@$(BUILD)/quolvet

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD)
