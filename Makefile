# The two commands of the README: `make run` and `make test`. Each does the whole set-up first.
BUILD ?= build
SAN_BUILD ?= build-sanitize
PACKAGE_BUILD ?= build-package
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Every hardening Debian knows, binding at start-up included.
BUILDFLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get

.PHONY: run test setup configure build sanitize-test package screenshot clean

# Only the window and its translation: the test programs are left to `make test`.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target velinor velinor_translations
	cd $(BUILD) && ./velinor

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

setup:
	./scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-test: setup
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELINOR_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	# Set, so that the rows that cap memory leave the cap to builds without AddressSanitizer.
	cd $(SAN_BUILD) && ASAN_OPTIONS=$${ASAN_OPTIONS:-halt_on_error=1} ctest --output-on-failure -j $(JOBS)

# The Debian package, velinor_<version>_<arch>.deb in $(PACKAGE_BUILD), from a release build
# installed under /usr, without the tests, hardened with Debian's build flags (read once the set-up
# has installed dpkg-dev).
package: setup
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	    -DBUILD_TESTING=OFF \
	    -DCMAKE_CXX_FLAGS="$$($(BUILDFLAGS) CPPFLAGS) $$($(BUILDFLAGS) CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$($(BUILDFLAGS) LDFLAGS)"
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

screenshot: build
	./scripts/screenshot.sh $(BUILD) docs/window.png

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(PACKAGE_BUILD)
