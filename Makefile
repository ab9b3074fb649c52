# make build: the shipped 32-bit launcher, build/bin/Autorun.exe
# make test:  builds and runs every test under Wine in a private X display
# make run:   shows the launcher from a sample disc in build/disc
# make disc:  the disc image build/Autorun.iso (see README for your own product)
# make bench: measures the launcher under Wine and prints a table
# make preview: the configured menu at 96, 120 and 144 DPI on one sheet, build/preview.png
# make test-fresh RELEASE=trixie: make run and make test in a fresh minimal Debian root
# Each first installs whatever is missing (scripts/setup.sh).

BUILD     := build
CONFIGURE := cmake -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-toolchain.cmake -DCMAKE_BUILD_TYPE=Release
JOBS      := $(shell nproc)

# Wine here can run 32-bit programs only where the kernel executes 32-bit code;
# elsewhere the tests and `make run` use a 64-bit build of the same sources.
# Evaluated in recipes, after setup has installed Wine.
ARCH       = $(shell scripts/host-arch)
OTHER_ARCH = $(if $(filter i686,$(ARCH)),x86_64,i686)
TEST_TREE  = $(BUILD)/test-$(ARCH)
RUN_TREE   = $(if $(filter i686,$(ARCH)),$(BUILD),$(BUILD)/x86_64)
# A 64-bit run tree shows the menu as the shipped tree is configured: its
# picture, icon and version (written there by CMakeLists.txt).
MENU_SETTINGS = $(BUILD)/menu-settings.cmake
TREES      = tree-i686 tree-x86_64

.PHONY: all setup build test-trees $(TREES) test run preview disc bench test-fresh clean
all: build

setup:
	@scripts/setup.sh

build: setup
	@[ -f $(BUILD)/CMakeCache.txt ] || $(CONFIGURE) -DAUTORUN_ARCH=i686 -DAUTORUN_BUILD_TESTS=OFF -S . -B $(BUILD) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The complete test tree, benchmarks included, for each architecture: the one
# this machine's Wine runs and the other, compiled only, so that a compile error
# in either fails here whichever machine this is. The two build side by side.
test-trees: build
	@$(MAKE) --no-print-directory -j 2 --output-sync=target $(TREES)

$(TREES): tree-%:
	@[ -f $(BUILD)/test-$*/CMakeCache.txt ] || $(CONFIGURE) -DAUTORUN_ARCH=$* \
	    -DAUTORUN_SHIPPED_EXE=$(CURDIR)/$(BUILD)/bin/Autorun.exe -S . -B $(BUILD)/test-$* >/dev/null
	@MAKEFLAGS= cmake --build $(BUILD)/test-$* -j $(JOBS)

test: test-trees
	@echo "make test: running the $(ARCH) tests under Wine; the $(OTHER_ARCH) tree was compiled only$(if $(filter i686,$(ARCH)),, (this machine cannot execute 32-bit code))"
	@scripts/with-wine-display $(TEST_TREE)/wine-prefix ctest --test-dir $(TEST_TREE) --output-on-failure

define build-run-tree
	@if [ ! -f $(RUN_TREE)/CMakeCache.txt ] || \
	    { [ $(RUN_TREE) != $(BUILD) ] && [ $(MENU_SETTINGS) -nt $(RUN_TREE)/CMakeCache.txt ]; }; then \
	    $(CONFIGURE) $(if $(filter-out $(BUILD),$(RUN_TREE)),-C $(MENU_SETTINGS)) \
	        -DAUTORUN_ARCH=$(ARCH) -DAUTORUN_BUILD_TESTS=OFF -S . -B $(RUN_TREE) >/dev/null; fi
	@cmake --build $(RUN_TREE) -j $(JOBS)
endef

run: build
	$(build-run-tree)
	@scripts/run-sample-disc $(RUN_TREE)/bin $(BUILD)

# The real launcher under Wine, in a display of its own, at each DPI; the
# pictures in build/preview/ and on the sheet build/preview.png.
preview: build
	$(build-run-tree)
	@scripts/preview $(RUN_TREE)/bin $(BUILD)

bench: build
	@$(MAKE) --no-print-directory tree-$(ARCH)
	@scripts/bench $(TEST_TREE) $(BUILD)/bin/Autorun.exe

disc: build
	@cmake --build $(BUILD) --target disc

# The README's two commands, as a new user runs them, in a minimal Debian root of
# RELEASE built from this machine's apt mirrors on a clone of the current commit.
# Needs no set-up here (it runs as root, through sudo if need be).
RELEASE ?= trixie
test-fresh:
	@scripts/test-fresh $(RELEASE)

clean:
	rm -rf $(BUILD)
