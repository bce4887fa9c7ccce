# The two commands of the README: `make run` and `make test`. Each does the whole set-up first.
BUILD ?= build
SAN_BUILD ?= build-sanitize
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test setup build sanitize-test screenshot clean

run: build
	cd $(BUILD) && ./velinor

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

setup:
	./scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-test: setup
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELINOR_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

screenshot: build
	./scripts/screenshot.sh $(BUILD) docs/window.png

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
