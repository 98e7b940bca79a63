# Two commands set everything up: `make run` and `make test`.
BUILD_DIR ?= build
ZELMOR_DATA ?= $(HOME)/ZelmorLog

.PHONY: all deps build run test clean

all: build

deps:
	@tools/deps.sh

$(BUILD_DIR)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR)

run: build
	@ZELMOR_DATA="$(ZELMOR_DATA)" tools/run.sh "$(BUILD_DIR)"

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j$$(nproc)

clean:
	rm -rf $(BUILD_DIR)
