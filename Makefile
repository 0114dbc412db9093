# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test bench install package clean

all: build

deps:
	@bash scripts/install-deps.sh

# Warnings are errors here (CI runs make test); packagers' builds leave them warnings.
WERROR ?= ON

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_INSTALL_PREFIX=$(PREFIX) -DTARVEX_WERROR=$(WERROR) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	  echo "No display found: start the game on a desktop, or under Xvfb with: xvfb-run -a make run"; \
	  exit 1; \
	fi
	@$(BUILD_DIR)/tarvex

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(BUILD_DIR)-bench -DCMAKE_BUILD_TYPE=Release -DTARVEX_BUILD_BENCH=ON -DTARVEX_BUILD_TESTS=OFF -DTARVEX_BUILD_UI=OFF > /dev/null
	@cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@$(BUILD_DIR)-bench/bench/tarvex_bench

install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, from a Release tree of its own laid out for /usr and built
# with Debian's hardening flags: $(BUILD_DIR)-package/tarvex_<version>_<arch>.deb.
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: deps
	@cmake -S . -B $(BUILD_DIR)-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTARVEX_BUILD_TESTS=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)" > /dev/null
	@cmake --build $(BUILD_DIR)-package -j $(JOBS)
	@cd $(BUILD_DIR)-package && cpack -G DEB

clean:
	@rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench $(BUILD_DIR)-package
