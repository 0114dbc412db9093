# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# The build's own progress, without make's "Entering directory" lines.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run display test bench install package clean

all: build

# The game's packages only; `make test`, `make bench` and `make package` add their own tools.
deps:
	@bash scripts/install-deps.sh game

# Warnings are errors only where the tests run (make test, and CI through it): a
# player whose newer compiler warns of something new still gets the game.
WERROR ?= OFF
TEST_WERROR ?= ON
CONFIGURE = cmake -S . -B $(BUILD_DIR) -DCMAKE_INSTALL_PREFIX=$(PREFIX)

# The game alone: no test tools are needed, none are built.
configure: deps
	@echo "Configuring $(BUILD_DIR)/ for the game"
	@$(CONFIGURE) -DTARVEX_WERROR=$(WERROR) -DTARVEX_BUILD_TESTS=OFF > /dev/null

build: configure
	@echo "Building the game (the first build takes a few minutes)"
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Without a display the game cannot show: said at once, before minutes of installing and building.
run: display
	@$(MAKE) build
	@$(BUILD_DIR)/tarvex

display:
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	  echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty): run make run on a desktop," >&2; \
	  echo "or under Xvfb: sudo apt-get install xvfb xauth, then xvfb-run -a make run" >&2; \
	  exit 1; \
	fi

# The fuzz target is built with clang in a tree of its own before the tests run it.
test:
	@bash scripts/install-deps.sh test
	@echo "Configuring $(BUILD_DIR)/ for the game and its tests"
	@$(CONFIGURE) -DTARVEX_WERROR=$(TEST_WERROR) -DTARVEX_BUILD_TESTS=ON > /dev/null
	@echo "Building the game and its tests (the first build takes several minutes)"
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	@bash tests/scripts/fuzz_build.sh $(BUILD_DIR) .
	@echo "Running the tests"
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench:
	@bash scripts/install-deps.sh bench
	@cmake -S . -B $(BUILD_DIR)-bench -DCMAKE_BUILD_TYPE=Release -DTARVEX_BUILD_BENCH=ON -DTARVEX_BUILD_TESTS=OFF -DTARVEX_BUILD_UI=OFF > /dev/null
	@echo "Building the benchmarks (Release)"
	@cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@$(BUILD_DIR)-bench/bench/tarvex_bench

install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, from a Release tree of its own laid out for /usr and built
# with Debian's hardening flags: $(BUILD_DIR)-package/tarvex_<version>_<arch>.deb.
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package:
	@bash scripts/install-deps.sh package
	@echo "Configuring and building $(BUILD_DIR)-package/ (Release, for /usr)"
	@cmake -S . -B $(BUILD_DIR)-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTARVEX_BUILD_TESTS=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)" > /dev/null
	@cmake --build $(BUILD_DIR)-package -j $(JOBS)
	@echo "Making the Debian package"
	@cd $(BUILD_DIR)-package && cpack -G DEB

clean:
	@rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench $(BUILD_DIR)-package
