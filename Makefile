# The two commands of the README: `make run` plays the game, `make test` runs
# the whole test suite. Both install whatever Debian packages are missing.
# `make docs` builds the engine's reference into build/docs/html (a warning
# fails it), `make package` the Debian packages vexlo-dev and swat into build/.
BUILD_DIR := build
# The browser build: the site (pages, programs, data) in build-web/, CMake's
# own files under build-web/cmake. `make web WEB_CMAKE_ARGS=...` passes more.
WEB_DIR := build-web
WEB_PORT := 8080
EMSCRIPTEN_ENV := NODE_PATH=/usr/share/nodejs

.PHONY: run test build docs package deps clean web serve-web

run: build
	cd $(BUILD_DIR)/run && ../swat

test:
	./scripts/test.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	ninja -C $(BUILD_DIR)

web: deps
	$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_DIR)/cmake -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  $(WEB_CMAKE_ARGS) >/dev/null
	$(EMSCRIPTEN_ENV) ninja -C $(WEB_DIR)/cmake

serve-web: web
	python3 scripts/serve-web.py $(WEB_DIR) --port $(WEB_PORT)
docs: build
	ninja -C $(BUILD_DIR) docs

package: docs
	cd $(BUILD_DIR) && cpack -G DEB

deps:
	./scripts/install-deps.sh

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-asan $(BUILD_DIR)-fuzz $(WEB_DIR)
