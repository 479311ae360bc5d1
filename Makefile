# The two commands of the README: `make run` plays the game, `make test` runs
# the whole test suite. Both install whatever Debian packages are missing.
BUILD_DIR := build

.PHONY: run test build deps clean

run: build
	cd $(BUILD_DIR)/run && ../swat

test:
	./scripts/test.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	ninja -C $(BUILD_DIR)

deps:
	./scripts/install-deps.sh

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-asan $(BUILD_DIR)-fuzz
