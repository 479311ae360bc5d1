# The two commands of the README: `make run` plays the game, `make test` runs
# the whole test suite. Both install whatever Debian packages are missing.
# `make docs` builds the engine's reference into build/docs/html (a warning
# fails it), `make package` the Debian packages vexlo-dev and swat into build/.
BUILD_DIR := build

.PHONY: run test build docs package deps clean

run: build
	cd $(BUILD_DIR)/run && ../swat

test:
	./scripts/test.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	ninja -C $(BUILD_DIR)

docs: build
	ninja -C $(BUILD_DIR) docs

package: docs
	cd $(BUILD_DIR) && cpack -G DEB

deps:
	./scripts/install-deps.sh

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-asan $(BUILD_DIR)-fuzz
